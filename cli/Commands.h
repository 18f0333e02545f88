#pragma once

#include "cli/CliOptions.h"
#include "data/DataFile.h"
#include "data/FileKind.h"
#include "data/KindFit.h"
#include "system/Platform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rw {

// Each answers the program's exit status.
[[nodiscard]] int RunInfo(const CliOptions& options);
[[nodiscard]] int RunExport(const CliOptions& options);
[[nodiscard]] int RunImport(const CliOptions& options);
[[nodiscard]] int RunDiff(const CliOptions& options);
[[nodiscard]] int RunUpdate(const CliOptions& options);
[[nodiscard]] int RunFind(const CliOptions& options);

// The kind as --kind names it.
[[nodiscard]] std::string_view KindWord(FileKind kind);

// What told a data file's kind.
enum class KindSource : std::uint8_t { Option, Name, Size };
[[nodiscard]] std::string_view KindSourceWord(KindSource source);

struct DataFileChoice {
    FileKind kind = FileKind::None;
    std::uint8_t key = 0;
    KindSource source = KindSource::Name;
};

// The kind by the bare name, as the editor decides it; None for any other name.
[[nodiscard]] FileKind KindByName(const std::string& file);
// The one kind whose table the file's size is exactly (no two kinds' can be); None when none's is.
[[nodiscard]] FileKind KindBySize(const KindFits& fits);
// Says on standard error that the size told a file's kind.
void SayKindBySize(const std::string& file, FileKind kind);
// The key by --key, or the kind's initial key.
[[nodiscard]] std::uint8_t KeyFor(const CliOptions& options, FileKind kind);
// The choice for a kind, with its key.
[[nodiscard]] DataFileChoice ChoiceOf(const CliOptions& options, FileKind kind, KindSource source);

struct ChosenDataFile {
    std::optional<DataFileChoice> choice;
    int status = 0; // when there is none: the exit status
};
// The kind by --kind, else by the bare name, else by the size when it fits one kind's records
// exactly, which is said. When none tells, says why: a file whose size fits no kind could
// be a damaged table of several, so --kind must say which (bad usage), unless it can be none
// at all (bad data).
[[nodiscard]] ChosenDataFile ChooseDataFile(const CliOptions& options, const std::string& dataFile, const KindFits& fits);

// What a data file's header and size say of each kind; when it cannot be read, a message
// saying why and nothing. Asked before anything else of a file to be read, so that a file
// that is not there is said to be missing rather than badly named.
[[nodiscard]] std::optional<KindFits> ExamineOrComplain(const std::string& dataFile);
// Whether the file can be a table of the kind at all (MisfitOf); when not, says why.
[[nodiscard]] bool FitsOrComplain(const std::string& dataFile, const KindFits& fits, FileKind kind);

// The data file's records; when it cannot be loaded, a message saying why and nothing.
[[nodiscard]] std::optional<DecodedRecords> ReadOrComplain(const std::string& dataFile, const DataFileChoice& choice);
// Says why a data file did not load (or could not be read on).
void ComplainOfLoadFailure(const std::string& dataFile, const DecodeReport& report);

// What a command takes of a file that does not hold what its header counts: an export every
// record the file holds a byte of (the missing bytes of one it ends inside as zeros), a diff
// only the whole ones, since zeros would be compared as values.
enum class GapUse : std::uint8_t { Export, Diff };
// Warns, in the command's words, of records the header counts that the file does not hold
// (for a diff, of a record the file ends inside too) and of bytes after the last record it
// counts.
void WarnOfGaps(const std::string& dataFile, const DecodeReport& report, FileKind kind, GapUse use);

// The file a name on the command line stands for, links followed; "-" is standardStream
// when one is given. Empty when there is none yet or it cannot be examined.
[[nodiscard]] std::optional<FileStamp> IdentityOf(std::string_view name, std::optional<int> standardStream);

// Both name one existing file: writing the one would destroy the other while it is read.
[[nodiscard]] inline bool SameFile(const std::optional<FileStamp>& a, const std::optional<FileStamp>& b)
{
    return a && b && a->SameFileAs(*b);
}

} // namespace rw
