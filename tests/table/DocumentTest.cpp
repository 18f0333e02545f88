#include "data/DecimalText.h"
#include "table/TableDocument.h"
#include "table/TableEdits.h"
#include "tests/table/TableTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <tuple>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace rw {
namespace {

using test::MakeRecord;

// The table's bytes, row after row.
std::vector<std::uint8_t> TableBytes(const RecordTable& table)
{
    std::vector<std::uint8_t> all;
    for (int row = 0; row < table.RowCount(); ++row) all.insert(all.end(), table.RowBytes(row).begin(), table.RowBytes(row).end());
    return all;
}

// An item column's change by a formula.
BulkChange Formula(int column, const char* text)
{
    return FormulaOf(FileKind::Item, column, *FieldExpression::Parse(text, FileKind::Item).expression);
}

// Everything a failed load must leave as it was.
auto Snapshot(const TableDocument& s)
{
    std::vector<Record> rows;
    for (int row = 0; row < s.Table().RowCount(); ++row) rows.push_back(s.Table().ReadRow(row));
    return std::make_tuple(s.Kind(), s.FileName(), s.FilePath(), s.Sorting().Column(), s.Sorting().Ascending(),
                           s.Modified(), s.Table().ColumnCount(), rows);
}

class DocumentTest : public testing::Test {
protected:
    void WriteRecords(const char* name, FileKind kind, const std::vector<Record>& records)
    {
        test::WriteRecords(m_dir / name, kind, m_keys.For(kind), records);
    }
    std::vector<Record> Write(const char* name, FileKind kind, const std::vector<std::int32_t>& ids)
    {
        const std::vector<Record> records = test::RecordsOf(kind, ids);
        WriteRecords(name, kind, records);
        return records;
    }
    LoadReport Load(const char* name)
    {
        m_document.SetKeys(m_keys);
        return m_document.Load(m_dir / name, name);
    }

    test::TempDir m_dir;
    KeySet m_keys;
    TableDocument m_document;
    TableEdits m_edits{m_document};
};

TEST_F(DocumentTest, FailedLoadsLeaveEverythingAsItWas)
{
    Write("stditem.dat", FileKind::Item, {3, 1, 2});
    ASSERT_TRUE(Load("stditem.dat").Loaded());
    m_edits.ClickHeader(0);
    m_edits.ClickHeader(0);
    ASSERT_TRUE(m_edits.Put(MakeRecord(FileKind::Item, 9), -1).Accepted());

    test::WriteFile(m_dir / "readme.txt", std::string(188, '\x01'));
    test::WriteFile(m_dir / "monster.dat", std::string(252, '\0'));  // count 0
    test::WriteFile(m_dir / "Magic.dat", std::string(124, '\xFF'));  // count -1
    std::vector<std::pair<const char*, bool>> attempts = {{"readme.txt", false}, {"", false}, {"MAGIC.DAT", true},
                                                          {"monster.dat", true}, {"Magic.dat", true}};
#ifndef _WIN32 // a folder beside the loaded file whose name differs only in case: one name on Windows
    std::filesystem::create_directory(m_dir / "STDITEM.DAT");
    attempts.emplace_back("STDITEM.DAT", true);
#endif
    const auto before = Snapshot(m_document);
    for (const auto& [name, namesDataFile] : attempts) {
        const LoadReport report = Load(name);
        EXPECT_FALSE(report.Loaded()) << name;
        EXPECT_EQ(report.NamesDataFile(), namesDataFile) << name;
        EXPECT_TRUE(Snapshot(m_document) == before) << name;
    }
}

TEST_F(DocumentTest, LoadRefusesDuplicatesInFileOrder)
{
    struct Case { const char* name; FileKind kind; std::vector<std::int32_t> ids, rows, refused; };
    const Case cases[] = {
        {"StdItem.dat", FileKind::Item, {5, 1, 5, 2, 5, -1, 1}, {5, 1, 2, -1}, {5, 5, 1}},
        // The count takes record 0's place, so it reads back with ID 0 and a later 0 is refused.
        {"monster.dat", FileKind::Monster, {7, 3, 0, 4}, {0, 3, 4}, {0}},
    };
    m_keys.Set(FileKind::Item, 0x5A);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto records = Write(c.name, c.kind, c.ids);
        m_edits.ClickHeader(2);
        const LoadReport report = Load(c.name);
        ASSERT_TRUE(report.Loaded());
        EXPECT_EQ(report.refusedIds, c.refused);
        EXPECT_EQ(test::Column(m_document.Table(), 0), c.rows);
        EXPECT_EQ(std::pair(m_document.Kind(), m_document.FileName()), std::pair(c.kind, std::string(c.name)));
        EXPECT_EQ(m_document.Table().ReadRow(1), records[1]);
        EXPECT_EQ(m_document.Sorting().Column(), 2); // the sort state outlives loads
    }
}

