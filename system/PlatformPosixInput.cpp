// Files read on POSIX systems: opened without ever waiting on a pipe or a device.

#include "system/Platform.h"
#include "system/PlatformPosixDetail.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace rw {

using namespace posix;

InputFile::InputFile(const std::filesystem::path& path, Accept accept)
{
    // Non-blocking, so that naming a pipe without a writer cannot hang the program in open().
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        m_error = LastError();
        return;
    }
    m_handle = fd;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        m_error = LastError();
        Close(m_handle);
        return;
    }
    m_stamp = StampFrom(st);
    if (!S_ISREG(st.st_mode)) {
        if (accept == Accept::RegularFile || S_ISDIR(st.st_mode)) {
            m_status = Status::NotRegular;
            Close(m_handle);
            return;
        }
        // A stream is read as one: a read waits for the writer.
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0) (void)::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    m_status = Status::Open;
}

InputFile InputFile::StandardInput()
{
    InputFile in;
    const int fd = ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0);
    if (fd < 0) {
        in.m_error = LastError();
        return in;
    }
    in.m_handle = fd;
    struct stat st {};
    if (::fstat(fd, &st) == 0) in.m_stamp = StampFrom(st);
    in.m_status = Status::Open;
    return in;
}

InputFile::~InputFile() { Close(m_handle); }

std::optional<std::size_t> InputFile::ReadAt(std::span<std::uint8_t> into, std::uint64_t offset)
{
    const long long got = ReadAllAt(Fd(m_handle), reinterpret_cast<char*>(into.data()), into.size(),
                                    static_cast<off_t>(offset));
    if (got < 0) {
        m_error = LastError();
        return std::nullopt;
    }
    return static_cast<std::size_t>(got);
}

std::optional<std::size_t> InputFile::Read(std::span<char> into)
{
    for (;;) {
        const ssize_t got = ::read(Fd(m_handle), into.data(), into.size());
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno == EINTR) continue;
        m_error = LastError();
        return std::nullopt;
    }
}

} // namespace rw
