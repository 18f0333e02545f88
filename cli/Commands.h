#pragma once

#include "cli/CliOptions.h"
#include "data/DataFile.h"
#include "data/FileKind.h"
#include "data/KindFit.h"
#include "data/Platform.h"

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

// The kind as --kind names it.
[[nodiscard]] std::string_view KindWord(FileKind kind);

struct DataFileChoice {
    FileKind kind = FileKind::None;
    std::uint8_t key = 0;
};

// The kind by the data file's bare name, as the editor decides it, unless --kind says; the
// key by --key or the kind's initial key. Empty, with a message, when the kind is unknown.
[[nodiscard]] std::optional<DataFileChoice> ChooseDataFile(const CliOptions& options, const std::string& dataFile);

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
