// recwright-cli with the names and files a user on any system has: Chinese folders and files,
// a save over an existing table, and (on Windows) a table another program holds open.

#include "system/Platform.h"
#include "tests/cli/ProgramRun.h"
#include "tests/data/TestFiles.h"

#include <gtest/gtest.h>

#include "tests/WindowsApi.h"

#include <set>

namespace rw::test {
namespace {

const std::filesystem::path kSamples = RECWRIGHT_SAMPLES_DIR;

class CliNames : public ::testing::Test {
protected:
    TempDir m_dir;
    std::filesystem::path m_folder = m_dir.Path() / PathFromUtf8("服务端 数据");

    void SetUp() override { ASSERT_TRUE(std::filesystem::create_directory(m_folder)); }

    [[nodiscard]] std::string In(const std::string& name) const { return Utf8FromPath(m_folder / PathFromUtf8(name)); }
    [[nodiscard]] ProgramRun Cli(const std::vector<std::string>& args) const
    {
        return RunProgram(RECWRIGHT_CLI, args, m_dir.Path());
    }
    [[nodiscard]] std::set<std::string> Names() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder)) names.insert(Utf8FromPath(entry.path().filename()));
        return names;
    }
};

// Each sample out to a CSV of a Chinese name and back into a table of a Chinese name, in
// each encoding, gives the sample's bytes; the second import replaces the first's file.
TEST_F(CliNames, ChineseNamesExportAndImportTheSamples)
{
    struct Case { const char* sample; const char* kind; const char* table; };
    const Case cases[] = {{"stditem.dat", "item", "物品.dat"}, {"magic.dat", "magic", "技能表.dat"}, {"monster.dat", "monster", "怪物 数据.dat"}};
    for (const Case& c : cases) {
        const std::string sample = Utf8FromPath(kSamples / c.sample);
        for (const char* encoding : {"utf-8-bom", "gbk"}) {
            SCOPED_TRACE(std::string(c.sample) + " " + encoding);
            const ProgramRun exported = Cli({"export", sample, "--encoding", encoding, "-o", In("导出的表.csv")});
            ASSERT_EQ(exported.status, 0) << exported.err;
            const ProgramRun imported =
                Cli({"import", In("导出的表.csv"), "--kind", c.kind, "--encoding", encoding, "-o", In(c.table)});
            ASSERT_EQ(imported.status, 0) << imported.err;
            EXPECT_EQ(ReadFile(m_folder / PathFromUtf8(c.table)), ReadFile(kSamples / c.sample));
        }
        const ProgramRun info = Cli({"info", In(c.table), "--kind", c.kind});
        EXPECT_EQ(info.status, 0) << info.err;
        EXPECT_NE(info.out.find(In(c.table)), std::string::npos) << info.out;
    }
    EXPECT_EQ(Names(), (std::set<std::string>{"导出的表.csv", "物品.dat", "技能表.dat", "怪物 数据.dat"}));
}

TEST_F(CliNames, WorksheetsAreThereOrSaidNotToBe)
{
    const ProgramRun run = Cli({"export", Utf8FromPath(kSamples / "magic.dat"), "-o", In("技能.xlsx")});
#ifdef RECWRIGHT_HAS_SHEETS
    EXPECT_EQ(run.status, 0) << run.err;
#else
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(In("技能.xlsx") + ": .xlsx is not available in this build"), std::string::npos) << run.err;
    EXPECT_TRUE(Names().empty());
#endif
}

#ifdef _WIN32
// Another program holds the table open without letting it be replaced: the import says so
// with the table's name, and the table is as it was once that program lets go.
TEST_F(CliNames, ATableHeldOpenElsewhereIsNotReplaced)
{
    const std::string table = In("物品.dat");
    std::filesystem::copy_file(kSamples / "magic.dat", PathFromUtf8(table));
    const auto old = ReadFile(PathFromUtf8(table));
    const HANDLE holder = ::CreateFileW(PathFromUtf8(table).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const ProgramRun run = Cli({"import", Utf8FromPath(kSamples / "stditem.csv"), "--kind", "item", "-o", table});
    ::CloseHandle(holder);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(table), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(PathFromUtf8(table)), old);
    EXPECT_EQ(Names(), (std::set<std::string>{"物品.dat"}));
}
#endif

} // namespace
} // namespace rw::test