// A save over the loaded file asks first when another program has changed it since: by its
// bytes, whichever name reaches it and however it was replaced.
TEST_F(DocumentTest, TellsWhetherTheLoadedFileChangedOnDisk)
{
    const auto path = m_dir / "stditem.dat";
    const auto write = [&](const std::vector<std::int32_t>& ids) { Write("stditem.dat", FileKind::Item, ids); };
    const auto overwriteByte = [&](std::streamoff at, char byte) { // in place, the file itself kept
        std::fstream inPlace(path, std::ios::in | std::ios::out | std::ios::binary);
        inPlace.seekp(at);
        inPlace.put(byte);
    };
    write({1, 2});
    ASSERT_TRUE(Load("stditem.dat").Loaded());
#ifdef _WIN32 // symbolic links need a privilege there (Wine has none): the name itself stands in
    const auto link = path;
#else
    const auto link = m_dir / "link.dat";
    std::filesystem::create_symlink("stditem.dat", link);
#endif
    std::filesystem::create_hard_link(path, m_dir / "hard.dat");
    EXPECT_FALSE(m_document.ChangedOnDisk(path));
    EXPECT_FALSE(m_document.ChangedOnDisk(link));
    EXPECT_FALSE(m_document.ChangedOnDisk(m_dir / "other.dat"));
    overwriteByte(4, '\x55');
    EXPECT_TRUE(m_document.ChangedOnDisk(m_dir / "hard.dat")) << "the same file by another name";
    std::filesystem::remove(m_dir / "hard.dat");

    write({1, 2, 3}); // replaced by rename: a new file under the name
    EXPECT_TRUE(m_document.ChangedOnDisk(path));
    EXPECT_TRUE(m_document.ChangedOnDisk(link));
    Write("other.dat", FileKind::Item, {9});
    EXPECT_FALSE(m_document.ChangedOnDisk(m_dir / "other.dat"));

    // The same bytes written again are no change; one byte in place is.
    write({1, 2});
    EXPECT_FALSE(m_document.ChangedOnDisk(path));
    overwriteByte(100, static_cast<char>(test::ReadFile(path)[100] ^ 1));
    EXPECT_TRUE(m_document.ChangedOnDisk(path));

    // Our own save over it is what was loaded from then on; a save elsewhere is not.
    ASSERT_TRUE(m_document.WriteFile(path).Saved());
    EXPECT_FALSE(m_document.ChangedOnDisk(path));
    ASSERT_TRUE(m_document.WriteFile(m_dir / "copy.dat").Saved());
    EXPECT_FALSE(m_document.ChangedOnDisk(path));

#ifndef _WIN32
    // What cannot be read under the name may be anything: asked about, as a change.
    std::filesystem::remove(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    EXPECT_TRUE(m_document.ChangedOnDisk(path));
#endif
    std::filesystem::remove(path);
    EXPECT_FALSE(m_document.ChangedOnDisk(path)) << "nothing left to lose";
}

// A record dialog's commit follows the duplicate-ID rule, and the ID index follows changed and
// deleted IDs.
TEST_F(DocumentTest, APutFollowsTheDuplicateIdRule)
{
    using Ids = std::vector<std::int32_t>;
    struct Case { const char* what; FileKind kind; int row; std::int32_t id; PutOutcome outcome; Ids after; };
    const Case cases[] = {
        {"own ID into its row", FileKind::Item, 4, 14, PutOutcome::Accepted, {10, 11, 12, 13, 14, 15}},
        {"another row's ID", FileKind::Item, 4, 15, PutOutcome::DuplicateId, {10, 11, 12, 13, 14, 15}},
        {"new ID into a row", FileKind::Item, 4, 99, PutOutcome::Accepted, {10, 11, 12, 13, 99, 15}},
        // A monster file keeps no ID for its first record: it loads as 0.
        {"appended new ID", FileKind::Monster, -1, 99, PutOutcome::Accepted, {0, 11, 12, 13, 14, 15, 99}},
        {"magic keeps duplicates", FileKind::Magic, -1, 10, PutOutcome::Accepted, {10, 11, 12, 13, 14, 15, 10}},
        {"row past the end", FileKind::Item, 6, 99, PutOutcome::NoSuchRow, {10, 11, 12, 13, 14, 15}},
        {"duplicate before no such row", FileKind::Item, 6, 12, PutOutcome::DuplicateId, {10, 11, 12, 13, 14, 15}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string name(SchemaOf(c.kind).fileName);
        Write(name.c_str(), c.kind, {10, 11, 12, 13, 14, 15});
        ASSERT_TRUE(Load(name.c_str()).Loaded());
        const Record record = MakeRecord(c.kind, c.id, "new", 7);
        const PutResult result = m_edits.Put(record, c.row);
        EXPECT_EQ(std::pair(result.outcome, result.id), std::pair(c.outcome, c.id));
        EXPECT_EQ(test::Column(m_document.Table(), kIdColumn), c.after);
        EXPECT_EQ(m_document.History().count(), result.Accepted() ? 1 : 0);
        if (result.Accepted()) {
            EXPECT_EQ(m_document.Table().ReadRow(result.row), record); // hidden bytes too
        }
    }

    Write("stditem.dat", FileKind::Item, {1, 2, 3});
    ASSERT_TRUE(Load("stditem.dat").Loaded());
    EXPECT_EQ(m_edits.Put(MakeRecord(FileKind::Magic, 9), -1).outcome, PutOutcome::WrongKind);
    ASSERT_TRUE(m_edits.Put(MakeRecord(FileKind::Item, 20), 1).Accepted());
    EXPECT_TRUE(m_edits.Put(MakeRecord(FileKind::Item, 2), -1).Accepted());
    EXPECT_EQ(m_edits.Put(MakeRecord(FileKind::Item, 20), -1).outcome, PutOutcome::DuplicateId);
    ASSERT_TRUE(m_edits.DeleteRow(0));
    EXPECT_TRUE(m_edits.Put(MakeRecord(FileKind::Item, 1), -1).Accepted());
    EXPECT_EQ(test::Column(m_document.Table(), kIdColumn), (Ids{20, 3, 2, 1}));
}

// Every change is a step of the history: undone to the load, the document is unmodified and
// saves the very bytes it loaded; redone, it saves what the edits made. The marks of what
// changed follow the bytes, not the steps.
TEST_F(DocumentTest, EveryChangeUndoesExactlyAndTheUnsavedStateFollowsTheHistory)
{
    Write("stditem.dat", FileKind::Item, {5, 1, 3, 9});
    ASSERT_TRUE(Load("stditem.dat").Loaded());
    const auto loaded = test::ReadFile(m_dir / "stditem.dat");
    std::vector<StepLabel> labels;
    m_edits.SetStepNamer([&](const StepLabel& label) { return labels.push_back(label), QString(); });
    const RecordTable& table = m_document.Table();

    ASSERT_TRUE(m_edits.Put(MakeRecord(FileKind::Item, 1, "x", 77), 1).Accepted()); // modify ID 1
    ASSERT_TRUE(m_edits.Put(MakeRecord(FileKind::Item, 20, "new"), -1).Accepted());
    const RowKey keyOf9 = table.KeyOfRow(3);
    m_edits.ClickHeader(kIdColumn);                                                  // 1 3 5 9 20
    ASSERT_TRUE(m_edits.DeleteRow(1));                                               // 1 5 9 20
    ASSERT_TRUE(m_edits.PutByKey(MakeRecord(FileKind::Item, 9, "", 99), keyOf9).Accepted());
    EXPECT_TRUE(m_edits.Put(table.ReadRow(0), 0).Accepted()); // no change, no step
    EXPECT_EQ(test::Column(table, kIdColumn), (std::vector<std::int32_t>{1, 5, 9, 20}));
    ASSERT_EQ(m_document.History().count(), 5);
    const auto labelOf = [](const StepLabel& l) { return std::make_tuple(l.kind, l.column, l.id, l.count); };
    ASSERT_GE(labels.size(), 5u); // the sort's and the deletion's are named in EditTest's undo texts
    EXPECT_EQ(labelOf(labels[0]), std::make_tuple(StepKind::Modify, -1, 1, std::size_t{1}));

    // What changed since the load: 1 (changed), 3 (deleted), 9 (changed), 20 (added).
    EXPECT_EQ(m_document.Model().ChangedRecordCount(), 4u);
    EXPECT_TRUE(m_document.Model().IsCellChanged(0, 2) && m_document.Model().IsCellChanged(0, kNameColumn));
    EXPECT_FALSE(m_document.Model().IsCellChanged(0, kIdColumn) || m_document.Model().IsCellChanged(1, 2));
    EXPECT_TRUE(m_document.Model().IsAddedRow(3) && !m_document.Model().IsAddedRow(0));
    ASSERT_TRUE(m_document.WriteFile(m_dir / "edited.dat").Saved());
    const auto edited = test::ReadFile(m_dir / "edited.dat");
    EXPECT_FALSE(m_document.Modified());
    EXPECT_EQ(m_document.Model().ChangedRecordCount(), 0u) << "a save is the new baseline";

    while (m_document.History().canUndo()) m_document.History().undo();
    EXPECT_TRUE(m_document.Modified()) << "the save is the clean state now";
    ASSERT_TRUE(m_document.WriteFile(m_dir / "undone.dat").Saved());
    EXPECT_EQ(test::ReadFile(m_dir / "undone.dat"), loaded);

    while (m_document.History().canRedo()) m_document.History().redo();
    ASSERT_TRUE(m_document.WriteFile(m_dir / "redone.dat").Saved());
    EXPECT_EQ(test::ReadFile(m_dir / "redone.dat"), edited);

    // A key kept from before a load names nothing after it, and the history is gone.
    ASSERT_TRUE(Load("stditem.dat").Loaded());
    EXPECT_EQ(m_edits.PutByKey(MakeRecord(FileKind::Item, 9), keyOf9).outcome, PutOutcome::NoSuchRow);
    EXPECT_EQ(m_document.History().count(), 0);
    EXPECT_FALSE(m_document.Modified());
}

// The contract of every kind of step: done, undone, done again, the table holds the very
// bytes, in the very order, each time; undone, it is what was loaded, with no record marked
// as changed; done, the records it changed are marked (a new order changes none).
TEST_F(DocumentTest, EveryKindOfStepUndoesAndRedoesToTheSameBytes)
{
    WriteRecords("other.dat", FileKind::Item, {MakeRecord(FileKind::Item, 1, "o", 8), MakeRecord(FileKind::Item, 7, "seven")});
    const std::vector<Record> imported{MakeRecord(FileKind::Item, 3, "i", 3), MakeRecord(FileKind::Item, 1, "i", 1),
                                       MakeRecord(FileKind::Item, 4, "i", 4)};
    TableEdits& e = m_edits;
    struct Case { StepKind kind; std::function<void()> act; };
    const Case cases[] = {
        {StepKind::Modify, [&] { (void)e.Put(MakeRecord(FileKind::Item, 1, "x", 77), 1); }},
        {StepKind::Add, [&] { (void)e.Put(MakeRecord(FileKind::Item, 20, "new"), -1); }},
        {StepKind::Delete, [&] { (void)e.DeleteRows({0, 2}); }},
        {StepKind::Sort, [&] { (void)e.ClickHeader(kIdColumn); }},
        {StepKind::EditCell, [&] { (void)e.EditCell(2, kNameColumn, QStringLiteral("named")); }},
        {StepKind::Paste, [&] { (void)e.PasteRecords({MakeRecord(FileKind::Item, 30, "p")}); }},
        {StepKind::CopyAsNew, [&] { (void)e.CopyAsNew({3, 0}); }},
        {StepKind::BulkChange, [&] {
             (void)e.ChangeRows({0, 1, 3}, ChangeOf(FileKind::Item, 2, BulkOperation::Add, FieldExpression::Number(FileKind::Item, Rational(5))));
         }},
        {StepKind::Import, [&] { e.ImportRecords(FileKind::Item, test::StoreOf(FileKind::Item, imported)); }},
        {StepKind::TakeOver, [&] { (void)e.TakeOver(m_document.CurrentComparison()->OnlyInOther(m_document.Table())); }},
        {StepKind::TakeValue, [&] { (void)e.TakeOtherValues({1}, kNameColumn); }},
        {StepKind::Formula, [&] { (void)e.ChangeRows({0, 2}, Formula(2, "ItemID*2")); }},
    };
    ASSERT_EQ(std::size(cases), static_cast<std::size_t>(StepKind::Formula) + 1) << "a case for every kind";
    const auto bytes = [&] { return TableBytes(m_document.Table()); };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        Write("stditem.dat", FileKind::Item, {5, 1, 3, 9});
        ASSERT_TRUE(Load("stditem.dat").Loaded());
        ASSERT_TRUE(m_document.CompareWith(m_dir / "other.dat", "other.dat").loaded);
        std::vector<StepKind> kinds;
        m_edits.SetStepNamer([&](const StepLabel& label) { return kinds.push_back(label.kind), QString(); });
        const auto loaded = bytes();
        c.act();
        ASSERT_EQ(m_document.History().count(), 1);
        EXPECT_EQ(kinds, std::vector<StepKind>{c.kind});
        const auto done = bytes();
        EXPECT_NE(done, loaded);
        for (int round = 0; round < 2; ++round) {
            m_document.History().undo();
            EXPECT_EQ(bytes(), loaded) << round;
            EXPECT_FALSE(m_document.Modified());
            EXPECT_EQ(m_document.Model().ChangedRecordCount(), 0u);
            m_document.History().redo();
            EXPECT_EQ(bytes(), done) << round;
            EXPECT_TRUE(m_document.Modified());
            EXPECT_EQ(m_document.Model().ChangedRecordCount() == 0, c.kind == StepKind::Sort);
        }
    }
}

TEST_F(DocumentTest, ManyRowsAtOnceAreOneStepOrNothing)
{
    const std::vector<std::int32_t> ids{10, 20, 30, 40, 50}, field{-10, -5, 0, 5, 10};
    std::vector<Record> records;
    for (std::size_t i = 0; i < ids.size(); ++i) records.push_back(MakeRecord(FileKind::Item, ids[i], {}, field[i]));
    WriteRecords("stditem.dat", FileKind::Item, records);
    ASSERT_TRUE(Load("stditem.dat").Loaded());
    const auto column = [&](int k) { return test::Column(m_document.Table(), k); };

    // The values' own rounding, range and ID cases are BulkChangeTest's; here each outcome once.
    struct Case { const char* what; std::vector<int> rows; BulkChange change; BulkChangeResult::Outcome outcome;
                  std::vector<int> named; std::vector<std::int32_t> field; };
    const auto by = [](int column, BulkOperation operation, const char* operand) {
        return ChangeOf(FileKind::Item, column, operation, FieldExpression::Number(FileKind::Item, ParseDecimal(operand).value));
    };
    using enum BulkOperation;
    using O = BulkChangeResult::Outcome;
    const Case cases[] = {
        {"set", {4, 0, 4}, by(2, Set, "7"), O::Done, {}, {7, -5, 0, 5, 7}},
        {"out of range", {0, 1, 2, 3}, by(2, Multiply, "500000000"), O::OutOfRange, {0, 1, 3}, field},
        {"ID onto a row left alone", {0, 1}, by(kIdColumn, Add, "10"), O::DuplicateId, {1}, field},
        {"name column is no number", {0}, by(kNameColumn, Set, "1"), O::Done, {}, field},
        {"formula", {0, 2, 4}, Formula(2, "ItemID/4-Stdmode"), O::Done, {}, {13, -5, 8, 5, 3}},
        {"formula dividing by zero", {1, 2, 3}, Formula(2, "ItemID/Stdmode"), O::DivisionByZero, {2}, field},
        {"formula giving IDs", {0, 1}, Formula(kIdColumn, "ItemID-ItemID+15"), O::DuplicateId, {0, 1}, field},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const BulkChangeResult result = m_edits.ChangeRows(c.rows, c.change);
        EXPECT_EQ(std::pair(result.outcome, result.rows), std::pair(c.outcome, c.named));
        EXPECT_EQ(column(kIdColumn), ids);
        EXPECT_EQ(column(2), c.field);
        EXPECT_EQ(m_document.History().index(), c.field != field ? 1 : 0);
        if (c.field != field) m_document.History().undo();
        EXPECT_EQ(column(2), field);
    }
}

// The ID rule over rows that sorting and deleting have moved away from their slots: a row's ID
// is free to the change when that row is changed too, wherever its slot is; a preview says what
// the change would do. (A formula's step is named by its formula in EditTest's undo texts.)
TEST_F(DocumentTest, ChangesOfIdsFollowRowsNotSlotsAfterSortingAndDeleting)
{
    Write("stditem.dat", FileKind::Item, {10, 20, 30, 40, 50});
    ASSERT_TRUE(Load("stditem.dat").Loaded());
    const RecordTable& table = m_document.Table();
    m_edits.ClickHeader(kIdColumn);
    if (table.IdOfRow(0) != 50) m_edits.ClickHeader(kIdColumn);
    ASSERT_TRUE(m_edits.DeleteRows({2})); // 30
    const std::vector<std::int32_t> ids{50, 40, 20, 10};
    ASSERT_EQ(test::Column(table, kIdColumn), ids);
    const auto formula = [](const char* text) { return Formula(kIdColumn, text); };
    using O = BulkChangeResult::Outcome;
    struct Case { std::vector<int> rows; const char* formula; O outcome; std::vector<int> named; std::vector<std::int32_t> after; };
    const Case cases[] = {
        {{2, 3}, "ItemID-10", O::Done, {}, {50, 40, 10, 0}},  // 10 is given up by its own row
        {{0}, "10", O::DuplicateId, {0}, ids},                // 10 is kept by the last row
        {{0, 3}, "60-ItemID", O::Done, {}, {10, 40, 20, 50}}, // 50 and 10 swapped
        {{1}, "ItemID-20", O::DuplicateId, {1}, ids},
        {{0, 1, 2, 3}, "ItemID+10", O::Done, {}, {60, 50, 30, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        const BulkPreview preview = m_edits.PreviewChange(c.rows, formula(c.formula));
        EXPECT_EQ(preview.refusal.outcome, c.outcome);
        EXPECT_EQ(preview.changing, c.outcome == O::Done ? c.rows.size() : 0u);
        const BulkChangeResult result = m_edits.ChangeRows(c.rows, formula(c.formula));
        EXPECT_EQ(std::pair(result.outcome, result.rows), std::pair(c.outcome, c.named));
        EXPECT_EQ(test::Column(table, kIdColumn), c.after);
        if (c.outcome != O::Done) continue;
        m_document.History().undo();
        EXPECT_EQ(test::Column(table, kIdColumn), ids);
    }
    const BulkPreview preview = m_edits.PreviewChange({3, 0}, formula("ItemID*3")); // 30 was deleted: free
    ASSERT_EQ(preview.first.size(), 2u);
    EXPECT_EQ(std::make_tuple(preview.first[0].id, preview.first[0].before, preview.first[0].after), std::make_tuple(50, 50, 150));
    EXPECT_EQ(std::make_tuple(preview.first[1].id, preview.first[1].before, preview.first[1].after), std::make_tuple(10, 10, 30));
}

// Copies get fresh IDs past the largest, up to the last ID there is, or none at all; a magic
// table keeps the copies' IDs, as it keeps any repeated ID. A copy holds its record's bytes.
TEST_F(DocumentTest, CopiesGetIdsPastTheLargestUpToTheLastThereIs)
{
    struct Case { const char* name; FileKind kind; std::vector<std::int32_t> ids; std::vector<int> rows, after; };
    const Case cases[] = {
        {"stditem.dat", FileKind::Item, {10, 30, 20}, {2, 0}, {10, 30, 20, 31, 32}},
        {"stditem.dat", FileKind::Item, {2147483646, 5}, {0, 1}, {2147483646, 5}},
        {"stditem.dat", FileKind::Item, {2147483646, 5}, {1}, {2147483646, 5, 2147483647}},
        {"magic.dat", FileKind::Magic, {4, 4}, {1}, {4, 4, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ids.front() << " copies " << c.rows.size());
        Write(c.name, c.kind, c.ids);
        ASSERT_TRUE(Load(c.name).Loaded());
        const RecordTable& table = m_document.Table();
        const std::size_t added = c.after.size() - c.ids.size();
        EXPECT_EQ(m_edits.CopyAsNew(c.rows), added);
        EXPECT_EQ(test::Column(table, kIdColumn), c.after);
        if (added == 0) continue;
        Record copy = table.ReadRow(table.RowCount() - 1);
        copy.SetId(c.ids[static_cast<std::size_t>(c.rows.back())]);
        EXPECT_EQ(copy, table.ReadRow(c.rows.back()));
    }
}

// The duplicate-ID rule asked by every path that gives many records IDs at once: an ID the
// table holds, or one an earlier record of the same request takes, is refused, however far
// apart the two stand; spells may repeat IDs. Rows deleted at once, one step, hold their IDs
// again when the step is undone.
TEST_F(DocumentTest, EveryPathRefusesAnIdTakenTwiceHoweverFarApart)
{
    using Ids = std::vector<std::int32_t>;
    const Ids ids{10, 20, 30, 40, 50};
    Write("stditem.dat", FileKind::Item, ids);
    Write("other.dat", FileKind::Item, {5, 6, 5, 10});
    ASSERT_TRUE(Load("stditem.dat").Loaded());
    const RecordTable& table = m_document.Table();
    const auto idsNow = [&] { return test::Column(table, kIdColumn); };
    EXPECT_EQ(m_edits.DeleteRows({4, 1, 1, 3, 9}), 3u);
    EXPECT_EQ(idsNow(), (Ids{10, 30}));
    m_document.History().undo(); // one step, undone to the very bytes: the step contract's Delete
    EXPECT_EQ(std::make_tuple(table.RowWithId(20), table.RowWithId(40), table.RowWithId(50)), std::make_tuple(1, 3, 4));
    EXPECT_EQ(m_edits.Put(MakeRecord(FileKind::Item, 20), -1).outcome, PutOutcome::DuplicateId);

    struct Case { const char* what; std::vector<QString> texts; CellsResult::Outcome outcome; std::vector<int> named; };
    using O = CellsResult::Outcome;
    const Case cells[] = {
        {"5, 6, 5", {"5", "6", "5"}, O::DuplicateId, {0, 2}},
        {"onto a row left alone", {"7", "40", "8"}, O::DuplicateId, {1}},
        {"IDs passed round the rows written", {"30", "10", "20"}, O::Done, {}},
    };
    for (const Case& c : cells) {
        SCOPED_TRACE(c.what);
        const CellsResult result = m_edits.SetCells({0, 1, 2}, kIdColumn, c.texts);
        EXPECT_EQ(std::pair(result.outcome, result.rows), std::pair(c.outcome, c.named));
        if (c.outcome == O::Done) {
            EXPECT_EQ(idsNow(), (Ids{30, 10, 20, 40, 50}));
            EXPECT_EQ(std::make_tuple(table.RowWithId(30), table.RowWithId(10), table.RowWithId(20)), std::make_tuple(0, 1, 2));
            m_document.History().undo();
            EXPECT_EQ(std::make_tuple(table.RowWithId(10), table.RowWithId(20), table.RowWithId(30)), std::make_tuple(0, 1, 2));
        }
        EXPECT_EQ(idsNow(), ids);
    }

    EXPECT_EQ(m_edits.PasteRecords(test::RecordsOf(FileKind::Item, {5, 6, 5, 10})), (Ids{5, 10}));
    EXPECT_EQ(idsNow(), (Ids{10, 20, 30, 40, 50, 5, 6}));
    m_document.History().undo();

    ASSERT_TRUE(m_document.CompareWith(m_dir / "other.dat", "other.dat").loaded);
    EXPECT_EQ(m_edits.TakeOver({0, 1, 2, 3}), (Ids{5, 10}));
    EXPECT_EQ(idsNow(), (Ids{10, 20, 30, 40, 50, 5, 6}));

    Write("magic.dat", FileKind::Magic, {5});
    ASSERT_TRUE(Load("magic.dat").Loaded());
    EXPECT_TRUE(m_edits.PasteRecords(test::RecordsOf(FileKind::Magic, {5, 5})).empty());
    EXPECT_EQ(m_edits.SetCells({0, 1, 2}, kIdColumn, {"6", "7", "6"}).outcome, O::Done);
    EXPECT_EQ(idsNow(), (Ids{6, 7, 6}));
}

// A save proposes the name up to its first dot followed by "2"; a name without a dot is a
// stem as a whole. A table imported with nothing open is named by its kind, then by its save.
TEST_F(DocumentTest, ProposedSaveNameKeepsTheStem)
{
    m_edits.ImportRecords(FileKind::Magic, test::StoreOf(FileKind::Magic, {MakeRecord(FileKind::Magic, 4)}));
    EXPECT_EQ(m_document.ProposedSaveName(), "magic"); // the kind's name: no file yet
    ASSERT_TRUE(m_document.WriteFile(m_dir / "spells.dat").Saved());
    EXPECT_EQ(std::pair(m_document.FilePath(), m_document.FileName()), std::pair(m_dir / "spells.dat", std::string("spells.dat")));

    const std::pair<const char*, const char*> cases[] = {
        {"stditem.dat", "stditem2"}, {"Monster.Dat", "Monster2"}, {"MONSTER", "MONSTER2"}, {"magic.dat.bak", "magic2"}};
    for (const auto& [name, proposed] : cases) {
        Write(name, FileKind::Monster, {0, 1});
        m_document.SetKeys(m_keys);
        ASSERT_TRUE(m_document.Load(m_dir / name, name, FileKind::Monster).Loaded()) << name;
        EXPECT_EQ(m_document.ProposedSaveName(), proposed);
    }
}

// An import is one step (undone and redone as every kind of step is), and marks only what
// changed: by ID for items and monsters, by position for spells.
TEST_F(DocumentTest, AnImportIsOneStepThatMarksOnlyWhatChanged)
{
    struct Case { const char* name; FileKind kind; std::vector<std::int32_t> before; std::vector<Record> imported; std::size_t changed; };
    const Case cases[] = {
        {"stditem.dat", FileKind::Item, {1, 2, 3},
         {MakeRecord(FileKind::Item, 3), MakeRecord(FileKind::Item, 1, "new"), MakeRecord(FileKind::Item, 9)}, 3},
        {"magic.dat", FileKind::Magic, {5, 5, 6}, {MakeRecord(FileKind::Magic, 5), MakeRecord(FileKind::Magic, 7)}, 2},
        {"monster.dat", FileKind::Monster, {0, 4, 8},
         {MakeRecord(FileKind::Monster, 0), MakeRecord(FileKind::Monster, 4), MakeRecord(FileKind::Monster, 8)}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Write(c.name, c.kind, c.before);
        ASSERT_TRUE(Load(c.name).Loaded());
        m_edits.ImportRecords(c.kind, test::StoreOf(c.kind, c.imported));
        EXPECT_EQ(TableBytes(m_document.Table()), TableBytes(test::TableOf(c.kind, c.imported)));
        EXPECT_EQ(m_document.Model().ChangedRecordCount(), c.changed); // added, changed or deleted since the load
        EXPECT_EQ(m_document.History().count(), 1);
    }
}

TEST_F(DocumentTest, MarksFollowSortingAndEditingAndRecordsOnlyThereCanBeTakenOver)
{
    WriteRecords("other.dat", FileKind::Item,
                 {MakeRecord(FileKind::Item, 1), MakeRecord(FileKind::Item, 2, "b", 7), MakeRecord(FileKind::Item, 4)});
    Write("stditem.dat", FileKind::Item, {3, 2, 1});
    ASSERT_TRUE(Load("stditem.dat").Loaded());
    ASSERT_TRUE(m_document.CompareWith(m_dir / "other.dat", "other.dat").loaded);
    const Comparison& comparison = *m_document.CurrentComparison();
    EXPECT_EQ(comparison.DifferingRows(), 1u);
    EXPECT_EQ(comparison.RowsOnlyHere(), 1u);
    ASSERT_EQ(comparison.OnlyInOther(m_document.Table()), std::vector<std::size_t>{2});

    const auto differences = [&](std::int32_t id) {
        return comparison.DifferencesOf(m_document.Table(), m_document.Table().RowWithId(id));
    };
    EXPECT_EQ(differences(2).columns, (1u << kNameColumn) | (1u << 2));
    m_edits.ClickHeader(kIdColumn);
    EXPECT_EQ(differences(2).columns, (1u << kNameColumn) | (1u << 2));
    EXPECT_FALSE(differences(1).Any());
    ASSERT_TRUE(m_edits.EditCell(m_document.Table().RowWithId(2), 2, "7").Accepted());
    EXPECT_EQ(differences(2).columns, 1u << kNameColumn);
    ASSERT_TRUE(m_edits.EditCell(m_document.Table().RowWithId(1), 2, "5").Accepted());
    EXPECT_EQ(differences(1).columns, 1u << 2);
    EXPECT_TRUE(comparison.CounterpartOf(m_document.Table(), m_document.Table().RowWithId(3)).empty());

    EXPECT_TRUE(m_edits.TakeOver({2}).empty());
    EXPECT_FALSE(differences(4).Any());
    EXPECT_TRUE(comparison.OnlyInOther(m_document.Table()).empty());
    EXPECT_EQ(m_edits.TakeOver({2}), std::vector<std::int32_t>{4}); // held already: refused
}

TEST_F(DocumentTest, SpellsArePairedByPositionAndTakenOverSpellsStayPaired)
{
    WriteRecords("old.dat", FileKind::Magic,
                 {MakeRecord(FileKind::Magic, 1), MakeRecord(FileKind::Magic, 1, "x"), MakeRecord(FileKind::Magic, 3)});
    Write("magic.dat", FileKind::Magic, {1, 1});
    ASSERT_TRUE(Load("magic.dat").Loaded());
    ASSERT_TRUE(m_document.CompareWith(m_dir / "old.dat", "old.dat").loaded);
    const Comparison& comparison = *m_document.CurrentComparison();
    EXPECT_EQ(comparison.DifferingRows(), 1u);
    ASSERT_EQ(comparison.OnlyInOther(m_document.Table()), std::vector<std::size_t>{2});
    EXPECT_TRUE(m_edits.TakeOver({2}).empty());
    EXPECT_FALSE(comparison.DifferencesOf(m_document.Table(), 2).Any());
    EXPECT_FALSE(comparison.CounterpartOf(m_document.Table(), 2).empty());
    // A load ends the comparison: its records belong to another table.
    ASSERT_TRUE(Load("magic.dat").Loaded());
    EXPECT_EQ(m_document.CurrentComparison(), nullptr);
}

} // namespace
} // namespace rw
