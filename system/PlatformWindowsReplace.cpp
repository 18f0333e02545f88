// Files replaced whole or not at all on Windows (ReplaceFileW keeps the replaced file's
// attributes, ACLs and streams; a new file is moved into place), the scratch files beside
// them, and the console's Ctrl-C, Ctrl-Break and close, which remove their temporary files
// before the program ends.

#include "system/Platform.h"
#include "system/PlatformWindowsDetail.h"
#include "system/TemporaryFiles.h"

#include <atomic>
#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace rw {

using namespace windows;

namespace {

platform_detail::TemporaryFiles<wchar_t, 4096> g_temps;

[[nodiscard]] int RegisterTemp(const std::wstring& path) { return g_temps.Register(path); }
void ReleaseTemp(int& slot) { g_temps.Release(slot); }

// A file with other hard links is rewritten in place, and while that copy runs it holds part
// of the old bytes and part of the new. The console's handler runs on a thread of its own: it
// waits until no such copy runs (the old bytes are back, or the new are all there) before the
// program ends, so that the file is whole either way. The wait is that of one copy.
std::atomic<int> g_copiesInPlace{0};

class EndingsHeld {
public:
    EndingsHeld() { g_copiesInPlace.fetch_add(1); }
    EndingsHeld(const EndingsHeld&) = delete;
    EndingsHeld& operator=(const EndingsHeld&) = delete;
    ~EndingsHeld() { g_copiesInPlace.fetch_sub(1); }
};

BOOL WINAPI RemoveTemporariesAndEnd(DWORD)
{
    while (g_copiesInPlace.load() > 0) ::Sleep(10);
    // The files are open with FILE_SHARE_DELETE, so they go as the process ends.
    g_temps.RemoveAll([](const wchar_t* name) { ::DeleteFileW(name); });
    return FALSE; // and the system ends the program as it would have
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

bool AtomicFile::Flush()
{
    if (!Ok()) return false;
    if (m_mode == Mode::Direct || m_flushed) return true;
    if (!::FlushFileBuffers(Handle(m_handle))) return Fail(LastError());
    m_flushed = true;
    return true;
}

bool AtomicFile::Write(std::span<const std::uint8_t> bytes)
{
    if (!Ok()) return false;
    m_flushed = false;
    if (!WriteAllOf(Handle(m_handle), reinterpret_cast<const char*>(bytes.data()), bytes.size())) return Fail(LastError());
    return true;
}

bool AtomicFile::Rewrite(std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    if (!Ok()) return false;
    if (!CanRewrite()) return Fail(ERROR_INVALID_FUNCTION);
    m_flushed = false;
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
        if (sync == Sync::ToDisk && !Flush()) return false;
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

void RemoveTemporaryFilesOnSignals() { ::SetConsoleCtrlHandler(RemoveTemporariesAndEnd, TRUE); }

} // namespace rw
