#include "data/RecordDiff.h"

#include "data/RecordBytes.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace rw {
namespace {

constexpr std::uint32_t kUnpaired = 0xFFFFFFFF;

// A record's ID and place in one number that sorts by ID, then by place: two sets' sorted
// keys pair the first record of an ID in one with the first in the other, and so on.
[[nodiscard]] std::uint64_t KeyOf(std::int32_t id, std::size_t index)
{
    const std::uint32_t idOrder = static_cast<std::uint32_t>(id) ^ 0x80000000u; // signed order
    return (std::uint64_t{idOrder} << 32) | index;
}

[[nodiscard]] std::uint32_t IdOrderOfKey(std::uint64_t key) { return static_cast<std::uint32_t>(key >> 32); }
[[nodiscard]] std::uint32_t IndexOfKey(std::uint64_t key) { return static_cast<std::uint32_t>(key); }

template <typename At>
[[nodiscard]] std::vector<std::uint64_t> SortedKeys(std::size_t count, const At& at)
{
    std::vector<std::uint64_t> keys(count);
    for (std::size_t i = 0; i < count; ++i) keys[i] = KeyOf(LoadInt32(at(i).data()), i);
    // Most tables are kept in ID order: checking costs a pass, sorting them would cost twenty.
    if (!std::is_sorted(keys.begin(), keys.end())) std::sort(keys.begin(), keys.end());
    return keys;
}

// For each record of A, the place of its partner in B, or kUnpaired.
template <typename AtA, typename AtB>
[[nodiscard]] std::vector<std::uint32_t> PairById(std::size_t countA, const AtA& a, std::size_t countB, const AtB& b)
{
    const std::vector<std::uint64_t> keysA = SortedKeys(countA, a);
    const std::vector<std::uint64_t> keysB = SortedKeys(countB, b);
    std::vector<std::uint32_t> partner(countA, kUnpaired);
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < keysA.size() && j < keysB.size()) {
        const std::uint32_t idA = IdOrderOfKey(keysA[i]);
        const std::uint32_t idB = IdOrderOfKey(keysB[j]);
        if (idA < idB) {
            ++i;
        } else if (idB < idA) {
            ++j;
        } else {
            partner[IndexOfKey(keysA[i++])] = IndexOfKey(keysB[j++]);
        }
    }
    return partner;
}

template <typename AtA, typename AtB>
[[nodiscard]] std::vector<RecordChange> Diff(const RecordSchema& schema, std::size_t countA, const AtA& a,
                                             std::size_t countB, const AtB& b)
{
    assert(countA < kUnpaired && countB < kUnpaired);
    using Kind = RecordChange::Kind;
    std::vector<RecordChange> changes;
    const auto compare = [&](std::size_t i, std::size_t j) {
        const std::span<const std::uint8_t> recordA = a(i);
        const std::span<const std::uint8_t> recordB = b(j);
        // Nearly every pair of two versions of a table is equal to the byte: only the others
        // are taken apart field by field.
        if (std::memcmp(recordA.data(), recordB.data(), schema.recordSize) == 0) return;
        changes.push_back({Kind::Changed, i, j, LoadInt32(recordA.data()), CompareRecordImages(schema, recordA, recordB)});
    };
    const auto onlyInA = [&](std::size_t i) { changes.push_back({Kind::OnlyInA, i, kNoRecord, LoadInt32(a(i).data()), {}}); };
    const auto onlyInB = [&](std::size_t j) { changes.push_back({Kind::OnlyInB, kNoRecord, j, LoadInt32(b(j).data()), {}}); };

    if (PairingOf(schema) == RecordPairing::ByPosition) {
        const std::size_t common = std::min(countA, countB);
        for (std::size_t i = 0; i < common; ++i) compare(i, i);
        for (std::size_t i = common; i < countA; ++i) onlyInA(i);
        for (std::size_t j = common; j < countB; ++j) onlyInB(j);
        return changes;
    }

    const std::vector<std::uint32_t> partner = PairById(countA, a, countB, b);
    std::vector<bool> pairedInB(countB);
    for (std::size_t i = 0; i < countA; ++i) {
        if (partner[i] == kUnpaired) {
            onlyInA(i);
        } else {
            pairedInB[partner[i]] = true;
            compare(i, partner[i]);
        }
    }
    for (std::size_t j = 0; j < countB; ++j) {
        if (!pairedInB[j]) onlyInB(j);
    }
    return changes;
}

// Record i of images back to back.
class ImagesAt {
public:
    ImagesAt(std::span<const std::uint8_t> images, std::size_t recordSize) : m_images(images), m_size(recordSize) {}
    [[nodiscard]] std::size_t Count() const { return m_images.size() / m_size; }
    [[nodiscard]] std::span<const std::uint8_t> operator()(std::size_t i) const { return m_images.subspan(i * m_size, m_size); }

private:
    std::span<const std::uint8_t> m_images;
    std::size_t m_size;
};

} // namespace

std::vector<RecordChange> DiffRecords(const RecordSchema& schema, std::size_t countA, const RecordAt& a,
                                      std::size_t countB, const RecordAt& b)
{
    return Diff(schema, countA, a, countB, b);
}

std::vector<RecordChange> DiffRecords(const RecordSchema& schema, std::span<const std::uint8_t> a,
                                      std::span<const std::uint8_t> b)
{
    const ImagesAt atA(a, schema.recordSize);
    const ImagesAt atB(b, schema.recordSize);
    return Diff(schema, atA.Count(), atA, atB.Count(), atB);
}

} // namespace rw
