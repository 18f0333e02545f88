// Files replaced whole or not at all on POSIX systems, the scratch files beside them, and the
// signals that remove their temporary files before the program ends.

#include "system/Platform.h"
#include "system/PlatformPosixDetail.h"
#include "system/TemporaryFiles.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <new>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace rw {

using namespace posix;

namespace {

platform_detail::TemporaryFiles<char, PATH_MAX> g_temps;

[[nodiscard]] int RegisterTemp(const std::string& path) { return g_temps.Register(path); }
void ReleaseTemp(int& slot) { g_temps.Release(slot); }

// A file with other hard links is rewritten in place, and while that copy runs it holds part
// of the old bytes and part of the new. A signal that would end the program meanwhile is held
// until the copy is done (or the old bytes are back) and acted on then, so that the file is
// whole either way. Blocking the signals would not do that: a signal sent to the process goes
// to any thread that does not block it, and other threads' masks are not this code's to set.
// A flag that the handler reads does, whichever thread takes the signal. (Writing the new
// bytes to a temporary file and copying them over afterwards would leave the same moment of
// a half-copied file, just later.) The wait is that of one copy: seconds for the largest table.
std::atomic<int> g_copiesInPlace{0};
std::atomic<int> g_heldSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

void RemoveTemporariesAndEndBy(int signal)
{
    g_temps.RemoveAll([](const char* name) { ::unlink(name); });
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

extern "C" void RemoveTemporariesAndEnd(int signal)
{
    if (g_copiesInPlace.load() > 0) {
        g_heldSignal.store(signal);
        // The copy may have ended in between without seeing the signal: then it is ours.
        if (g_copiesInPlace.load() > 0 || g_heldSignal.exchange(0) == 0) return;
    }
    RemoveTemporariesAndEndBy(signal);
}

// While one lives, the signals that end the program wait; the last to go acts on one that came.
class EndingsHeld {
public:
    EndingsHeld() { g_copiesInPlace.fetch_add(1); }
    EndingsHeld(const EndingsHeld&) = delete;
    EndingsHeld& operator=(const EndingsHeld&) = delete;
    ~EndingsHeld()
    {
        if (g_copiesInPlace.fetch_sub(1) != 1) return;
        if (const int signal = g_heldSignal.exchange(0); signal != 0) RemoveTemporariesAndEndBy(signal);
    }
};

// Where a write to path should put its bytes: symbolic links are followed to the file they
// name, which need not exist yet, so that the link itself stays.
[[nodiscard]] std::error_code ResolveLinks(std::filesystem::path& path)
{
    constexpr int kMaxHops = 40; // as the kernel allows
    std::array<char, PATH_MAX> link{};
    for (int hop = 0; hop < kMaxHops; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return {};
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n < 0) return LastError();
        if (static_cast<std::size_t>(n) == link.size()) return ErrorOf(ENAMETOOLONG);
        const std::filesystem::path to(std::string(link.data(), static_cast<std::size_t>(n)));
        path = to.is_absolute() ? to : path.parent_path() / to;
    }
    return ErrorOf(ELOOP);
}

// "." + name + ".XXXXXX" in the target's folder, the name shortened (at a character boundary)
// where the whole would be longer than the folder allows.
[[nodiscard]] std::string TempNameFor(const std::filesystem::path& target)
{
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    long nameMax = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (nameMax <= 0) nameMax = 255;
    constexpr std::string_view kSuffix = ".XXXXXX";
    std::string name = target.filename().string();
    const std::size_t room = static_cast<std::size_t>(nameMax) - 1 - kSuffix.size();
    if (name.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
        name.resize(cut);
    }
    return (folder / ("." + name + std::string(kSuffix))).string();
}

[[nodiscard]] mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// So that a renamed file's new name survives a power cut as well as its bytes.
void SyncFolderOf(const std::filesystem::path& file)
{
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

} // namespace

AtomicFile::AtomicFile(const std::filesystem::path& target, Placement placement)
    : m_target(target), m_placement(placement)
{
    // stat follows the links, so this is already what they lead to. The name itself is
    // neither followed nor opened: a new file takes it at Commit, as rename puts it there.
    struct stat st {};
    const bool exists = placement == Placement::FollowLinks && ::stat(m_target.c_str(), &st) == 0;
    // A device or a pipe (/dev/null, /dev/stdout, a FIFO) is written into as it is: renaming
    // a file over it would put a plain file in its place. It is opened by the name given,
    // since the link behind /dev/stdout names a pipe by no path ("pipe:[...]").
    if (exists && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
        m_mode = Mode::Direct;
        m_handle = ::open(m_target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (m_handle < 0) Fail(errno);
        return;
    }
    if (const std::error_code error = placement == Placement::FollowLinks ? ResolveLinks(m_target) : std::error_code()) {
        Fail(error);
        return;
    }
    // Renaming over a file with other hard links would part it from them.
    if (exists && S_ISREG(st.st_mode) && st.st_nlink > 1) m_mode = Mode::InPlace;

    m_temp = TempNameFor(m_target);
    m_handle = ::mkostemp(m_temp.data(), O_CLOEXEC);
    if (m_handle < 0) {
        Fail(errno);
        m_temp.clear();
        return;
    }
    m_tempSlot = RegisterTemp(m_temp);
    if (m_mode != Mode::Replace) return;
    mode_t mode = NewFileMode();
    if (exists && S_ISREG(st.st_mode)) {
        // The owner first: changing it may clear set-user-ID bits that the mode then restores.
        // Only root may give a file away; anyone may keep the group if they belong to it.
        if (::fchown(Fd(m_handle), st.st_uid, st.st_gid) != 0) (void)::fchown(Fd(m_handle), static_cast<uid_t>(-1), st.st_gid);
        mode = st.st_mode & 07777;
    }
    if (::fchmod(Fd(m_handle), mode) != 0) Fail(errno);
}

AtomicFile::~AtomicFile()
{
    Close(m_handle);
    if (!m_temp.empty()) ::unlink(m_temp.c_str());
    ReleaseTemp(m_tempSlot);
}

bool AtomicFile::Fail(int err) { return Fail(ErrorOf(err)); }

bool AtomicFile::SetPermissions(std::uint32_t permissions)
{
    if (!Ok()) return false;
    // Only a new file takes the target's place; one written into keeps its own.
    if (m_mode != Mode::Replace) return true;
    return ::fchmod(Fd(m_handle), static_cast<mode_t>(permissions & 07777)) == 0 || Fail(errno);
}

bool AtomicFile::Flush()
{
    if (!Ok()) return false;
    if (m_mode == Mode::Direct || m_flushed) return true;
    if (::fsync(Fd(m_handle)) != 0) return Fail(errno);
    m_flushed = true;
    return true;
}

bool AtomicFile::Write(std::span<const std::uint8_t> bytes)
{
    if (!Ok()) return false;
    m_flushed = false;
    const auto* data = reinterpret_cast<const char*>(bytes.data());
    std::size_t n = bytes.size();
    while (n > 0) {
        const ssize_t put = ::write(Fd(m_handle), data, n);
        if (put < 0) {
            if (errno == EINTR) continue;
            return Fail(errno);
        }
        data += put;
        n -= static_cast<std::size_t>(put);
        m_written += static_cast<std::uint64_t>(put);
    }
#ifdef SYNC_FILE_RANGE_WRITE
    // The disk starts on what is written while the rest is made, so that the flush before
    // the file takes the target's place has little left to wait for.
    constexpr std::uint64_t kSendBytes = std::uint64_t{16} << 20;
    if (m_mode != Mode::Direct && m_written - m_sentToDisk >= kSendBytes) {
        (void)::sync_file_range(Fd(m_handle), static_cast<off_t>(m_sentToDisk), static_cast<off_t>(m_written - m_sentToDisk),
                                SYNC_FILE_RANGE_WRITE);
        m_sentToDisk = m_written;
    }
#endif
    return true;
}

bool AtomicFile::Rewrite(std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    if (!Ok()) return false;
    if (!CanRewrite()) return Fail(ESPIPE);
    m_flushed = false;
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t put = ::pwrite(Fd(m_handle), bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (put < 0) {
            if (errno == EINTR) continue;
            return Fail(errno);
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

bool AtomicFile::Commit(Sync sync)
{
    if (!Ok() || m_committed) return false;
    switch (m_mode) {
    case Mode::Direct: {
        const int fd = Fd(std::exchange(m_handle, -1));
        m_committed = true;
        return ::close(fd) == 0 || Fail(errno);
    }
    case Mode::Replace: {
        if (sync == Sync::ToDisk && !Flush()) return false;
        const int fd = Fd(std::exchange(m_handle, -1));
        if (::close(fd) != 0) return Fail(errno);
        if (::rename(m_temp.c_str(), m_target.c_str()) != 0) return Fail(errno);
        m_temp.clear();
        ReleaseTemp(m_tempSlot);
        m_committed = true;
        if (sync == Sync::ToDisk) SyncFolderOf(m_target);
        return true;
    }
    case Mode::InPlace:
        // Always flushed: while the target is rewritten, the temporary file is the one whole
        // copy of the new bytes.
        if (!Flush()) return false;
        if (!CopyIntoTarget()) return false;
        m_committed = true;
        return true;
    }
    return false;
}

bool AtomicFile::CopyIntoTarget()
{
    // From before the first byte is written until the file is whole again, new or old.
    const EndingsHeld held;
    const int target = ::open(m_target.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (target < 0) return Fail(errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{target};

    struct stat oldStat {};
    struct stat newStat {};
    if (::fstat(target, &oldStat) != 0 || ::fstat(Fd(m_handle), &newStat) != 0) return Fail(errno);
    // The old bytes are held so that a failure part way can put them back.
    std::vector<char> old;
    try {
        old.resize(static_cast<std::size_t>(oldStat.st_size));
    } catch (const std::bad_alloc&) {
        return Fail(ENOMEM);
    }
    if (ReadAllAt(target, old.data(), old.size(), 0) != static_cast<long long>(old.size())) {
        return Fail(errno ? errno : EIO);
    }

    int err = 0;
    // With the space reserved first, the copy cannot run out of it part way.
    if (newStat.st_size > oldStat.st_size) {
        const int reserved = ::posix_fallocate(target, 0, newStat.st_size);
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) err = reserved;
    }
    std::vector<char> chunk(std::size_t{1} << 20);
    for (off_t at = 0; err == 0 && at < newStat.st_size;) {
        const long long got = ReadAllAt(Fd(m_handle), chunk.data(), chunk.size(), at);
        if (got <= 0) {
            err = got < 0 ? errno : EIO;
        } else if (!WriteAllAt(target, chunk.data(), static_cast<std::size_t>(got), at)) {
            err = errno;
        }
        at += got > 0 ? static_cast<off_t>(got) : 0;
    }
    if (err == 0 && (::ftruncate(target, newStat.st_size) != 0 || ::fsync(target) != 0)) err = errno;
    if (err == 0) return true;

    const bool restored = WriteAllAt(target, old.data(), old.size(), 0) &&
                          ::ftruncate(target, static_cast<off_t>(old.size())) == 0 && ::fsync(target) == 0;
    // Should even that fail, the new bytes stay in the temporary file rather than be lost too.
    if (!restored) {
        m_temp.clear();
        ReleaseTemp(m_tempSlot);
    }
    return Fail(err);
}

// --- ScratchFile ---

ScratchFile::ScratchFile(const std::filesystem::path& besides) : m_path(TempNameFor(besides))
{
    const int fd = ::mkostemp(m_path.data(), O_CLOEXEC);
    if (fd < 0) {
        m_error = LastError();
        m_path.clear();
        return;
    }
    ::close(fd);
    m_tempSlot = RegisterTemp(m_path);
}

ScratchFile::~ScratchFile()
{
    if (!m_path.empty()) ::unlink(m_path.c_str());
    ReleaseTemp(m_tempSlot);
}

void RemoveTemporaryFilesOnSignals()
{
    struct sigaction action {};
    action.sa_handler = RemoveTemporariesAndEnd;
    // A signal held while a file is copied in place returns from the handler: what it broke
    // into goes on.
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    // A reader that went away (warnings piped into head) ends the program as it always did.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) ::sigaction(signal, &action, nullptr);
    // A write past the file size limit fails instead of ending the program: the failure then
    // says why and removes the temporary file, as any other does, and the editor keeps its
    // unsaved table.
    ::signal(SIGXFSZ, SIG_IGN);
}

} // namespace rw
