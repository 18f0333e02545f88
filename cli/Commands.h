#pragma once

#include "cli/CliOptions.h"
#include "data/DataFile.h"
#include "data/FileKind.h"

#include <cstdint>
#include <optional>
#include <string>

namespace rw {

// Each answers the program's exit status.
[[nodiscard]] int RunInfo(const CliOptions& options);
[[nodiscard]] int RunExport(const CliOptions& options);
[[nodiscard]] int RunImport(const CliOptions& options);

struct DataFileChoice {
    FileKind kind = FileKind::None;
    std::uint8_t key = 0;
};

// The kind by the data file's bare name, as the editor decides it, unless --kind says; the
// key by --key or the kind's initial key. Empty, with a message, when the kind is unknown.
[[nodiscard]] std::optional<DataFileChoice> ChooseDataFile(const CliOptions& options, const std::string& dataFile);

// The data file's records; when it cannot be loaded, a message saying why and nothing.
[[nodiscard]] std::optional<DecodedRecords> ReadOrComplain(const std::string& dataFile, const DataFileChoice& choice);

} // namespace rw
