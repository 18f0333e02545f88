// DiffRecords over any two record sets, checked against the plainest pairing there is: each
// record of A in turn takes the first record of B not yet taken that has its ID (items and
// monsters) or stands at its place (spells).
// First byte the kind, second where the rest is cut into A and B and whether IDs are narrowed
// to a few values so that they repeat; then the records.

#include "fuzz/FuzzCheck.h"
#include "data/RecordBytes.h"
#include "data/RecordDiff.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using namespace rw;

struct Expected {
    RecordChange::Kind kind;
    std::size_t indexA, indexB;
};

[[nodiscard]] std::vector<Expected> PlainDiff(const RecordSchema& schema, const std::vector<std::uint8_t>& a,
                                              const std::vector<std::uint8_t>& b)
{
    const std::size_t size = schema.recordSize;
    const std::size_t countA = a.size() / size;
    const std::size_t countB = b.size() / size;
    std::vector<std::size_t> partner(countA, kNoRecord);
    std::vector<bool> taken(countB);
    for (std::size_t i = 0; i < countA; ++i) {
        for (std::size_t j = 0; j < countB; ++j) {
            const bool fits = schema.uniqueIds ? LoadInt32(&a[i * size]) == LoadInt32(&b[j * size]) : i == j;
            if (taken[j] || !fits) continue;
            partner[i] = j;
            taken[j] = true;
            break;
        }
    }
    std::vector<Expected> out;
    for (std::size_t i = 0; i < countA; ++i) {
        if (partner[i] == kNoRecord) {
            out.push_back({RecordChange::Kind::OnlyInA, i, kNoRecord});
        } else if (std::memcmp(&a[i * size], &b[partner[i] * size], size) != 0) {
            out.push_back({RecordChange::Kind::Changed, i, partner[i]});
        }
    }
    for (std::size_t j = 0; j < countB; ++j) {
        if (!taken[j]) out.push_back({RecordChange::Kind::OnlyInB, kNoRecord, j});
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const RecordSchema& schema = SchemaOf(FileKindFromInt(data[0] % 3));
    const bool narrowIds = data[1] & 1;
    std::vector<std::uint8_t> records(data + 2, data + size);
    records.resize(records.size() / schema.recordSize * schema.recordSize);
    const std::size_t count = records.size() / schema.recordSize;
    if (narrowIds) {
        for (std::size_t i = 0; i < count; ++i) {
            std::uint8_t* id = &records[i * schema.recordSize];
            StoreInt32(id, (LoadInt32(id) & 7) - 4);
        }
    }
    const std::size_t cut = count * (data[1] >> 1) / 127 * schema.recordSize;
    const std::vector<std::uint8_t> a(records.begin(), records.begin() + static_cast<std::ptrdiff_t>(std::min(cut, records.size())));
    const std::vector<std::uint8_t> b(records.begin() + static_cast<std::ptrdiff_t>(a.size()), records.end());

    const std::vector<RecordChange> changes = DiffRecords(schema, a, b);
    const std::vector<Expected> expected = PlainDiff(schema, a, b);
    Require(changes.size() == expected.size());
    for (std::size_t k = 0; k < changes.size(); ++k) {
        const RecordChange& change = changes[k];
        Require(change.kind == expected[k].kind && change.indexA == expected[k].indexA && change.indexB == expected[k].indexB);
        const bool inA = change.kind != RecordChange::Kind::OnlyInB;
        const std::uint8_t* record = inA ? &a[change.indexA * schema.recordSize] : &b[change.indexB * schema.recordSize];
        Require(change.id == LoadInt32(record));
        if (change.kind == RecordChange::Kind::Changed) {
            const FieldDifferences fields = CompareRecordImages(
                schema, {record, schema.recordSize}, {&b[change.indexB * schema.recordSize], schema.recordSize});
            Require(fields.Any() && fields.columns == change.fields.columns && fields.hiddenBytes == change.fields.hiddenBytes);
        } else {
            Require(!change.fields.Any());
        }
    }
    return 0;
}
