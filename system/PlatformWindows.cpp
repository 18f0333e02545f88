// The platform layer on Windows: a file's stamp, what stands under a name, memory, the
// system's errors and texts, and names, which go to the system as wide strings so that a
// Chinese folder or file name works whatever the code page. Files read, files replaced and
// the standard streams have files of their own.

#include "system/Platform.h"
#include "system/PlatformWindowsDetail.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>

namespace rw {

using namespace windows;

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

} // namespace rw
