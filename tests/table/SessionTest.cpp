#include "table/TableSession.h"
#include "tests/table/TableTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace rw {
namespace {

using test::MakeRecord;

// Everything a failed load must leave as it was.
struct Snapshot {
    FileKind kind;
    std::string fileName;
    std::filesystem::path filePath;
    int sortColumn;
    bool ascending;
    bool modified;
    int columns;
    std::vector<Record> rows;

    explicit Snapshot(const TableSession& s)
        : kind(s.Kind()), fileName(s.FileName()), filePath(s.FilePath()), sortColumn(s.Sorting().Column()),
          ascending(s.Sorting().Ascending()), modified(s.Modified()), columns(s.Table().ColumnCount())
    {
        for (int row = 0; row < s.Table().RowCount(); ++row) rows.push_back(s.Table().ReadRow(row));
    }
    bool operator==(const Snapshot&) const = default;
};

class SessionTest : public testing::Test {
protected:
    std::vector<Record> Write(const char* name, FileKind kind, const std::vector<std::int32_t>& ids)
    {
        std::vector<Record> records;
        for (std::int32_t id : ids) records.push_back(MakeRecord(kind, id));
        test::WriteRecords(m_dir / name, kind, m_keys.For(kind), records);
        return records;
    }
    LoadReport Load(const char* name)
    {
        return m_session.Load(m_dir / name, name, m_keys, [&](std::string_view id) { m_refused.emplace_back(id); });
    }

    test::TempDir m_dir;
    KeySet m_keys;
    TableSession m_session;
    std::vector<std::string> m_refused;
};

TEST_F(SessionTest, FailedLoadsLeaveEverythingAsItWas)
{
    Write("stditem.dat", FileKind::Item, {3, 1, 2});
    ASSERT_TRUE(Load("stditem.dat").Loaded());
    m_session.ClickHeader(0);
    m_session.ClickHeader(0);
    ASSERT_TRUE(m_session.Put(MakeRecord(FileKind::Item, 9), -1).Accepted());

    std::ofstream(m_dir / "readme.txt") << std::string(188, '\x01');
    std::ofstream(m_dir / "monster.dat") << std::string(252, '\0');            // count 0
    std::ofstream(m_dir / "Magic.dat") << std::string(124, '\xFF');            // count -1
    std::filesystem::create_directory(m_dir / "STDITEM.DAT");
    const Snapshot before(m_session);
    const std::vector<std::pair<const char*, bool>> attempts{
        {"readme.txt", false}, {"", false}, {"MAGIC.DAT", true}, {"monster.dat", true}, {"Magic.dat", true},
        {"STDITEM.DAT", true}};
    for (const auto& [name, namesDataFile] : attempts) {
        const LoadReport report = Load(name);
        EXPECT_FALSE(report.Loaded()) << name;
        EXPECT_EQ(report.NamesDataFile(), namesDataFile) << name;
        EXPECT_TRUE(Snapshot(m_session) == before) << name;
    }
}

TEST_F(SessionTest, LoadRefusesDuplicatesInFileOrder)
{
    struct Case {
        const char* name;
        FileKind kind;
        std::vector<std::int32_t> ids;
        std::vector<std::int32_t> rows;
        std::vector<std::string> refused;
    };
    const std::vector<Case> cases{
        {"StdItem.dat", FileKind::Item, {5, 1, 5, 2, 5, -1}, {5, 1, 2, -1}, {"5", "5"}},
        {"magic.dat", FileKind::Magic, {4, 4, 4}, {4, 4, 4}, {}},
        // The count takes record 0's place, so it reads back with ID 0 and a later 0 is refused.
        {"monster.dat", FileKind::Monster, {7, 3, 0, 4}, {0, 3, 4}, {"0"}},
    };
    m_keys.Set(FileKind::Item, 0x5A);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto records = Write(c.name, c.kind, c.ids);
        m_session.ClickHeader(2);
        m_refused.clear();
        const LoadReport report = Load(c.name);
        ASSERT_TRUE(report.Loaded());
        EXPECT_EQ(m_refused, c.refused);
        EXPECT_EQ(report.refused, c.refused.size());
        EXPECT_EQ(test::Column(m_session.Table(), 0), c.rows);
        EXPECT_EQ(m_session.Kind(), c.kind);
        EXPECT_EQ(m_session.FileName(), c.name);
        EXPECT_EQ(m_session.Table().ReadRow(1), records[1]);
        EXPECT_EQ(m_session.Sorting().Column(), 2); // the sort state outlives loads
    }
    Write("magic.dat", FileKind::Magic, {1, 2, 3});
    std::filesystem::resize_file(m_dir / "magic.dat", 4 + 120 + 1);
    const LoadReport truncated = Load("magic.dat");
    EXPECT_TRUE(truncated.decode.Truncated());
    EXPECT_EQ(m_session.Table().RowCount(), 2);
}

TEST_F(SessionTest, ChangesAreTrackedAndSaveWritesWholeRowsInOrder)
{
    Write("stditem.dat", FileKind::Item, {3, 1, 2});
    ASSERT_TRUE(Load("stditem.dat").Loaded());
    m_session.ClickHeader(0);
    EXPECT_EQ(m_session.Put(MakeRecord(FileKind::Item, 2), -1).outcome, PutOutcome::DuplicateId);
    EXPECT_FALSE(m_session.Modified()); // neither sorting nor a refused put changes a record
    EXPECT_TRUE(m_session.Put(MakeRecord(FileKind::Item, 1, "x"), 0).Accepted());
    EXPECT_TRUE(m_session.Modified());
    m_session.MarkSaved();
    EXPECT_FALSE(m_session.DeleteRow(7));
    EXPECT_FALSE(m_session.Modified());
    EXPECT_TRUE(m_session.DeleteRow(2));
    EXPECT_TRUE(m_session.Modified());

    ASSERT_TRUE(SaveDataFile(m_dir / "stditem2.dat", m_session.Table(), 99).written);
    const DecodedRecords back = ReadDataFile(m_dir / "stditem2.dat", FileKind::Item, 99);
    ASSERT_EQ(back.Count(), 2u);
    for (int row = 0; row < 2; ++row) EXPECT_EQ(Record(FileKind::Item, back.RecordAt(row)), m_session.Table().ReadRow(row));
}

} // namespace
} // namespace rw
