#pragma once

// What the record library needs of the operating system, in one place: files opened for
// reading that never make the program wait on a pipe or a device, a file's identity, the
// memory the program may use, files replaced whole or not at all, and the standard streams
// and command line of a command-line run. PlatformPosix.cpp is the implementation for Linux
// and the other POSIX systems, PlatformWindows.cpp the one for Windows; each keeps the
// guarantees written here, and nothing else in the program calls the system for them.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace rw {

// A file's identity and state as the system reports it.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0; // since the epoch
    std::uint32_t permissions = 0; // the mode's permission bits (07777) on POSIX; 0 on Windows

    [[nodiscard]] bool SameFileAs(const FileStamp& other) const
    {
        return device == other.device && inode == other.inode;
    }
};

// The file that path names, links followed; empty when there is none or it cannot be examined.
[[nodiscard]] std::optional<FileStamp> StampOf(const std::filesystem::path& path);

// The most memory the program may ask for: what the machine has available now, or less where
// the process's limits say so. A file whose records need more is refused before anything is
// allocated, rather than have the system run out of memory while it is read.
[[nodiscard]] std::uint64_t MemoryLimit();

// Memory for a buffer of many megabytes, zero-filled and straight from the system, which is
// asked to back it with large pages (2 MB on x86-64 Linux) where it has them: a buffer of
// 4 KB pages costs a page fault for every 4 KB the program first touches, and on a system
// that gives large pages only to those who ask, that is most of the time spent loading a
// large file. Null when the system has no memory to give. PageBuffer is the one user.
[[nodiscard]] void* AllocatePages(std::size_t bytes);
// Gives back what AllocatePages gave, with the size it was asked for.
void FreePages(void* pages, std::size_t bytes);

// The system's text for an error, as the user should see it after the program's own words.
[[nodiscard]] std::string SystemText(const std::error_code& error);

// The reasons a file operation commonly fails for, whatever words and numbers the system has
// for them, so that the program can say them in its own words; Other for the rest, which only
// the system's text tells.
enum class ErrorKind : std::uint8_t {
    NoSuchFile,
    PermissionDenied,
    DiskFull,
    ReadOnlyFileSystem,
    IsAFolder,
    FileTooLarge,
    TooManyLinks, // symbolic links nested too deep or in a loop, or a file with too many hard links
    InUse,        // held by another program that does not let it be written or replaced
    Other,
};
[[nodiscard]] ErrorKind KindOfError(const std::error_code& error);
namespace platform_detail {
// The kinds only the system's own numbers tell (Windows' error codes, a POSIX errno with no
// portable name); KindOfError asks it first.
[[nodiscard]] std::optional<ErrorKind> KindOfSystemError(const std::error_code& error);
} // namespace platform_detail

// What stands under a name, looked at without following a symbolic link there and without
// opening it, so that neither a link nor a pipe or a device can lead anywhere or make the
// program wait.
enum class NameEntry : std::uint8_t { Nothing, RegularFile, SymbolicLink, Folder, PipeOrDevice, Other };
struct NameStatus {
    NameEntry entry = NameEntry::Nothing;
    // Owned by the user the program runs as, or the program runs as the administrator (root);
    // always on Windows, where files have no single owner to compare.
    bool ours = false;
    std::error_code error; // it could not be looked at (entry is then Nothing)
};
[[nodiscard]] NameStatus LookAtName(const std::filesystem::path& path);

// A file opened for reading. Opening never waits: a pipe with no writer or a device that
// blocks is refused (RegularFile) or read as a stream (AnyReadable).
class InputFile {
public:
    enum class Accept : std::uint8_t { RegularFile, AnyReadable };

