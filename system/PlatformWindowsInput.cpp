// Files read on Windows: opened with every share mode, so that other programs may read,
// write and replace them meanwhile.

#include "system/Platform.h"
#include "system/PlatformWindowsDetail.h"

#include <algorithm>
#include <optional>

namespace rw {

using namespace windows;

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

} // namespace rw
