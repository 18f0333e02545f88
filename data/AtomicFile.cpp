#include "data/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace rw {
namespace {

// The file a write should replace: a link is followed, so the link itself stays.
[[nodiscard]] std::filesystem::path ResolveTarget(const std::filesystem::path& path)
{
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        auto resolved = std::filesystem::weakly_canonical(path, ec);
        if (!ec) return resolved;
    }
    return path;
}

// A replaced file keeps its permissions; a new one gets what the umask allows.
[[nodiscard]] mode_t NewFileMode(const std::filesystem::path& target)
{
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

AtomicFile::AtomicFile(const std::filesystem::path& target) : m_target(ResolveTarget(target))
{
    // A device or a pipe (/dev/null, /dev/stdout, a FIFO) is written into as it is: renaming
    // a file over it would put a plain file in its place.
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
        m_target = target;
        m_fd = UniqueFd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
        if (!m_fd.Valid()) m_error = std::generic_category().message(errno);
        return;
    }
    const std::filesystem::path folder = m_target.has_parent_path() ? m_target.parent_path() : ".";
    m_temp = (folder / ("." + m_target.filename().string() + ".XXXXXX")).string();
    m_fd = UniqueFd(::mkstemp(m_temp.data()));
    if (!m_fd.Valid()) {
        m_error = std::generic_category().message(errno);
        m_temp.clear();
        return;
    }
    if (::fchmod(m_fd.Get(), NewFileMode(m_target)) != 0) Fail(errno);
}

AtomicFile::~AtomicFile()
{
    m_fd.Close();
    if (!m_committed && !m_temp.empty()) ::unlink(m_temp.c_str());
}

bool AtomicFile::Fail(int err)
{
    if (m_error.empty()) m_error = std::generic_category().message(err);
    return false;
}

bool AtomicFile::Write(std::span<const std::uint8_t> bytes)
{
    if (!Ok()) return false;
    const std::uint8_t* data = bytes.data();
    std::size_t n = bytes.size();
    while (n > 0) {
        const ssize_t put = ::write(m_fd.Get(), data, n);
        if (put < 0) {
            if (errno == EINTR) continue;
            return Fail(errno);
        }
        data += put;
        n -= static_cast<std::size_t>(put);
    }
    return true;
}

bool AtomicFile::Write(std::string_view text)
{
    return Write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

bool AtomicFile::Commit(Sync sync)
{
    if (!Ok()) return false;
    if (m_temp.empty()) { // written in place
        m_committed = true;
        return m_fd.Close() || Fail(errno);
    }
    if (sync == Sync::ToDisk && ::fsync(m_fd.Get()) != 0) return Fail(errno);
    if (!m_fd.Close()) return Fail(errno);
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) return Fail(errno);
    m_committed = true;
    return true;
}

} // namespace rw
