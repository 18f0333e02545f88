#pragma once

// How well a file's size agrees with each kind of table: the count in its header says how
// many bytes a table of that kind would hold. A file whose name tells no kind (a backup, a
// copy) is told by this, and a file read as a kind that does not fit it loads garbage, which a
// save would then write back over it.

#include "data/FileKind.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

namespace rw {

struct KindFit {
    FileKind kind = FileKind::None;
    std::int32_t count = 0;          // the header's count
    std::uint64_t fileSize = 0;
    std::uint64_t expectedSize = 0;  // what a file of that many records of this kind holds

    // A header of zero or fewer records is no table of any kind.
    [[nodiscard]] bool HasRecords() const { return count > 0; }
    [[nodiscard]] bool Exact() const { return HasRecords() && expectedSize == fileSize; }
    [[nodiscard]] std::uint64_t MissingBytes() const { return expectedSize > fileSize ? expectedSize - fileSize : 0; }
    [[nodiscard]] std::uint64_t ExtraBytes() const { return fileSize > expectedSize ? fileSize - expectedSize : 0; }
    // What the kind leaves unexplained; the whole file when the header counts no records.
    [[nodiscard]] std::uint64_t UnexplainedBytes() const
    {
        return HasRecords() ? MissingBytes() + ExtraBytes() : fileSize;
    }
};

[[nodiscard]] KindFit FitOfKind(FileKind kind, std::int32_t count, std::uint64_t fileSize);

// One entry per kind, in kAllKinds' order.
using KindFits = std::array<KindFit, kAllKinds.size()>;
[[nodiscard]] KindFits FitsOf(std::int32_t count, std::uint64_t fileSize);
// The entry of one kind (not None).
[[nodiscard]] const KindFit& FitFor(const KindFits& fits, FileKind kind);

// The kind a file most likely holds. One count never fits two kinds exactly (4 + 184n,
// 4 + 120n and 252n are never equal for one n), so a fit is a sure answer.
struct KindGuess {
    // The kind whose size fits; failing that, the one that leaves the fewest bytes unexplained
    // (None when the header counts no records).
    FileKind best = FileKind::None;
    bool exact = false;
};
[[nodiscard]] KindGuess GuessKind(const KindFits& fits);

// Why a file cannot be a table of a kind at all, whatever damage a table of it may have come to
// (cut short, bytes after its records): reading it as one would read garbage.
enum class Misfit : std::uint8_t {
    None,         // it can be
    NoRecords,    // its header counts none
    OtherKind,    // another kind fits its size exactly (GuessKind names it): it is that kind's table
    CountTooLarge // its header counts more than kMaxTableBytes of records, which it does not hold
};
// No table a server keeps comes near this (a million items take 184 MB), while the first four
// bytes of text, or of a zip archive such as a workbook, read as a count of tens of millions
// or more: "Item" as 1,835,365,449.
inline constexpr std::uint64_t kMaxTableBytes = std::uint64_t{4} << 30;
[[nodiscard]] Misfit MisfitOf(const KindFits& fits, FileKind kind);

// The fits of the file at path, from its header and size; the system's reason when it cannot
// be read (a file that is not a regular file is refused with std::errc::invalid_argument).
struct FileFits {
    KindFits fits{};
    std::error_code error;
    bool notRegularFile = false;
    [[nodiscard]] bool Ok() const { return !error && !notRegularFile; }
};
[[nodiscard]] FileFits FitsOfFile(const std::filesystem::path& path);

} // namespace rw
