#include "table/TableDocument.h"
#include "tests/table/TableTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

namespace rw {
namespace {

using test::MakeRecord;

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
    std::vector<Record> Write(const char* name, FileKind kind, const std::vector<std::int32_t>& ids)
    {
        std::vector<Record> records;
        for (std::int32_t id : ids) records.push_back(MakeRecord(kind, id));
        test::WriteRecords(m_dir / name, kind, m_keys.For(kind), records);
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
};

TEST_F(DocumentTest, FailedLoadsLeaveEverythingAsItWas)
{
    Write("stditem.dat", FileKind::Item, {3, 1, 2});
    ASSERT_TRUE(Load("stditem.dat").Loaded());
    m_document.ClickHeader(0);
    m_document.ClickHeader(0);
    ASSERT_TRUE(m_document.Put(MakeRecord(FileKind::Item, 9), -1).Accepted());

    test::WriteFile(m_dir / "readme.txt", std::string(188, '\x01'));
    test::WriteFile(m_dir / "monster.dat", std::string(252, '\0'));  // count 0
    test::WriteFile(m_dir / "Magic.dat", std::string(124, '\xFF'));  // count -1
    std::filesystem::create_directory(m_dir / "STDITEM.DAT");
    const auto before = Snapshot(m_document);
    const std::pair<const char*, bool> attempts[] = {{"readme.txt", false}, {"", false}, {"MAGIC.DAT", true},
                                                     {"monster.dat", true}, {"Magic.dat", true}, {"STDITEM.DAT", true}};
    for (const auto& [name, namesDataFile] : attempts) {
        const LoadReport report = Load(name);
        EXPECT_FALSE(report.Loaded()) << name;
        EXPECT_EQ(report.NamesDataFile(), namesDataFile) << name;
        EXPECT_TRUE(Snapshot(m_document) == before) << name;
    }
    // Nor do refused edits change anything.
    ASSERT_TRUE(m_document.SaveAs(m_dir / "elsewhere.dat").written);
    const auto saved = Snapshot(m_document);
    EXPECT_FALSE(m_document.DeleteRow(4));
    EXPECT_EQ(m_document.Put(MakeRecord(FileKind::Item, 9), 0).outcome, PutOutcome::DuplicateId);
    EXPECT_TRUE(Snapshot(m_document) == saved);
}

TEST_F(DocumentTest, LoadRefusesDuplicatesInFileOrder)
{
    struct Case { const char* name; FileKind kind; std::vector<std::int32_t> ids, rows, refused; };
    const Case cases[] = {
        {"StdItem.dat", FileKind::Item, {5, 1, 5, 2, 5, -1, 1}, {5, 1, 2, -1}, {5, 5, 1}},
        {"magic.dat", FileKind::Magic, {4, 4, 4}, {4, 4, 4}, {}},
        // The count takes record 0's place, so it reads back with ID 0 and a later 0 is refused.
        {"monster.dat", FileKind::Monster, {7, 3, 0, 4}, {0, 3, 4}, {0}},
    };
    m_keys.Set(FileKind::Item, 0x5A);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto records = Write(c.name, c.kind, c.ids);
        m_document.ClickHeader(2);
        const LoadReport report = Load(c.name);
        ASSERT_TRUE(report.Loaded());
        EXPECT_EQ(report.refusedIds, c.refused);
        EXPECT_EQ(test::Column(m_document.Table(), 0), c.rows);
        EXPECT_EQ(m_document.Kind(), c.kind);
        EXPECT_EQ(m_document.FileName(), c.name);
        EXPECT_EQ(m_document.Table().ReadRow(1), records[1]);
        EXPECT_EQ(m_document.Sorting().Column(), 2); // the sort state outlives loads
    }
    Write("magic.dat", FileKind::Magic, {1, 2, 3});
    std::filesystem::resize_file(m_dir / "magic.dat", 4 + 120 + 1);
    EXPECT_TRUE(Load("magic.dat").decode.Truncated());
    EXPECT_EQ(m_document.Table().RowCount(), 2);
}

// A save over the loaded file asks first when another program has changed it since: by its
// bytes, whichever name reaches it and however it was replaced.
TEST_F(DocumentTest, TellsWhetherTheLoadedFileChangedOnDisk)
{
    const auto path = m_dir / "stditem.dat";
    const auto write = [&](const std::vector<std::int32_t>& ids) { Write("stditem.dat", FileKind::Item, ids); };
    write({1, 2});
    ASSERT_TRUE(Load("stditem.dat").Loaded());
    std::filesystem::create_symlink("stditem.dat", m_dir / "link.dat");
    std::filesystem::create_hard_link(path, m_dir / "hard.dat");
    EXPECT_FALSE(m_document.ChangedOnDisk(path));
    EXPECT_FALSE(m_document.ChangedOnDisk(m_dir / "link.dat"));
    EXPECT_FALSE(m_document.ChangedOnDisk(m_dir / "other.dat"));
    {
        std::fstream inPlace(path, std::ios::in | std::ios::out | std::ios::binary);
        inPlace.seekp(4);
        inPlace.put('\x55');
    }
    EXPECT_TRUE(m_document.ChangedOnDisk(m_dir / "hard.dat")) << "the same file by another name";
    std::filesystem::remove(m_dir / "hard.dat");

    write({1, 2, 3}); // replaced by rename: a new file under the name
    EXPECT_TRUE(m_document.ChangedOnDisk(path));
    EXPECT_TRUE(m_document.ChangedOnDisk(m_dir / "link.dat"));
    Write("other.dat", FileKind::Item, {9});
    EXPECT_FALSE(m_document.ChangedOnDisk(m_dir / "other.dat"));

    // The same bytes written again are no change; one byte in place is.
    write({1, 2});
    EXPECT_FALSE(m_document.ChangedOnDisk(path));
    auto bytes = test::ReadFile(path);
    bytes[100] ^= 1;
    {
        std::fstream inPlace(path, std::ios::in | std::ios::out | std::ios::binary);
        inPlace.seekp(100);
        inPlace.put(static_cast<char>(bytes[100]));
    }
    EXPECT_TRUE(m_document.ChangedOnDisk(path));

    // Our own save over it is what was loaded from then on; a save elsewhere is not.
    ASSERT_TRUE(m_document.SaveAs(path).written);
    EXPECT_FALSE(m_document.ChangedOnDisk(path));
    ASSERT_TRUE(m_document.SaveAs(m_dir / "copy.dat").written);
    EXPECT_FALSE(m_document.ChangedOnDisk(path));

    std::filesystem::remove(path);
    EXPECT_FALSE(m_document.ChangedOnDisk(path)) << "nothing left to lose";
}

} // namespace
} // namespace rw
