#include "data/FieldDifferences.h"

#include "data/RecordBytes.h"

#include <cassert>
#include <cstring>

namespace rw {

FieldDifferences CompareRecordImages(const RecordSchema& schema, std::span<const std::uint8_t> a,
                                     std::span<const std::uint8_t> b)
{
    assert(a.size() == schema.recordSize && b.size() == schema.recordSize);
    FieldDifferences out;
    if (std::memcmp(a.data(), b.data(), schema.recordSize) == 0) return out;
    for (int k = 0; k < schema.ColumnCount(); ++k) {
        const ColumnSpec& column = schema.Column(k);
        const bool differs = column.role == ColumnRole::Name
                                 ? ReadShortName(schema, a.data()) != ReadShortName(schema, b.data())
                                 : std::memcmp(a.data() + column.offset, b.data() + column.offset, 4) != 0;
        if (differs) out.columns |= std::uint64_t{1} << k;
    }
    for (const ByteRange& range : schema.hidden) {
        if (std::memcmp(a.data() + range.begin, b.data() + range.begin, range.Size()) != 0) out.hiddenBytes = true;
    }
    // The length byte and the name field beyond the name: unseen unless the name itself shows it.
    if (!out.Column(kNameColumn)) {
        const std::size_t begin = schema.nameLengthOffset;
        const std::size_t size = schema.recordSize - begin;
        if (std::memcmp(a.data() + begin, b.data() + begin, size) != 0) out.hiddenBytes = true;
    }
    return out;
}

} // namespace rw
