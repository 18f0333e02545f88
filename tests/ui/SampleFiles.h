#pragma once

// Small data files of our own for the window tests.

#include "data/DataFile.h"
#include "data/KeySet.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace rw::test {

struct SampleFile {
    FileKind kind = FileKind::Item;
    std::vector<std::int32_t> ids;        // one record each, named "N<id>"
    std::optional<std::int32_t> header = std::nullopt; // a header count other than ids.size()
    std::uint8_t key = KeySet{}.For(kind);
};

// Writes the file and answers its path.
QString WriteSample(const QString& path, const SampleFile& sample);

} // namespace rw::test
