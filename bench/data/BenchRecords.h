#pragma once

// A large item table for measuring: plausible records, the same on every run.

#include "data/FileKind.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace rw::bench {

// count item records back to back, deciphered.
[[nodiscard]] std::vector<std::uint8_t> MakeItemRecords(std::size_t count);

// The same table as a new version of it would be: every 100th record's price changed, every
// 1000th record removed, and count / 1000 records added after the largest ID.
[[nodiscard]] std::vector<std::uint8_t> MakeEditedItemRecords(std::size_t count);

// A file name in a folder of the benchmark's own under the temporary folder, which goes with
// everything in it when the program ends.
[[nodiscard]] std::filesystem::path ScratchPath(const char* name);

} // namespace rw::bench