    InputFile(const std::filesystem::path& path, Accept accept);
    // The process's standard input, read as a stream.
    [[nodiscard]] static InputFile StandardInput();
    InputFile(InputFile&& other) noexcept { Swap(other); }
    // The file this one had is closed by the one it is swapped into.
    InputFile& operator=(InputFile&& other) noexcept
    {
        InputFile taken(std::move(other));
        Swap(taken);
        return *this;
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    [[nodiscard]] bool IsOpen() const { return m_status == Status::Open; }
    // Refused as a folder, a device, a pipe or a socket, not for a reason of the system's.
    [[nodiscard]] bool IsNotRegularFile() const { return m_status == Status::NotRegular; }
    // The system's reason when it did not open, or why the last read failed.
    [[nodiscard]] const std::error_code& Error() const { return m_error; }
    // Valid once open; the size of a stream is 0.
    [[nodiscard]] const FileStamp& Stamp() const { return m_stamp; }

    // Fills into from offset; fewer bytes only at the end of the file. Empty on failure.
    [[nodiscard]] std::optional<std::size_t> ReadAt(std::span<std::uint8_t> into, std::uint64_t offset);
    // The next bytes of the file or stream, at most into.size(); 0 at the end. Empty on failure.
    [[nodiscard]] std::optional<std::size_t> Read(std::span<char> into);

private:
    enum class Status : std::uint8_t { Open, NotRegular, Failed };

    InputFile() = default;
    void Swap(InputFile& other) noexcept
    {
        std::swap(m_handle, other.m_handle);
        std::swap(m_status, other.m_status);
        std::swap(m_error, other.m_error);
        std::swap(m_stamp, other.m_stamp);
    }

    std::intptr_t m_handle = -1;
    Status m_status = Status::Failed;
    std::error_code m_error;
    FileStamp m_stamp;
};

// A file written beside its target under a temporary name, flushed to disk and only then put
// in the target's place: the previous file survives any failure intact, and no one ever sees
// half a file under the target's name. What belongs to the replaced file stays: its mode, its
// owner and group where the process may set them, and the links that lead to it (a symbolic
// link, even a dangling one, stays a link and the file it names is written; a file with other
// hard links is written in place, from the flushed temporary file, and put back as it was
// should that fail; the signals that end the program wait for that copy to be done, once
// RemoveTemporaryFilesOnSignals has been called, so that it leaves the old bytes or the new,
// never a mix). A target that is a device or a pipe is written into directly. The temporary
// file is removed on every failure, and on the signals that end a command-line run once
// RemoveTemporaryFilesOnSignals has been called.
class AtomicFile {
public:
    // FollowLinks keeps what belongs to the target as described above. NameItself puts a new
    // file under the target's name whatever stands there: a link there is replaced, not
    // followed, a pipe or a device is not written into, and a folder makes Commit fail; the
    // new file has the permissions a new file gets until SetPermissions says otherwise.
    enum class Placement : std::uint8_t { FollowLinks, NameItself };

    // Creates the temporary file; Ok() tells whether that worked.
    explicit AtomicFile(const std::filesystem::path& target, Placement placement = Placement::FollowLinks);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    // Removes the temporary file unless it was committed.
    ~AtomicFile();

    [[nodiscard]] bool Ok() const { return !m_error; }
    [[nodiscard]] const std::error_code& ErrorCode() const { return m_error; }
    // The system's text for the first failure.
    [[nodiscard]] std::string Error() const { return SystemText(m_error); }

    bool Write(std::span<const std::uint8_t> bytes);
    bool Write(std::string_view text) { return Write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}); }
    // Writes over bytes already written, from offset, as for a count known only at the end;
    // the next Write goes on after the last byte written. Not possible into a device or a pipe.
    [[nodiscard]] bool CanRewrite() const { return m_mode != Mode::Direct; }
    bool Rewrite(std::uint64_t offset, std::span<const std::uint8_t> bytes);

    // Waits until the bytes written so far are on the disk, so that a Commit after it has
    // nothing left to wait for: a writer that checks something between writing and replacing
    // keeps that moment short. Nothing to do for a device or a pipe.
    bool Flush();

    // ToDisk waits until the bytes are on the disk before they take the target's place, so
    // that even a power cut leaves the old file or the whole new one. Lazy leaves that to the
    // system: for output that can be made again, where waiting for the disk costs most.
    enum class Sync : std::uint8_t { ToDisk, Lazy };

    // Puts the written bytes in the target's place. False, target as it was, on any failure.
    bool Commit(Sync sync = Sync::ToDisk);

    // The permission bits (FileStamp::permissions) the new file gets; nothing on Windows.
    bool SetPermissions(std::uint32_t permissions);

private:
    enum class Mode : std::uint8_t { Replace, InPlace, Direct };

    // Keeps the first failure; false, for returning.
    bool Fail(std::error_code error)
    {
        if (!m_error) m_error = error;
        return false;
    }
    bool Fail(int err);
    bool CopyIntoTarget();

    std::filesystem::path m_target; // the file that will hold the bytes, links resolved unless NameItself
    std::string m_temp;             // empty when writing into the target itself
    Mode m_mode = Mode::Replace;
    Placement m_placement = Placement::FollowLinks;
    std::intptr_t m_handle = -1;
    int m_tempSlot = -1;            // in the list of files the signal handlers remove
    bool m_committed = false;
    bool m_flushed = false;          // nothing written since the last Flush
    std::error_code m_error;
    std::uint64_t m_written = 0;     // bytes written so far
    std::uint64_t m_sentToDisk = 0;  // of them, those the system was told to start writing out
};

