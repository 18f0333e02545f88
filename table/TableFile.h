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

namespace rw {

struct LoadReport {
    FileKind kind = FileKind::None; // from the bare name; None when it names no data file
    DecodeReport decode;            // the codec's answer: loaded, truncation, the system's reason
    std::size_t refused = 0;        // records refused by the duplicate-ID rule

    [[nodiscard]] bool NamesDataFile() const { return kind != FileKind::None; }
    [[nodiscard]] bool Loaded() const { return NamesDataFile() && decode.loaded; }
};

struct LoadedTable {
    LoadReport report;
    std::optional<RecordTable> table; // present exactly when report.Loaded()
};

// Takes the kind from bareName, reads path with that kind's key and builds a table in file
// order; each record refused by the duplicate-ID rule goes to onRefused (may be empty) while
// the load waits.
[[nodiscard]] LoadedTable LoadDataFile(const std::filesystem::path& path, std::string_view bareName,
                                       const KeySet& keys, const RefusedIdHandler& onRefused);

// Writes every row, in current order and whole, with key.
WriteReport SaveDataFile(const std::filesystem::path& path, const RecordTable& table, std::uint8_t key);

} // namespace rw
