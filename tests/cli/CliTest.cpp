// recwright-cli as a user runs it: exit status, messages, and the files it makes.

#include "data/DataFile.h"
#include "tests/data/TestFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace rw {
namespace {

using test::ReadFileBytes;
using test::ReadFileText;
using test::TempDir;
using test::WriteFileText;

const std::filesystem::path kSamples = RECWRIGHT_SAMPLES_DIR;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

class Cli : public ::testing::Test {
protected:
    TempDir m_dir;

    CliRun Invoke(std::vector<std::string> args, const std::string& input = {})
    {
        args.insert(args.begin(), RECWRIGHT_CLI);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const std::string in = (m_dir / "stdin").string(), out = (m_dir / "stdout").string(), err = (m_dir / "stderr").string();
        WriteFileText(in, input);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t pid = 0;
        CliRun run;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
            int status = 0;
            ::waitpid(pid, &status, 0);
            run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        posix_spawn_file_actions_destroy(&actions);
        run.out = ReadFileText(out);
        run.err = ReadFileText(err);
        return run;
    }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
};

TEST_F(Cli, UsageErrorsExitWithTwo)
{
    const std::string item = (kSamples / "stditem.dat").string();
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{}, "Usage:"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"info"}, "no file given"},
        {{"export", item, "--key", "256"}, "--key takes a whole number from 0 to 255, not '256'"},
        {{"export", item, "--key=-1"}, "not '-1'"},
        {{"export", item, "--key"}, "option --key needs a value"},
        {{"export", item, "--kind", "weapon"}, "--kind takes item, magic or monster, not 'weapon'"},
        {{"export", item, "--encoding", "latin1"}, "not 'latin1'"},
        {{"export", item, "--bogus"}, "unknown option '--bogus'"},
        {{"info", item, "--encoding", "gbk"}, "unknown option '--encoding'"},
        {{"export", item, item}, "one file only"},
        {{"import", item}, "import needs -o FILE"},
        {{"export", Path("items.bak")}, "items.bak: the name does not say which table this is"},
    };
    for (const Case& c : cases) {
        const CliRun run = Invoke(c.args);
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    const CliRun help = Invoke({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage:", 0), 0u);
}

TEST_F(Cli, InfoDescribesEachFile)
{
    const CliRun run = Invoke({"info", (kSamples / "stditem.dat").string(), (kSamples / "magic.dat").string()});
    EXPECT_EQ(run.status, 0) << run.err;
    for (const char* line : {"kind:            item (stditem.dat)", "key:             173", "truncated:       no",
                             "repeated IDs:    0", "kind:            magic (magic.dat)", "key:             203"}) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
    }

    auto bytes = ReadFileBytes(kSamples / "monster.dat");
    bytes.resize(bytes.size() - 300); // cut into the last two records
    test::WriteFileBytes(Path("monster.dat"), bytes);
    test::WriteFileBytes(Path("stditem.dat"), {0, 0, 0, 0});
    const CliRun mixed = Invoke({"info", Path("monster.dat"), Path("missing.dat"), Path("stditem.dat"), "--kind", "monster"});
    EXPECT_EQ(mixed.status, 1);
    EXPECT_NE(mixed.out.find("truncated:       yes"), std::string::npos) << mixed.out;
    EXPECT_NE(mixed.out.find("records present: 29"), std::string::npos) << mixed.out;
    EXPECT_NE(mixed.err.find("missing.dat: cannot read: No such file or directory"), std::string::npos) << mixed.err;
    EXPECT_NE(mixed.err.find("stditem.dat: not loaded: the count in its header is 0"), std::string::npos) << mixed.err;
}

TEST_F(Cli, ExportThenImportGivesTheSameFile)
{
    for (const char* name : {"stditem", "magic", "monster"}) {
        const auto data = kSamples / (std::string(name) + ".dat");
        for (const char* encoding : {"utf-8", "utf-8-bom", "gbk"}) {
            const CliRun exported = Invoke({"export", data.string(), "--encoding", encoding, "-o", Path("t.csv")});
            ASSERT_EQ(exported.status, 0) << exported.err;
            const CliRun imported = Invoke({"import", Path("t.csv"), "--encoding", encoding, "-o", Path(std::string(name) + ".dat")});
            ASSERT_EQ(imported.status, 0) << imported.err;
            EXPECT_EQ(ReadFileBytes(Path(std::string(name) + ".dat")), ReadFileBytes(data)) << name << " " << encoding;
        }
    }
    // Standard output and input, another key, a name that needs --kind.
    const CliRun toStdout = Invoke({"export", (kSamples / "magic.dat").string()});
    ASSERT_EQ(toStdout.status, 0);
    EXPECT_EQ(toStdout.out.rfind("MagID,MagName,Type,", 0), 0u);
    const CliRun fromStdin = Invoke({"import", "-", "-o", Path("backup.bin"), "--kind", "magic", "--key", "0"}, toStdout.out);
    ASSERT_EQ(fromStdin.status, 0) << fromStdin.err;
    const auto plain = DecodeBytes(ReadFileBytes(Path("backup.bin")), FileKind::Magic, 0);
    EXPECT_EQ(plain.bytes, ReadDataFile(kSamples / "magic.dat", FileKind::Magic, 203).bytes);
}

TEST_F(Cli, BadCsvWritesNothingAndNamesLineAndColumn)
{
    std::string csv = Invoke({"export", (kSamples / "stditem.dat").string()}).out;
    const std::size_t third = csv.find('\n', csv.find('\n', csv.find('\n') + 1) + 1) + 1; // start of line 4
    std::string row = "77,\xE5\x89\x91,x1"; // a bad Stdmode
    for (int k = 0; k < 28; ++k) row += ",0";
    csv.insert(third, row + ",\n");
    WriteFileText(Path("bad.csv"), csv);
    const CliRun run = Invoke({"import", Path("bad.csv"), "-o", Path("stditem.dat")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("bad.csv:4:3: Stdmode: 'x1' is not a whole number"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("stditem.dat: not written: 1 error(s) in"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(Path("stditem.dat")));

    std::string monster = Invoke({"export", (kSamples / "monster.dat").string()}).out;
    monster.replace(monster.find('\n') + 1, 1, "5"); // first record's ID 0 -> 5
    WriteFileText(Path("m.csv"), monster);
    const CliRun warned = Invoke({"import", Path("m.csv"), "-o", Path("monster.dat")});
    EXPECT_EQ(warned.status, 0) << warned.err;
    EXPECT_NE(warned.err.find("m.csv:2:1: warning: the first record's ID (5) has no room"), std::string::npos) << warned.err;
    EXPECT_EQ(ReadFileBytes(Path("monster.dat")), ReadFileBytes(kSamples / "monster.dat"));

    const CliRun missing = Invoke({"import", Path("none.csv"), "-o", Path("magic.dat")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.csv: cannot read"), std::string::npos);
}

TEST_F(Cli, TruncatedFileExportsWithWarning)
{
    auto bytes = ReadFileBytes(kSamples / "stditem.dat");
    bytes.resize(4 + 184 * 3 + 10);
    test::WriteFileBytes(Path("stditem.dat"), bytes);
    const CliRun run = Invoke({"export", Path("stditem.dat"), "-o", Path("t.csv")});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("the header announces 38 records but the file holds 4"), std::string::npos) << run.err;
    const std::string csv = ReadFileText(Path("t.csv"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 5);
}

} // namespace
} // namespace rw
