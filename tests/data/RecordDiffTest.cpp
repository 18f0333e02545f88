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

struct Expected {
    Kind kind;
    std::size_t indexA, indexB;
    std::int32_t id;
    std::uint64_t columns = 0;
    bool hidden = false;
};

constexpr std::size_t kNo = kNoRecord;
constexpr std::uint64_t kId = 1u << kIdColumn;
constexpr std::uint64_t kName = 1u << kNameColumn;
constexpr std::uint64_t kFirstField = 1u << 2;

// Both overloads, which must agree.
[[nodiscard]] std::vector<RecordChange> Diff(const Records& a, const Records& b)
{
    const RecordSchema& schema = a.front().Schema();
    const auto images = [](const Records& records) {
        std::vector<std::uint8_t> bytes;
        for (const Record& r : records) bytes.insert(bytes.end(), r.Bytes().begin(), r.Bytes().end());
        return bytes;
    };
    const std::vector<RecordChange> changes = DiffRecords(schema, images(a), images(b));
    const std::vector<RecordChange> called = DiffRecords(
        schema, a.size(), [&](std::size_t i) { return a[i].Bytes(); }, b.size(), [&](std::size_t i) { return b[i].Bytes(); });
    EXPECT_EQ(called.size(), changes.size());
    for (std::size_t k = 0; k < std::min(called.size(), changes.size()); ++k) {
        EXPECT_TRUE(called[k].indexA == changes[k].indexA && called[k].indexB == changes[k].indexB &&
                    called[k].fields.columns == changes[k].fields.columns);
    }
    return changes;
}

struct Case {
    const char* label;
    void (*edit)(Records& a, Records& b);
    std::vector<Expected> expected;
};

void Check(FileKind kind, const Case& c)
{
    Records a = Three(kind);
    Records b = a;
    c.edit(a, b);
    const std::vector<RecordChange> changes = Diff(a, b);
    ASSERT_EQ(changes.size(), c.expected.size()) << c.label << " " << a.front().Schema().fileName;
    for (std::size_t k = 0; k < changes.size(); ++k) {
        const RecordChange& got = changes[k];
        const Expected& want = c.expected[k];
        EXPECT_EQ(std::tie(got.kind, got.indexA, got.indexB, got.id, got.fields.columns, got.fields.hiddenBytes),
                  std::tie(want.kind, want.indexA, want.indexB, want.id, want.columns, want.hidden)) << c.label << " #" << k;
    }
}

TEST(RecordDiff, ChangesWithinRecordsAreFoundAlikeForEveryKind)
{
    const Case cases[] = {
        {"equal", [](Records&, Records&) {}, {}},
        {"a field", [](Records&, Records& b) { b[1].SetValue(2, 7); }, {{Kind::Changed, 1, 1, 20, kFirstField}}},
        {"a name", [](Records&, Records& b) { b[2].SetName("z"); }, {{Kind::Changed, 2, 2, 30, kName}}},
        // The name field ends every record: its length byte and what stands after its end are unseen.
        {"the name's length byte alone", [](Records&, Records& b) { b[1].Bytes()[b[1].Schema().nameLengthOffset] = 9; },
         {{Kind::Changed, 1, 1, 20, 0, true}}},
        {"a byte after the name's end", [](Records&, Records& b) { b[1].Bytes()[b[1].Schema().recordSize - 1] = 'z'; },
         {{Kind::Changed, 1, 1, 20, 0, true}}},
        {"added at the end", [](Records&, Records& b) { b.push_back(Made(b[0].Kind(), 40, "d")); },
         {{Kind::OnlyInB, kNo, 3, 40}}},
        {"several, in A's order", [](Records&, Records& b) { b[2].SetValue(2, 1), b[0].SetName("x"); },
         {{Kind::Changed, 0, 0, 10, kName}, {Kind::Changed, 2, 2, 30, kFirstField}}},
    };
    for (const FileKind kind : kAllKinds) {
        for (const Case& c : cases) Check(kind, c);
    }
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
                const std::vector<RecordChange> changes = Diff(a, b);
                ASSERT_EQ(changes.size(), 1u) << schema.fileName << " byte " << at;
                EXPECT_EQ(std::make_pair(changes[0].fields.hiddenBytes, changes[0].fields.columns), std::make_pair(true, std::uint64_t{0})) << schema.fileName << " byte " << at;
            }
        }
    }
}

