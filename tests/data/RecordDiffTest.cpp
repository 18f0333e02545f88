#include "data/Record.h"
#include "data/RecordDiff.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <vector>

namespace rw {
namespace {

using Kind = RecordChange::Kind;
using Records = std::vector<Record>;

[[nodiscard]] Record Made(FileKind kind, std::int32_t id, const char* name)
{
    Record record(kind);
    record.SetId(id);
    record.SetName(name);
    return record;
}

// Records with IDs 10, 20, 30 and names a, b, c.
[[nodiscard]] Records Three(FileKind kind) { return {Made(kind, 10, "a"), Made(kind, 20, "b"), Made(kind, 30, "c")}; }

constexpr std::uint64_t kId = 1u << kIdColumn;
constexpr std::uint64_t kName = 1u << kNameColumn;
constexpr std::uint64_t kFirstField = 1u << 2;

// A change as compared: its kind, its records in A and in B, its ID, the columns that differ
// and whether hidden bytes do.
using Change = std::tuple<Kind, std::size_t, std::size_t, std::int32_t, std::uint64_t, bool>;
[[nodiscard]] Change Changed(std::size_t a, std::size_t b, std::int32_t id, std::uint64_t columns, bool hidden = false)
{
    return {Kind::Changed, a, b, id, columns, hidden};
}
[[nodiscard]] Change OnlyInA(std::size_t a, std::int32_t id) { return {Kind::OnlyInA, a, kNoRecord, id, 0, false}; }
[[nodiscard]] Change OnlyInB(std::size_t b, std::int32_t id) { return {Kind::OnlyInB, kNoRecord, b, id, 0, false}; }

// Both overloads, which must agree.
[[nodiscard]] std::vector<Change> Diff(const Records& a, const Records& b)
{
    const auto seen = [](const std::vector<RecordChange>& changes) {
        std::vector<Change> out;
        for (const RecordChange& c : changes) out.emplace_back(c.kind, c.indexA, c.indexB, c.id, c.fields.columns, c.fields.hiddenBytes);
        return out;
    };
    const auto images = [](const Records& records) {
        std::vector<std::uint8_t> bytes;
        for (const Record& r : records) bytes.insert(bytes.end(), r.Bytes().begin(), r.Bytes().end());
        return bytes;
    };
    const RecordSchema& schema = a.front().Schema();
    const std::vector<Change> changes = seen(DiffRecords(schema, images(a), images(b)));
    EXPECT_EQ(seen(DiffRecords(schema, a.size(), [&](std::size_t i) { return a[i].Bytes(); }, b.size(), [&](std::size_t i) { return b[i].Bytes(); })),
              changes);
    return changes;
}

struct Case { const char* label; void (*edit)(Records& a, Records& b); std::vector<Change> expected; };

void Check(FileKind kind, const Case& c)
{
    Records a = Three(kind);
    Records b = a;
    c.edit(a, b);
    EXPECT_EQ(Diff(a, b), c.expected) << c.label << " " << a.front().Schema().fileName;
}

TEST(RecordDiff, ChangesWithinRecordsAreFoundAlikeForEveryKind)
{
    const Case cases[] = {
        {"equal", [](Records&, Records&) {}, {}},
        {"a field", [](Records&, Records& b) { b[1].SetValue(2, 7); }, {Changed(1, 1, 20, kFirstField)}},
        {"a name", [](Records&, Records& b) { b[2].SetName("z"); }, {Changed(2, 2, 30, kName)}},
        // The name field ends every record: its length byte and what stands after its end are unseen.
        {"the name's length byte alone", [](Records&, Records& b) { b[1].Bytes()[b[1].Schema().nameLengthOffset] = 9; },
         {Changed(1, 1, 20, 0, true)}},
        {"a byte after the name's end", [](Records&, Records& b) { b[1].Bytes()[b[1].Schema().recordSize - 1] = 'z'; },
         {Changed(1, 1, 20, 0, true)}},
        {"added at the end", [](Records&, Records& b) { b.push_back(Made(b[0].Kind(), 40, "d")); }, {OnlyInB(3, 40)}},
        {"several, in A's order", [](Records&, Records& b) { b[2].SetValue(2, 1), b[0].SetName("x"); },
         {Changed(0, 0, 10, kName), Changed(2, 2, 30, kFirstField)}},
    };
    for (const FileKind kind : kAllKinds) for (const Case& c : cases) Check(kind, c);
}

// Each hidden range is compared to its last byte, and each byte of it alone tells.
TEST(RecordDiff, EveryHiddenRangeIsComparedFromItsFirstToItsLastByte)
{
    for (const FileKind kind : kAllKinds) {
        const RecordSchema& schema = SchemaOf(kind);
        for (const ByteRange& range : schema.hidden) {
            for (const std::size_t at : {std::size_t{range.begin}, std::size_t{range.end} - 1u}) {
                Records a = Three(kind);
                Records b = a;
                b[2].Bytes()[at] ^= 0x80;
                EXPECT_EQ(Diff(a, b), std::vector<Change>{Changed(2, 2, 30, 0, true)}) << schema.fileName << " byte " << at;
            }
        }
    }
}

TEST(RecordDiff, ItemsAndMonstersArePairedById)
{
    const Case cases[] = {
        {"reordered", [](Records&, Records& b) { std::reverse(b.begin(), b.end()); }, {}},
        {"removed from the middle", [](Records&, Records& b) { b.erase(b.begin() + 1); }, {OnlyInA(1, 20)}},
        {"an ID changed", [](Records&, Records& b) { b[0].SetId(11); }, {OnlyInA(0, 10), OnlyInB(0, 11)}},
        // A's order first, then what only B holds in B's order.
        {"reordered, added, removed and changed",
         [](Records& a, Records& b) { b = {a[2], Made(a[0].Kind(), 5, "e"), a[0], Made(a[0].Kind(), -1, "f")}, b[0].SetValue(2, 3); },
         {OnlyInA(1, 20), Changed(2, 0, 30, kFirstField), OnlyInB(1, 5), OnlyInB(3, -1)}},
        {"a repeated ID: first with first, second with second",
         [](Records& a, Records& b) {
             a.push_back(Made(a[0].Kind(), 20, "x")), b = a;
             b[3].SetName("y"), b.push_back(Made(a[0].Kind(), 20, "z"));
         },
         {Changed(3, 3, 20, kName), OnlyInB(4, 20)}},
        {"the lowest and highest IDs", [](Records& a, Records& b) { a[0].SetId(INT32_MIN), b[0].SetId(INT32_MIN), b[2].SetId(INT32_MAX); },
         {OnlyInA(2, 30), OnlyInB(2, INT32_MAX)}},
    };
    for (const FileKind kind : {FileKind::Item, FileKind::Monster}) for (const Case& c : cases) Check(kind, c);
}

TEST(RecordDiff, SpellsArePairedByPosition)
{
    const Case cases[] = {
        {"reordered", [](Records&, Records& b) { std::swap(b[0], b[2]); }, {Changed(0, 0, 10, kId | kName), Changed(2, 2, 30, kId | kName)}},
        {"removed from the middle", [](Records&, Records& b) { b.erase(b.begin() + 1); }, {Changed(1, 1, 20, kId | kName), OnlyInA(2, 30)}},
        {"an ID changed", [](Records&, Records& b) { b[0].SetId(11); }, {Changed(0, 0, 10, kId)}},
        {"a repeated ID", [](Records&, Records& b) { b.push_back(b[0]); }, {OnlyInB(3, 10)}},
        {"the last pair changed", [](Records&, Records& b) { b[2].SetValue(2, 9); }, {Changed(2, 2, 30, kFirstField)}},
        {"the last field", [](Records&, Records& b) { b[1].SetValue(22, 5); }, {Changed(1, 1, 20, std::uint64_t{1} << 22)}},
        {"one more in A, the last pair changed", [](Records& a, Records& b) { a.push_back(Made(FileKind::Magic, 40, "d")), b[2].SetName("z"); },
         {Changed(2, 2, 30, kName), OnlyInA(3, 40)}},
    };
    for (const Case& c : cases) Check(FileKind::Magic, c);
}

} // namespace
} // namespace rw