// An empty file of a name no other file has, beside a given path, for a library that writes
// only to a file it opens by name itself. It is removed when this goes, and on the signals
// that end a command-line run, as an AtomicFile's temporary file is.
class ScratchFile {
public:
    // Creates it in the folder of besides; Ok() tells whether that worked.
    explicit ScratchFile(const std::filesystem::path& besides);
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    ~ScratchFile();

    [[nodiscard]] bool Ok() const { return !m_error; }
    [[nodiscard]] std::string Error() const { return SystemText(m_error); }
    [[nodiscard]] const std::string& Path() const { return m_path; }

private:
    std::string m_path; // empty when it could not be created
    int m_tempSlot = -1;
    std::error_code m_error;
};

// A file of the program's own for bytes that must wait for what comes after them, such as the
// records of a data file on their way to a pipe, which must have their count first. It lies in
// the system's folder for temporary files and has no name there (Linux), or a name the system
// removes when the program ends however it ends (Windows), so that nothing is left of it.
class SpillFile {
public:
    // Creates it; Ok() tells whether that worked.
    SpillFile();
    SpillFile(const SpillFile&) = delete;
    SpillFile& operator=(const SpillFile&) = delete;
    ~SpillFile();

    [[nodiscard]] bool Ok() const { return !m_error; }
    // The system's text for the first failure.
    [[nodiscard]] std::string Error() const { return SystemText(m_error); }

    // Appends bytes; false, keeping the reason, when they could not all be written.
    bool Write(std::span<const std::uint8_t> bytes);
    [[nodiscard]] std::uint64_t Size() const { return m_size; }
    // Fills into from offset; fewer bytes only at the end. Empty on failure.
    [[nodiscard]] std::optional<std::size_t> ReadAt(std::span<std::uint8_t> into, std::uint64_t offset);

private:
    std::intptr_t m_handle = -1;
    std::uint64_t m_size = 0;
    std::error_code m_error;
};

// From now on SIGINT, SIGTERM, SIGHUP, SIGQUIT and SIGPIPE first remove the temporary files of
// the AtomicFiles and ScratchFiles alive at that moment, then end the program as they would
// have; one that comes while a file is rewritten in place (for its hard links) waits until
// that file is whole again. SIGXFSZ is ignored: a write past the file size limit fails with its reason ("File too
// large"), and that failure removes the temporary file as every failure does. On Windows,
// Ctrl-C, Ctrl-Break and closing the console window do the same.
void RemoveTemporaryFilesOnSignals();

// Names as the program holds them, UTF-8 text, and as the system takes them. On POSIX the
// bytes are the name as they are; on Windows they are the wide name, so that any name, a
// Chinese one too, means the same file whatever the system's code page. Bytes that are no
// UTF-8 become U+FFFD there.
[[nodiscard]] std::filesystem::path PathFromUtf8(std::string_view utf8);
[[nodiscard]] std::string Utf8FromPath(const std::filesystem::path& path);

// A name for a library that opens files by the C runtime's narrow calls (fopen, open), as the
// worksheet writer does. On POSIX the name itself. On Windows those calls read the system's
// code page: the name in it, or where it cannot say every character, the short (8.3) name of
// the file or folder, which is there already and ASCII; else the name as given.
[[nodiscard]] std::string NameForNarrowCalls(const std::string& utf8);

// The command line's arguments after the program's name, as UTF-8 (on Windows taken from
// the wide command line, not from argv's code page).
[[nodiscard]] std::vector<std::string> CommandLineArguments(int argc, char** argv);

// The process's standard streams, written and examined as a command-line run needs them.
enum class StandardStream : std::uint8_t { Input = 0, Output = 1, Error = 2 };

// All of text, as bytes; on a Windows console, as the characters of its UTF-8. The reason on
// failure is a generic (errno) one, so that it reads alike on every system.
[[nodiscard]] std::error_code WriteAll(StandardStream stream, std::string_view text);

// The file behind a standard stream, for telling whether it is a file the program is about
// to read or replace; empty when that cannot be told.
[[nodiscard]] std::optional<FileStamp> StampOf(StandardStream stream);

// A standard stream that is closed is opened on the null device the wrong way round, so that
// using it fails as it would have, and no file the program opens takes its number and its
// place: "--help >&-" then says it cannot write instead of writing into a data file. (Windows
// hands files no such numbers, so there it leaves the streams as they are.)
void KeepStandardStreamsTaken();

} // namespace rw