TEST(RecordDiff, ItemsAndMonstersArePairedById)
{
    const Case cases[] = {
        {"reordered", [](Records&, Records& b) { std::reverse(b.begin(), b.end()); }, {}},
        {"removed from the middle", [](Records&, Records& b) { b.erase(b.begin() + 1); }, {{Kind::OnlyInA, 1, kNo, 20}}},
        {"an ID changed", [](Records&, Records& b) { b[0].SetId(11); },
         {{Kind::OnlyInA, 0, kNo, 10}, {Kind::OnlyInB, kNo, 0, 11}}},
        // A's order first, then what only B holds in B's order.
        {"reordered, added, removed and changed",
         [](Records& a, Records& b) { b = {a[2], Made(a[0].Kind(), 5, "e"), a[0], Made(a[0].Kind(), -1, "f")}, b[0].SetValue(2, 3); },
         {{Kind::OnlyInA, 1, kNo, 20}, {Kind::Changed, 2, 0, 30, kFirstField}, {Kind::OnlyInB, kNo, 1, 5},
          {Kind::OnlyInB, kNo, 3, -1}}},
        {"a repeated ID: first with first, second with second",
         [](Records& a, Records& b) {
             a.push_back(Made(a[0].Kind(), 20, "x")), b = a;
             b[3].SetName("y"), b.push_back(Made(a[0].Kind(), 20, "z"));
         },
         {{Kind::Changed, 3, 3, 20, kName}, {Kind::OnlyInB, kNo, 4, 20}}},
        {"the lowest and highest IDs", [](Records& a, Records& b) { a[0].SetId(INT32_MIN), b[0].SetId(INT32_MIN), b[2].SetId(INT32_MAX); },
         {{Kind::OnlyInA, 2, kNo, 30}, {Kind::OnlyInB, kNo, 2, INT32_MAX}}},
    };
    for (const FileKind kind : {FileKind::Item, FileKind::Monster}) {
        for (const Case& c : cases) Check(kind, c);
    }
}

TEST(RecordDiff, SpellsArePairedByPosition)
{
    const Case cases[] = {
        {"reordered", [](Records&, Records& b) { std::swap(b[0], b[2]); },
         {{Kind::Changed, 0, 0, 10, kId | kName}, {Kind::Changed, 2, 2, 30, kId | kName}}},
        {"removed from the middle", [](Records&, Records& b) { b.erase(b.begin() + 1); },
         {{Kind::Changed, 1, 1, 20, kId | kName}, {Kind::OnlyInA, 2, kNo, 30}}},
        {"an ID changed", [](Records&, Records& b) { b[0].SetId(11); }, {{Kind::Changed, 0, 0, 10, kId}}},
        {"a repeated ID", [](Records&, Records& b) { b.push_back(b[0]); }, {{Kind::OnlyInB, kNo, 3, 10}}},
        {"the last pair changed", [](Records&, Records& b) { b[2].SetValue(2, 9); }, {{Kind::Changed, 2, 2, 30, kFirstField}}},
        {"the last field", [](Records&, Records& b) { b[1].SetValue(22, 5); }, {{Kind::Changed, 1, 1, 20, std::uint64_t{1} << 22}}},
        {"one more in A, the last pair changed", [](Records& a, Records& b) { a.push_back(Made(FileKind::Magic, 40, "d")), b[2].SetName("z"); },
         {{Kind::Changed, 2, 2, 30, kName}, {Kind::OnlyInA, 3, kNo, 40}}},
    };
    for (const Case& c : cases) Check(FileKind::Magic, c);
}

} // namespace
} // namespace rw
