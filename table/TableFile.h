#pragma once

// A data file into a new table and a table back into a data file. A load builds a table of
// its own and hands it over only when the file was read, so a failed load can leave the
// table that was open untouched.

#include "data/DataFile.h"
#include "data/KeySet.h"
#include "table/RecordTable.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace rw {

struct LoadReport {
    FileKind kind = FileKind::None; // from the bare name; None when it names no data file
    DecodeReport decode;            // the codec's answer: loaded or why not, truncation, trailing bytes
    std::vector<std::int32_t> refusedIds; // of the records the duplicate-ID rule kept out, in file order

    [[nodiscard]] bool NamesDataFile() const { return kind != FileKind::None; }
    [[nodiscard]] bool Loaded() const { return NamesDataFile() && decode.loaded; }
};

struct LoadedTable {
    LoadReport report;
    std::optional<RecordTable> table; // present exactly when report.Loaded()
};

// Takes the kind from bareName, reads path with that kind's key and builds a table in file
// order, leaving out the records the duplicate-ID rule refuses. A table too large for the
// memory at hand is reported as such, never thrown.
[[nodiscard]] LoadedTable LoadDataFile(const std::filesystem::path& path, std::string_view bareName,
                                       const KeySet& keys);
// The same, for a file of the kind given, whatever its name.
[[nodiscard]] LoadedTable LoadDataFileOfKind(const std::filesystem::path& path, FileKind kind, const KeySet& keys);

// Every row, in current order and whole, for a data file's writer.
[[nodiscard]] RecordSource RowsOf(const RecordTable& table);
// Writes every row, in current order and whole, with key.
WriteReport SaveDataFile(const std::filesystem::path& path, const RecordTable& table, std::uint8_t key);

} // namespace rw
