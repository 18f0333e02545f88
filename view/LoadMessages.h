#pragma once

// What the user is told about a load: why a file did not load, and which records a load left
// out as duplicates.

#include "data/DataFile.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace rw {

// Why a file that names a data file did not load, in the user's words, with the system's own
// after them where it has some.
[[nodiscard]] QString LoadFailureReason(const DecodeReport& report);

// How many records were left out and their IDs: each once, in the order of its first refusal,
// with how often it was refused; the first ten, the rest counted.
[[nodiscard]] QString RefusedRecordsSummary(const std::vector<std::int32_t>& ids);

} // namespace rw
