#pragma once

// Where an import's records go: the data file, written as they come; or, for standard output,
// a device or a pipe, which must have the count first, a spill file they wait in; or, without
// a folder for that, memory. Opened at the first record, when the kind is known (a CSV's
// header may be what tells it).

#include "cli/CliOptions.h"
#include "data/DataFile.h"
#include "data/FileKind.h"
#include "data/RecordStore.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace rw {

class ImportTarget {
public:
    // target: -o's value, "-" for standard output.
    ImportTarget(const CliOptions& options, std::string target);

    [[nodiscard]] bool IsOpen() const { return m_kind != FileKind::None; }
    void Open(FileKind kind);
    // record: one record image of the kind's size.
    void Append(std::span<const std::uint8_t> record);
    // Puts the file in place or sends it out; the exit status.
    [[nodiscard]] int Finish();

private:
    [[nodiscard]] int Written(const WriteReport& written) const;
    // The records that waited in the spill file, after their count, to the output.
    [[nodiscard]] int Emit();

    const CliOptions& m_options;
    std::string m_target;
    FileKind m_kind = FileKind::None;
    std::uint8_t m_key = 0;
    std::optional<DataFileWriter> m_writer;
    std::optional<SpilledDataFile> m_spill;
    std::optional<RecordStore> m_held;
};

} // namespace rw
