// The platform layer on Linux and the other POSIX systems: a file's stamp, what stands under a
// name, memory and its pages, the system's errors, and names. Files read, files replaced and
// the standard streams have files of their own.

#include "system/Platform.h"
#include "system/PlatformPosixDetail.h"

#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <limits>
#include <system_error>
#include <thread>

namespace rw {

using namespace posix;

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

std::filesystem::path PathFromUtf8(std::string_view utf8) { return std::filesystem::path(std::string(utf8)); }

std::string Utf8FromPath(const std::filesystem::path& path) { return path.native(); }

std::string NameForNarrowCalls(const std::string& utf8) { return utf8; }

} // namespace rw
