#pragma once

// What the Windows platform files share: handles opened with every share mode and closed by
// their owners, errors and stamps, reads and writes of any size, names to and from UTF-16,
// and new files of temporary names. For those files only.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "system/Platform.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <utility>

namespace rw::windows {

// Everything a handle of ours may be shared for: another program may read the file, write
// it, and rename or delete it (a save of its own), as it could on POSIX.
inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

[[nodiscard]] inline std::error_code ErrorOf(DWORD err) { return {static_cast<int>(err), std::system_category()}; }
[[nodiscard]] inline std::error_code LastError() { return ErrorOf(::GetLastError()); }

[[nodiscard]] inline HANDLE Handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
[[nodiscard]] inline std::intptr_t Stored(HANDLE handle)
{
    return handle == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(handle);
}

inline void Close(std::intptr_t& handle)
{
    if (handle != -1) ::CloseHandle(Handle(std::exchange(handle, -1)));
}

struct HandleCloser {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

[[nodiscard]] inline UniqueHandle Own(HANDLE handle)
{
    return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// 100-nanosecond ticks from 1601 to 1970.
inline constexpr std::int64_t kEpochTicks = 116444736000000000LL;

[[nodiscard]] inline FileStamp StampFrom(const BY_HANDLE_FILE_INFORMATION& info)
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

[[nodiscard]] inline std::optional<FileStamp> StampOfHandle(HANDLE handle)
{
    if (::GetFileType(handle) != FILE_TYPE_DISK) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) return std::nullopt;
    return StampFrom(info);
}

[[nodiscard]] inline bool IsFolder(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION info{};
    return ::GetFileInformationByHandle(handle, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Opened only to be examined: any file, a folder too, whoever else has it open.
[[nodiscard]] inline UniqueHandle OpenToExamine(const std::filesystem::path& path)
{
    return Own(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// ReadFile and WriteFile take at most a DWORD at a time.
inline constexpr std::size_t kMaxTransfer = 1u << 30;

// Up to n bytes at offset, fewer only at the end; empty with the error on failure.
[[nodiscard]] inline std::optional<std::size_t> ReadAllAt(HANDLE handle, char* into, std::size_t n, std::uint64_t offset,
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

[[nodiscard]] inline bool WriteAllAt(HANDLE handle, const char* bytes, std::size_t n, std::uint64_t offset)
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

[[nodiscard]] inline bool WriteAllOf(HANDLE handle, const char* bytes, std::size_t n)
{
    while (n > 0) {
        DWORD put = 0;
        if (!::WriteFile(handle, bytes, static_cast<DWORD>(std::min(n, kMaxTransfer)), &put, nullptr)) return false;
        bytes += put;
        n -= put;
    }
    return true;
}

[[nodiscard]] inline std::filesystem::path FolderOf(const std::filesystem::path& target)
{
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(L".");
}

// "." + name + "." + six random characters in the target's folder, the name shortened (not
// inside a surrogate pair) where the whole would be longer than a name may be.
[[nodiscard]] inline std::wstring TempNameFor(const std::filesystem::path& target)
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
[[nodiscard]] inline HANDLE CreateTemp(const std::filesystem::path& target, std::wstring& name, std::error_code& error,
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

[[nodiscard]] inline std::string Narrow(std::wstring_view wide)
{
    if (wide.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(n, 0)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

[[nodiscard]] inline std::wstring Widen(std::string_view utf8)
{
    if (utf8.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(std::max(n, 0)), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

[[nodiscard]] inline HANDLE StandardHandle(StandardStream stream)
{
    switch (stream) {
    case StandardStream::Input: return ::GetStdHandle(STD_INPUT_HANDLE);
    case StandardStream::Output: return ::GetStdHandle(STD_OUTPUT_HANDLE);
    case StandardStream::Error: return ::GetStdHandle(STD_ERROR_HANDLE);
    }
    return nullptr;
}

} // namespace rw::windows
