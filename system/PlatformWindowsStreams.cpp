// A command-line run's streams on Windows: its arguments, read from the wide command line,
// standard output and error written whole (a console's as characters), the files behind
// them, and the spill file that holds bytes for a pipe until what must come before them is
// known.

#include "system/Platform.h"
#include "system/PlatformWindowsDetail.h"

#include <shellapi.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace rw {

using namespace windows;

namespace {

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
