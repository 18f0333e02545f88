// A command-line run's streams on POSIX systems: its arguments, standard output and error
// written whole, the files behind them, and the spill file that holds bytes for a pipe until
// what must come before them is known.

#include "system/Platform.h"
#include "system/PlatformPosixDetail.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace rw {

using namespace posix;

SpillFile::SpillFile()
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error) {
        m_error = error;
        return;
    }
    int fd = -1;
#ifdef O_TMPFILE
    fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
#endif
    if (fd < 0) {
        // A system or file system without nameless files: a named one, its name gone at once.
        std::string name = (folder / ".recwright-spill.XXXXXX").string();
        fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) {
            m_error = LastError();
            return;
        }
        ::unlink(name.c_str());
    }
    m_handle = fd;
}

SpillFile::~SpillFile() { Close(m_handle); }

bool SpillFile::Write(std::span<const std::uint8_t> bytes)
{
    if (m_error) return false;
    if (!WriteAllAt(Fd(m_handle), reinterpret_cast<const char*>(bytes.data()), bytes.size(), static_cast<off_t>(m_size))) {
        m_error = LastError();
        return false;
    }
    m_size += bytes.size();
    return true;
}

std::optional<std::size_t> SpillFile::ReadAt(std::span<std::uint8_t> into, std::uint64_t offset)
{
    if (m_error) return std::nullopt;
    const long long got = ReadAllAt(Fd(m_handle), reinterpret_cast<char*>(into.data()), into.size(), static_cast<off_t>(offset));
    if (got < 0) {
        m_error = LastError();
        return std::nullopt;
    }
    return static_cast<std::size_t>(got);
}

std::vector<std::string> CommandLineArguments(int argc, char** argv)
{
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

std::error_code WriteAll(StandardStream stream, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t put = ::write(static_cast<int>(stream), text.data(), text.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            return LastError();
        }
        text.remove_prefix(static_cast<std::size_t>(put));
    }
    return {};
}

std::optional<FileStamp> StampOf(StandardStream stream)
{
    struct stat st {};
    if (::fstat(static_cast<int>(stream), &st) != 0) return std::nullopt;
    return StampFrom(st);
}

void KeepStandardStreamsTaken()
{
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
        // The lowest free number: this one, since those below it are open by now.
        const int placeholder = ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (placeholder >= 0 && placeholder != fd) {
            ::dup2(placeholder, fd);
            ::close(placeholder);
        }
    }
}

} // namespace rw
