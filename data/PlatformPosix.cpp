// The platform layer on Linux and the other POSIX systems.

#include "data/Platform.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <new>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace rw {
namespace {

[[nodiscard]] std::error_code ErrorOf(int err) { return {err, std::generic_category()}; }
[[nodiscard]] std::error_code LastError() { return ErrorOf(errno); }

[[nodiscard]] FileStamp StampFrom(const struct stat& st)
{
    FileStamp stamp;
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    stamp.size = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
    stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    stamp.permissions = static_cast<std::uint32_t>(st.st_mode & 07777);
    return stamp;
}

[[nodiscard]] int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

void Close(std::intptr_t& handle)
{
    if (handle >= 0) ::close(Fd(std::exchange(handle, -1)));
}

// All of bytes at offset; false with errno set.
[[nodiscard]] bool WriteAllAt(int fd, const char* bytes, std::size_t n, off_t offset)
{
    while (n > 0) {
        const ssize_t put = ::pwrite(fd, bytes, n, offset);
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += put;
        n -= static_cast<std::size_t>(put);
        offset += put;
    }
    return true;
}

// Up to n bytes at offset, fewer only at the end; -1 with errno set.
[[nodiscard]] long long ReadAllAt(int fd, char* into, std::size_t n, off_t offset)
{
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(fd, into + done, n - done, offset + static_cast<off_t>(done));
        if (got < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<long long>(done);
}

// The temporary files alive now, for the signal handlers. Fixed storage and lock-free flags:
// a handler may only touch what needs no allocation and no lock.
struct TempSlot {
    std::atomic<bool> taken{false};
    std::atomic<bool> live{false};
    std::array<char, PATH_MAX> path{};
};
std::array<TempSlot, 16> g_temps;
static_assert(std::atomic<bool>::is_always_lock_free);

[[nodiscard]] int RegisterTemp(const std::string& path)
{
    if (path.size() >= PATH_MAX) return -1;
    for (std::size_t i = 0; i < g_temps.size(); ++i) {
        bool expected = false;
        if (!g_temps[i].taken.compare_exchange_strong(expected, true)) continue;
        std::memcpy(g_temps[i].path.data(), path.c_str(), path.size() + 1);
        g_temps[i].live.store(true, std::memory_order_release);
        return static_cast<int>(i);
    }
    return -1;
}

void ReleaseTemp(int& slot)
{
    if (slot < 0) return;
    TempSlot& temp = g_temps[static_cast<std::size_t>(std::exchange(slot, -1))];
    temp.live.store(false, std::memory_order_release);
    temp.taken.store(false, std::memory_order_release);
}

extern "C" void RemoveTemporariesAndEnd(int signal)
{
    for (TempSlot& temp : g_temps) {
        if (temp.live.load(std::memory_order_acquire)) ::unlink(temp.path.data());
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

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

std::optional<FileStamp> StampOf(const std::filesystem::path& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return StampFrom(st);
}

std::uint64_t MemoryLimit()
{
    // What the machine can give without pushing others out: Linux says so in MemAvailable;
    // elsewhere the whole of its memory is the best guess.
    std::uint64_t limit = std::numeric_limits<std::uint64_t>::max();
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0) limit = static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
    std::ifstream meminfo("/proc/meminfo");
    for (std::string key; meminfo >> key;) {
        std::uint64_t kib = 0;
        if (key == "MemAvailable:" && meminfo >> kib) {
            limit = std::min(limit, kib * 1024);
            break;
        }
        meminfo.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    for (const int resource : {RLIMIT_AS, RLIMIT_DATA}) {
        rlimit r{};
        if (::getrlimit(resource, &r) == 0 && r.rlim_cur != RLIM_INFINITY) {
            limit = std::min<std::uint64_t>(limit, r.rlim_cur);
        }
    }
    return limit;
}

namespace {

constexpr std::size_t kLargePageBytes = std::size_t{2} << 20;

[[nodiscard]] std::size_t WholePages(std::size_t bytes)
{
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}

// From this size on, a block's pages are got by two threads at once.
constexpr std::size_t kPopulateInHalvesBytes = std::size_t{8} << 20;

// Fresh memory can cost far more than clearing it: a virtual machine's host may back a page
// only when the guest first touches it (about 2 ms per large page here, against 0.1 ms for
// memory used a moment before). The pages of a block, which is filled whole anyway, are all
// asked for at once, by two threads for a big one, rather than one fault at a time as the
// program first writes them; so that cost is shared between two cores.
void Populate(void* start, std::size_t length)
{
#ifdef MADV_POPULATE_WRITE
    const auto populate = [](void* from, std::size_t size) { (void)::madvise(from, size, MADV_POPULATE_WRITE); };
    if (length >= kPopulateInHalvesBytes) {
        const std::size_t half = length / 2 / kLargePageBytes * kLargePageBytes;
        try {
            std::thread other(populate, static_cast<char*>(start) + half, length - half);
            populate(start, half);
            other.join();
            return;
        } catch (const std::system_error&) {
            // No thread to be had: the pages are got by this one.
        }
    }
    populate(start, length);
#else
    (void)start;
    (void)length;
#endif
}

} // namespace

void* AllocatePages(std::size_t bytes)
{
    const std::size_t length = WholePages(bytes);
    if (bytes == 0 || length < bytes || length + kLargePageBytes < length) return nullptr;
    // Only a stretch that starts on a large page's boundary can be backed by one, and the
    // system need not place a mapping there: so one large page more is mapped, and what lies
    // outside the aligned stretch is given back.
    void* mapped = ::mmap(nullptr, length + kLargePageBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kLargePageBytes - 1) & ~std::uintptr_t{kLargePageBytes - 1};
    const std::uintptr_t end = start + length + kLargePageBytes;
    if (aligned > start) ::munmap(mapped, aligned - start);
    if (end > aligned + length) ::munmap(reinterpret_cast<void*>(aligned + length), end - (aligned + length));
#ifdef MADV_HUGEPAGE
    // Advice: a system without large pages, or with them switched off, goes on with small ones.
    (void)::madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
#endif
    Populate(reinterpret_cast<void*>(aligned), length);
    return reinterpret_cast<void*>(aligned);
}

void FreePages(void* pages, std::size_t bytes)
{
    if (pages != nullptr) ::munmap(pages, WholePages(bytes));
}

std::string SystemText(const std::error_code& error) { return error ? error.message() : std::string(); }

std::optional<ErrorKind> platform_detail::KindOfSystemError(const std::error_code& error)
{
    // Out of the user's share of the disk: full, as far as this user can tell. The other
    // numbers compare equal to the portable codes here.
    const bool errnoValue = error.category() == std::system_category() || error.category() == std::generic_category();
    if (errnoValue && error.value() == EDQUOT) return ErrorKind::DiskFull;
    return std::nullopt;
}

NameStatus LookAtName(const std::filesystem::path& path)
{
    NameStatus status;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) status.error = LastError();
        return status;
    }
    status.ours = st.st_uid == ::geteuid() || ::geteuid() == 0;
    if (S_ISREG(st.st_mode)) status.entry = NameEntry::RegularFile;
    else if (S_ISLNK(st.st_mode)) status.entry = NameEntry::SymbolicLink;
    else if (S_ISDIR(st.st_mode)) status.entry = NameEntry::Folder;
    else if (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) status.entry = NameEntry::PipeOrDevice;
    else status.entry = NameEntry::Other;
    return status;
}

// --- InputFile ---

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

// --- AtomicFile ---

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

bool AtomicFile::Write(std::span<const std::uint8_t> bytes)
{
    if (!Ok()) return false;
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
        if (sync == Sync::ToDisk && ::fsync(Fd(m_handle)) != 0) return Fail(errno);
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
        if (::fsync(Fd(m_handle)) != 0) return Fail(errno);
        if (!CopyIntoTarget()) return false;
        m_committed = true;
        return true;
    }
    return false;
}

bool AtomicFile::CopyIntoTarget()
{
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

// --- SpillFile ---

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

void RemoveTemporaryFilesOnSignals()
{
    struct sigaction action {};
    action.sa_handler = RemoveTemporariesAndEnd;
    sigemptyset(&action.sa_mask);
    // A reader that went away (warnings piped into head) ends the program as it always did.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) ::sigaction(signal, &action, nullptr);
    // A write past the file size limit fails instead of ending the program: the failure then
    // says why and removes the temporary file, as any other does, and the editor keeps its
    // unsaved table.
    ::signal(SIGXFSZ, SIG_IGN);
}

// --- Names, the command line and the standard streams ---

std::filesystem::path PathFromUtf8(std::string_view utf8) { return std::filesystem::path(std::string(utf8)); }

std::string Utf8FromPath(const std::filesystem::path& path) { return path.native(); }

std::string NameForNarrowCalls(const std::string& utf8) { return utf8; }

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
