// The platform layer on Windows. Names go to the system as wide strings, so that a Chinese
// folder or file name works whatever the code page; files are opened with share modes that
// let other programs read (and replace) them meanwhile; a file is replaced with ReplaceFileW,
// which keeps the replaced file's attributes, ACLs and streams, or moved into place for a new
// one.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <shellapi.h>

#include "data/Platform.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cwchar>
#include <limits>
#include <memory>
#include <optional>
#include <new>
#include <random>
#include <utility>

namespace rw {
namespace {

// Everything a handle of ours may be shared for: another program may read the file, write
// it, and rename or delete it (a save of its own), as it could on POSIX.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

[[nodiscard]] std::error_code ErrorOf(DWORD err) { return {static_cast<int>(err), std::system_category()}; }
[[nodiscard]] std::error_code LastError() { return ErrorOf(::GetLastError()); }

[[nodiscard]] HANDLE Handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
[[nodiscard]] std::intptr_t Stored(HANDLE handle)
{
    return handle == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(handle);
}

void Close(std::intptr_t& handle)
{
    if (handle != -1) ::CloseHandle(Handle(std::exchange(handle, -1)));
}

struct HandleCloser {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

[[nodiscard]] UniqueHandle Own(HANDLE handle)
{
    return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// 100-nanosecond ticks from 1601 to 1970.
constexpr std::int64_t kEpochTicks = 116444736000000000LL;

[[nodiscard]] FileStamp StampFrom(const BY_HANDLE_FILE_INFORMATION& info)
{
    FileStamp stamp;
    stamp.device = info.dwVolumeSerialNumber;
    stamp.inode = static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    stamp.size = folder ? 0 : static_cast<std::uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    const std::int64_t ticks = static_cast<std::int64_t>(static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32 |
                                                         info.ftLastWriteTime.dwLowDateTime);
    stamp.modifiedNs = (ticks - kEpochTicks) * 100;
    return stamp;
}

[[nodiscard]] std::optional<FileStamp> StampOfHandle(HANDLE handle)
{
    if (::GetFileType(handle) != FILE_TYPE_DISK) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) return std::nullopt;
    return StampFrom(info);
}

[[nodiscard]] bool IsFolder(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION info{};
    return ::GetFileInformationByHandle(handle, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Opened only to be examined: any file, a folder too, whoever else has it open.
[[nodiscard]] UniqueHandle OpenToExamine(const std::filesystem::path& path)
{
    return Own(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// ReadFile and WriteFile take at most a DWORD at a time.
constexpr std::size_t kMaxTransfer = 1u << 30;

// Up to n bytes at offset, fewer only at the end; empty with the error on failure.
[[nodiscard]] std::optional<std::size_t> ReadAllAt(HANDLE handle, char* into, std::size_t n, std::uint64_t offset,
                                                   std::error_code& error)
{
    std::size_t done = 0;
    while (done < n) {
        OVERLAPPED at{};
        const std::uint64_t where = offset + done;
        at.Offset = static_cast<DWORD>(where & 0xFFFFFFFF);
        at.OffsetHigh = static_cast<DWORD>(where >> 32);
        DWORD got = 0;
        if (!::ReadFile(handle, into + done, static_cast<DWORD>(std::min(n - done, kMaxTransfer)), &got, &at)) {
            const DWORD err = ::GetLastError();
            if (err == ERROR_HANDLE_EOF) break;
            error = ErrorOf(err);
            return std::nullopt;
        }
        if (got == 0) break;
        done += got;
    }
    return done;
}

[[nodiscard]] bool WriteAllAt(HANDLE handle, const char* bytes, std::size_t n, std::uint64_t offset)
{
    while (n > 0) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD put = 0;
        if (!::WriteFile(handle, bytes, static_cast<DWORD>(std::min(n, kMaxTransfer)), &put, &at)) return false;
        bytes += put;
        n -= put;
        offset += put;
    }
    return true;
}

[[nodiscard]] bool WriteAllOf(HANDLE handle, const char* bytes, std::size_t n)
{
    while (n > 0) {
        DWORD put = 0;
        if (!::WriteFile(handle, bytes, static_cast<DWORD>(std::min(n, kMaxTransfer)), &put, nullptr)) return false;
        bytes += put;
        n -= put;
    }
    return true;
}

// The temporary files alive now, for the console control handler, which runs on a thread of
// its own while the program goes on: fixed storage and lock-free flags, as on POSIX.
constexpr std::size_t kMaxTempPath = 4096;
struct TempSlot {
    std::atomic<bool> taken{false};
    std::atomic<bool> live{false};
    std::array<wchar_t, kMaxTempPath> path{};
};
std::array<TempSlot, 16> g_temps;

[[nodiscard]] int RegisterTemp(const std::wstring& path)
{
    if (path.size() >= kMaxTempPath) return -1;
    for (std::size_t i = 0; i < g_temps.size(); ++i) {
        bool expected = false;
        if (!g_temps[i].taken.compare_exchange_strong(expected, true)) continue;
        std::copy(path.c_str(), path.c_str() + path.size() + 1, g_temps[i].path.begin());
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

BOOL WINAPI RemoveTemporariesAndEnd(DWORD)
{
    // The files are open with FILE_SHARE_DELETE, so they go as the process ends.
    for (TempSlot& temp : g_temps) {
        if (temp.live.load(std::memory_order_acquire)) ::DeleteFileW(temp.path.data());
    }
    return FALSE; // and the system ends the program as it would have
}

[[nodiscard]] std::filesystem::path FolderOf(const std::filesystem::path& target)
{
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(L".");
}

// "." + name + "." + six random characters in the target's folder, the name shortened (not
// inside a surrogate pair) where the whole would be longer than a name may be.
[[nodiscard]] std::wstring TempNameFor(const std::filesystem::path& target)
{
    constexpr std::size_t kNameMax = 255;
    constexpr std::size_t kSuffix = 7;
    std::wstring name = target.filename().wstring();
    const std::size_t room = kNameMax - 1 - kSuffix;
    if (name.size() > room) {
        std::size_t cut = room;
        if (cut > 0 && name[cut] >= 0xDC00 && name[cut] <= 0xDFFF) --cut;
        name.resize(cut);
    }
    static constexpr wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::minstd_rand random(static_cast<unsigned>(::GetTickCount64() ^ ::GetCurrentProcessId() ^
                                                               ::GetCurrentThreadId()));
    std::wstring suffix = L".";
    for (std::size_t i = 1; i < kSuffix; ++i) suffix.push_back(kLetters[random() % (std::size(kLetters) - 1)]);
    return (FolderOf(target) / (L"." + name + suffix)).wstring();
}

// A new file of a temporary name beside target, opened for writing; others may read it and
// the console handler may delete it.
[[nodiscard]] HANDLE CreateTemp(const std::filesystem::path& target, std::wstring& name, std::error_code& error,
                                DWORD share = FILE_SHARE_READ | FILE_SHARE_DELETE, DWORD flags = FILE_ATTRIBUTE_NORMAL)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TempNameFor(target);
        const HANDLE handle =
            ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, CREATE_NEW, flags, nullptr);
        if (handle != INVALID_HANDLE_VALUE) return handle;
        if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    error = LastError();
    name.clear();
    return INVALID_HANDLE_VALUE;
}

// ReplaceFileW's own codes say only that a rename failed. When the reason is that another
// program holds the target open without letting it be replaced, that is the error to show.
[[nodiscard]] std::error_code ReplaceError(DWORD err, const std::filesystem::path& target)
{
    if (err != ERROR_UNABLE_TO_REMOVE_REPLACED && err != ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
        err != ERROR_ACCESS_DENIED) {
        return ErrorOf(err);
    }
    const UniqueHandle probe = Own(::CreateFileW(target.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING,
                                                 FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!probe && ::GetLastError() == ERROR_SHARING_VIOLATION) return ErrorOf(ERROR_SHARING_VIOLATION);
    return ErrorOf(err);
}

// Where a write to path should put its bytes: a symbolic link or junction is followed to the
// file it names, so that the link itself stays. A dangling link is written over.
[[nodiscard]] std::filesystem::path ResolveLinks(const std::filesystem::path& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return path;
    const UniqueHandle file = OpenToExamine(path);
    if (!file) return path;
    std::wstring final(32768, L'\0');
    const DWORD n = ::GetFinalPathNameByHandleW(file.get(), final.data(), static_cast<DWORD>(final.size()),
                                                FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0 || n >= final.size()) return path;
    final.resize(n);
    return final;
}

[[nodiscard]] std::string Narrow(std::wstring_view wide)
{
    if (wide.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(n, 0)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

[[nodiscard]] std::wstring Widen(std::string_view utf8)
{
    if (utf8.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(std::max(n, 0)), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

[[nodiscard]] HANDLE StandardHandle(StandardStream stream)
{
    switch (stream) {
    case StandardStream::Input: return ::GetStdHandle(STD_INPUT_HANDLE);
    case StandardStream::Output: return ::GetStdHandle(STD_OUTPUT_HANDLE);
    case StandardStream::Error: return ::GetStdHandle(STD_ERROR_HANDLE);
    }
    return nullptr;
}

// The errno a stream's failure reads as everywhere else.
[[nodiscard]] std::error_code StreamError(DWORD err)
{
    switch (err) {
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA: return std::make_error_code(std::errc::broken_pipe);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return std::make_error_code(std::errc::no_space_on_device);
    case ERROR_INVALID_HANDLE: return std::make_error_code(std::errc::bad_file_descriptor);
    case ERROR_ACCESS_DENIED: return std::make_error_code(std::errc::permission_denied);
    default: return std::make_error_code(std::errc::io_error);
    }
}

} // namespace

std::optional<FileStamp> StampOf(const std::filesystem::path& path)
{
    const UniqueHandle file = OpenToExamine(path);
    if (!file) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
    return StampFrom(info);
}

std::uint64_t MemoryLimit()
{
    // What the machine can give without pushing others out, and no more than the process's
    // address space (or a job's limit, which the system counts into both) leaves.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!::GlobalMemoryStatusEx(&status)) return std::numeric_limits<std::uint64_t>::max();
    return std::min<std::uint64_t>(status.ullAvailPhys, status.ullAvailVirtual);
}

// Windows hands out large pages only to a process holding the right to lock memory, which
// an editor's user does not have: whole pages straight from the system, zero as they come.
void* AllocatePages(std::size_t bytes)
{
    if (bytes == 0) return nullptr;
    return ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void FreePages(void* pages, std::size_t /*bytes*/)
{
    if (pages != nullptr) ::VirtualFree(pages, 0, MEM_RELEASE);
}

std::optional<ErrorKind> platform_detail::KindOfSystemError(const std::error_code& error)
{
    if (error.category() != std::system_category()) return std::nullopt;
    switch (static_cast<DWORD>(error.value())) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: return ErrorKind::NoSuchFile;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD: return ErrorKind::PermissionDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ErrorKind::DiskFull;
    case ERROR_WRITE_PROTECT: return ErrorKind::ReadOnlyFileSystem;
    case ERROR_FILE_TOO_LARGE: return ErrorKind::FileTooLarge;
    case ERROR_CANT_RESOLVE_FILENAME:
    case ERROR_TOO_MANY_LINKS: return ErrorKind::TooManyLinks;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE: return ErrorKind::InUse;
    default: return ErrorKind::Other;
    }
}

NameStatus LookAtName(const std::filesystem::path& path)
{
    NameStatus status;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD err = ::GetLastError();
        if (err != ERROR_FILE_NOT_FOUND && err != ERROR_PATH_NOT_FOUND) status.error = ErrorOf(err);
        return status;
    }
    status.ours = true;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) status.entry = NameEntry::SymbolicLink;
    else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) status.entry = NameEntry::Folder;
    else if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) status.entry = NameEntry::PipeOrDevice;
    else status.entry = NameEntry::RegularFile;
    return status;
}

std::string SystemText(const std::error_code& error)
{
    if (!error) return {};
    if (error.category() != std::system_category()) return error.message();
    wchar_t* text = nullptr;
    const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                     nullptr, static_cast<DWORD>(error.value()), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const std::unique_ptr<wchar_t, decltype(&::LocalFree)> owned(text, &::LocalFree);
    std::wstring_view message(text, n);
    // The system ends its texts with a full stop and a line break; the program's line goes on.
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.' ||
                                message.back() == L' ' || message.back() == L'\x3002')) {
        message.remove_suffix(1);
    }
    if (message.empty()) return "system error " + std::to_string(error.value());
    return Narrow(message);
}

// --- InputFile ---

InputFile::InputFile(const std::filesystem::path& path, Accept accept)
{
    // Backup semantics opens a folder too, so that it is refused as one rather than with the
    // system's "access denied".
    const HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        m_error = LastError();
        return;
    }
    m_handle = Stored(handle);
    const DWORD type = ::GetFileType(handle);
    if (type == FILE_TYPE_DISK) {
        BY_HANDLE_FILE_INFORMATION info{};
        if (!::GetFileInformationByHandle(handle, &info)) {
            m_error = LastError();
            Close(m_handle);
            return;
        }
        m_stamp = StampFrom(info);
        if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            m_status = Status::NotRegular;
            Close(m_handle);
            return;
        }
    } else if (accept == Accept::RegularFile) {
        // A device (CON, NUL, COM1) or a pipe.
        m_status = Status::NotRegular;
        Close(m_handle);
        return;
    }
    m_status = Status::Open;
}

InputFile InputFile::StandardInput()
{
    InputFile in;
    HANDLE own = nullptr;
    const HANDLE process = ::GetCurrentProcess();
    const HANDLE standard = StandardHandle(StandardStream::Input);
    if (standard == nullptr || standard == INVALID_HANDLE_VALUE ||
        !::DuplicateHandle(process, standard, process, &own, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        in.m_error = standard == nullptr ? ErrorOf(ERROR_INVALID_HANDLE) : LastError();
        return in;
    }
    in.m_handle = Stored(own);
    if (const std::optional<FileStamp> stamp = StampOfHandle(own)) in.m_stamp = *stamp;
    in.m_status = Status::Open;
    return in;
}

InputFile::~InputFile() { Close(m_handle); }

std::optional<std::size_t> InputFile::ReadAt(std::span<std::uint8_t> into, std::uint64_t offset)
{
    return ReadAllAt(Handle(m_handle), reinterpret_cast<char*>(into.data()), into.size(), offset, m_error);
}

std::optional<std::size_t> InputFile::Read(std::span<char> into)
{
    DWORD got = 0;
    if (::ReadFile(Handle(m_handle), into.data(), static_cast<DWORD>(std::min(into.size(), kMaxTransfer)), &got, nullptr)) {
        return got;
    }
    const DWORD err = ::GetLastError();
    // The writer of a pipe has gone: the end of the stream, as on POSIX.
    if (err == ERROR_BROKEN_PIPE || err == ERROR_HANDLE_EOF) return 0;
    m_error = ErrorOf(err);
    return std::nullopt;
}

// --- AtomicFile ---

namespace {

// ReplaceFileW is given whole names: relative ones, or ones written with forward slashes, are
// refused by some of its implementations ("The directory name is invalid").
[[nodiscard]] std::filesystem::path WholeName(const std::filesystem::path& path)
{
    std::error_code error;
    std::filesystem::path whole = std::filesystem::absolute(path, error);
    if (error) return path;
    return whole.make_preferred();
}

} // namespace

AtomicFile::AtomicFile(const std::filesystem::path& target, Placement placement)
    : m_target(placement == Placement::FollowLinks ? ResolveLinks(WholeName(target)) : WholeName(target)),
      m_placement(placement)
{
    // The name itself is not looked through: whatever stands there is replaced at Commit.
    if (const UniqueHandle existing = placement == Placement::FollowLinks ? OpenToExamine(m_target) : UniqueHandle()) {
        // A device or a pipe (NUL, CON, \\.\pipe\...) is written into as it is.
        if (::GetFileType(existing.get()) != FILE_TYPE_DISK) {
            m_mode = Mode::Direct;
            const HANDLE handle = ::CreateFileW(m_target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                OPEN_EXISTING, 0, nullptr);
            if (handle == INVALID_HANDLE_VALUE) Fail(LastError());
            m_handle = Stored(handle);
            return;
        }
        // Replacing a file with other hard links would part it from them.
        BY_HANDLE_FILE_INFORMATION info{};
        if (::GetFileInformationByHandle(existing.get(), &info) && info.nNumberOfLinks > 1 && !IsFolder(existing.get())) {
            m_mode = Mode::InPlace;
        }
    }
    std::wstring temp;
    std::error_code error;
    const HANDLE handle = CreateTemp(m_target, temp, error);
    if (handle == INVALID_HANDLE_VALUE) {
        Fail(error);
        return;
    }
    m_handle = Stored(handle);
    m_temp = Narrow(temp);
    m_tempSlot = RegisterTemp(temp);
}

AtomicFile::~AtomicFile()
{
    Close(m_handle);
    if (!m_temp.empty()) ::DeleteFileW(Widen(m_temp).c_str());
    ReleaseTemp(m_tempSlot);
}

bool AtomicFile::Fail(int err) { return Fail(ErrorOf(static_cast<DWORD>(err))); }

bool AtomicFile::SetPermissions(std::uint32_t) { return Ok(); }

bool AtomicFile::Write(std::span<const std::uint8_t> bytes)
{
    if (!Ok()) return false;
    if (!WriteAllOf(Handle(m_handle), reinterpret_cast<const char*>(bytes.data()), bytes.size())) return Fail(LastError());
    return true;
}

bool AtomicFile::Rewrite(std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    if (!Ok()) return false;
    if (!CanRewrite()) return Fail(ERROR_INVALID_FUNCTION);
    const HANDLE handle = Handle(m_handle);
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!::SetFilePointerEx(handle, at, nullptr, FILE_BEGIN) ||
        !WriteAllOf(handle, reinterpret_cast<const char*>(bytes.data()), bytes.size()) ||
        !::SetFilePointerEx(handle, LARGE_INTEGER{}, nullptr, FILE_END)) {
        return Fail(LastError());
    }
    return true;
}

bool AtomicFile::Commit(Sync sync)
{
    if (!Ok() || m_committed) return false;
    switch (m_mode) {
    case Mode::Direct: {
        m_committed = true;
        const HANDLE handle = Handle(std::exchange(m_handle, -1));
        return ::CloseHandle(handle) || Fail(LastError());
    }
    case Mode::Replace: {
        if (sync == Sync::ToDisk && !::FlushFileBuffers(Handle(m_handle))) return Fail(LastError());
        Close(m_handle);
        const std::wstring temp = Widen(m_temp);
        const DWORD flags = MOVEFILE_REPLACE_EXISTING | (sync == Sync::ToDisk ? MOVEFILE_WRITE_THROUGH : 0);
        // A link under the name is replaced by the file, as it is; nothing of it is kept.
        if (m_placement == Placement::NameItself) {
            if (!::MoveFileExW(temp.c_str(), m_target.c_str(), flags)) return Fail(ReplaceError(::GetLastError(), m_target));
            m_temp.clear();
            ReleaseTemp(m_tempSlot);
            m_committed = true;
            return true;
        }
        // Asked first, so that the answer is plain and nothing is moved aside: whether there
        // is a file to replace, whether it is a folder, and whether a program that has it open
        // lets it be replaced.
        bool exists = true;
        if (const UniqueHandle target = Own(::CreateFileW(m_target.c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr))) {
            if (IsFolder(target.get())) return Fail(std::make_error_code(std::errc::is_a_directory));
        } else {
            const DWORD err = ::GetLastError();
            if (err == ERROR_SHARING_VIOLATION) return Fail(ErrorOf(err));
            exists = err != ERROR_FILE_NOT_FOUND;
        }
        // ReplaceFileW keeps what belongs to the replaced file: its attributes, its ACLs, its
        // other streams, its creation time. It needs a file to replace; a new one is moved.
        if (exists && !::ReplaceFileW(m_target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            const DWORD err = ::GetLastError();
            if (err != ERROR_FILE_NOT_FOUND) return Fail(ReplaceError(err, m_target));
            exists = false;
        }
        if (!exists && !::MoveFileExW(temp.c_str(), m_target.c_str(), flags)) return Fail(ReplaceError(::GetLastError(), m_target));
        m_temp.clear();
        ReleaseTemp(m_tempSlot);
        m_committed = true;
        return true;
    }
    case Mode::InPlace:
        // Always flushed: while the target is rewritten, the temporary file is the one whole
        // copy of the new bytes.
        if (!::FlushFileBuffers(Handle(m_handle))) return Fail(LastError());
        if (!CopyIntoTarget()) return false;
        m_committed = true;
        return true;
    }
    return false;
}

bool AtomicFile::CopyIntoTarget()
{
    const UniqueHandle target = Own(::CreateFileW(m_target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                  OPEN_EXISTING, 0, nullptr));
    if (!target) return Fail(ReplaceError(::GetLastError(), m_target));
    LARGE_INTEGER oldSize{};
    LARGE_INTEGER newSize{};
    if (!::GetFileSizeEx(target.get(), &oldSize) || !::GetFileSizeEx(Handle(m_handle), &newSize)) return Fail(LastError());
    // The old bytes are held so that a failure part way can put them back.
    std::vector<char> old;
    try {
        old.resize(static_cast<std::size_t>(oldSize.QuadPart));
    } catch (const std::bad_alloc&) {
        return Fail(ErrorOf(ERROR_NOT_ENOUGH_MEMORY));
    }
    std::error_code error;
    const std::optional<std::size_t> got = ReadAllAt(target.get(), old.data(), old.size(), 0, error);
    if (!got || *got != old.size()) return Fail(error ? error : ErrorOf(ERROR_READ_FAULT));

    const auto setSize = [&](std::int64_t size) {
        FILE_END_OF_FILE_INFO end{};
        end.EndOfFile.QuadPart = size;
        return ::SetFileInformationByHandle(target.get(), FileEndOfFileInfo, &end, sizeof end) != 0;
    };
    DWORD err = 0;
    // With the space reserved first, the copy cannot run out of it part way.
    if (newSize.QuadPart > oldSize.QuadPart && !setSize(newSize.QuadPart)) err = ::GetLastError();
    std::vector<char> chunk(std::size_t{1} << 20);
    for (std::uint64_t at = 0; err == 0 && at < static_cast<std::uint64_t>(newSize.QuadPart);) {
        std::error_code readError;
        const std::optional<std::size_t> n = ReadAllAt(Handle(m_handle), chunk.data(), chunk.size(), at, readError);
        if (!n || *n == 0) {
            err = n ? ERROR_READ_FAULT : static_cast<DWORD>(readError.value());
        } else if (!WriteAllAt(target.get(), chunk.data(), *n, at)) {
            err = ::GetLastError();
        }
        at += n ? *n : 0;
    }
    if (err == 0 && (!setSize(newSize.QuadPart) || !::FlushFileBuffers(target.get()))) err = ::GetLastError();
    if (err == 0) return true;

    const bool restored = WriteAllAt(target.get(), old.data(), old.size(), 0) &&
                          setSize(static_cast<std::int64_t>(old.size())) && ::FlushFileBuffers(target.get());
    // Should even that fail, the new bytes stay in the temporary file rather than be lost too.
    if (!restored) {
        m_temp.clear();
        ReleaseTemp(m_tempSlot);
    }
    return Fail(ErrorOf(err));
}

// --- ScratchFile ---

ScratchFile::ScratchFile(const std::filesystem::path& besides)
{
    std::wstring name;
    const HANDLE handle = CreateTemp(besides, name, m_error);
    if (handle == INVALID_HANDLE_VALUE) return;
    ::CloseHandle(handle);
    m_path = Narrow(name);
    m_tempSlot = RegisterTemp(name);
}

ScratchFile::~ScratchFile()
{
    if (!m_path.empty()) ::DeleteFileW(Widen(m_path).c_str());
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
    // The system deletes it when its handle closes, which it does for a program that ends in
    // any way.
    std::wstring name;
    const HANDLE handle = CreateTemp(folder / L"recwright-spill", name, m_error, FILE_SHARE_DELETE,
                                     FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE);
    if (handle != INVALID_HANDLE_VALUE) m_handle = Stored(handle);
}

SpillFile::~SpillFile() { Close(m_handle); }

bool SpillFile::Write(std::span<const std::uint8_t> bytes)
{
    if (m_error) return false;
    if (!WriteAllAt(Handle(m_handle), reinterpret_cast<const char*>(bytes.data()), bytes.size(), m_size)) {
        m_error = LastError();
        return false;
    }
    m_size += bytes.size();
    return true;
}

std::optional<std::size_t> SpillFile::ReadAt(std::span<std::uint8_t> into, std::uint64_t offset)
{
    if (m_error) return std::nullopt;
    return ReadAllAt(Handle(m_handle), reinterpret_cast<char*>(into.data()), into.size(), offset, m_error);
}

void RemoveTemporaryFilesOnSignals() { ::SetConsoleCtrlHandler(RemoveTemporariesAndEnd, TRUE); }

// --- Names, the command line and the standard streams ---

std::filesystem::path PathFromUtf8(std::string_view utf8) { return std::filesystem::path(Widen(utf8)); }

std::string Utf8FromPath(const std::filesystem::path& path) { return Narrow(path.native()); }

std::string NameForNarrowCalls(const std::string& utf8)
{
    // Nothing may stand for a character the code page lacks: such a name would open another file.
    const auto inCodePage = [](std::wstring_view name) -> std::optional<std::string> {
        BOOL lost = FALSE;
        const int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.data(), static_cast<int>(name.size()),
                                            nullptr, 0, nullptr, &lost);
        if (n <= 0 || lost) return std::nullopt;
        std::string out(static_cast<std::size_t>(n), '\0');
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.data(), static_cast<int>(name.size()), out.data(), n,
                              nullptr, &lost);
        return out;
    };
    const std::wstring wide = Widen(utf8);
    if (wide.empty()) return utf8;
    if (std::optional<std::string> name = inCodePage(wide)) return *name;
    std::wstring shortName(MAX_PATH, L'\0');
    DWORD n = ::GetShortPathNameW(wide.c_str(), shortName.data(), static_cast<DWORD>(shortName.size()));
    if (n >= shortName.size()) {
        shortName.resize(n);
        n = ::GetShortPathNameW(wide.c_str(), shortName.data(), static_cast<DWORD>(shortName.size()));
    }
    if (n > 0 && n < shortName.size()) {
        shortName.resize(n);
        if (std::optional<std::string> name = inCodePage(shortName)) return *name;
    }
    // The code page may be UTF-8 itself, where the name as given is right.
    return utf8;
}

std::vector<std::string> CommandLineArguments(int, char**)
{
    int count = 0;
    const std::unique_ptr<wchar_t*, decltype(&::LocalFree)> wide(::CommandLineToArgvW(::GetCommandLineW(), &count),
                                                                 &::LocalFree);
    std::vector<std::string> arguments;
    for (int i = 1; wide && i < count; ++i) arguments.push_back(Narrow(wide.get()[i]));
    return arguments;
}

std::error_code WriteAll(StandardStream stream, std::string_view text)
{
    const HANDLE handle = StandardHandle(stream);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return std::make_error_code(std::errc::bad_file_descriptor);
    DWORD mode = 0;
    // A console shows characters, not bytes in some code page: UTF-8 goes to it as UTF-16.
    if (::GetFileType(handle) == FILE_TYPE_CHAR && ::GetConsoleMode(handle, &mode)) {
        const std::wstring wide = Widen(text);
        for (std::size_t at = 0; at < wide.size();) {
            DWORD put = 0;
            const DWORD n = static_cast<DWORD>(std::min<std::size_t>(wide.size() - at, 16384));
            if (!::WriteConsoleW(handle, wide.data() + at, n, &put, nullptr) || put == 0) return StreamError(::GetLastError());
            at += put;
        }
        return {};
    }
    if (!WriteAllOf(handle, text.data(), text.size())) return StreamError(::GetLastError());
    return {};
}

std::optional<FileStamp> StampOf(StandardStream stream)
{
    const HANDLE handle = StandardHandle(stream);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return std::nullopt;
    return StampOfHandle(handle);
}

void KeepStandardStreamsTaken() {}

} // namespace rw
