// recwright-cli driven by a script: kinds told by a file's size or a CSV's header, JSON a
// program reads, and an exit status alone.

#include "tests/cli/CliFixture.h"

#include <initializer_list>

namespace rw::test {
namespace {

TEST_F(Cli, ANameThatTellsNoKindIsReadAsTheKindItsSizeFits)
{
    struct Case { std::string sample, copy, kind; };
    const Case cases[] = {
        {kItem, "stditem2.dat", "item"},
        {kMagic, "magic.dat.bak", "magic"},
        {kMonster, "怪物 备份.dat", "monster"},
    };
    for (const Case& c : cases) {
        Copy(c.sample, c.copy);
        const std::string said = "recwright-cli: " + Path(c.copy) + ": kind: " + c.kind + " (its size fits)\n";
        const CliRun info = Invoke({"info", Path(c.copy)});
        EXPECT_EQ(info.status, 0) << info.err;
        EXPECT_EQ(info.err, said);
        EXPECT_NE(info.out.find("kind:                " + c.kind), std::string::npos) << info.out;
        const CliRun exported = Invoke({"export", Path(c.copy)});
        EXPECT_EQ(exported.status, 0) << exported.err;
        EXPECT_EQ(exported.err, said);
        EXPECT_EQ(exported.out, Invoke({"export", c.sample}).out) << c.copy;
        // --kind or a telling name says nothing of sizes.
        EXPECT_EQ(Invoke({"info", Path(c.copy), "--kind", c.kind}).err, "");
        EXPECT_EQ(Invoke({"info", c.sample}).err, "");
    }

    // Two backups whose names tell nothing are compared as the kind their sizes fit.
    std::string edited = ReadFile<std::string>(kItem);
    edited[100] ^= 0x01;
    WriteFile(Path("b.bak"), edited);
    const CliRun diff = Invoke({"diff", Path("stditem2.dat"), Path("b.bak")});
    EXPECT_EQ(diff.status, 1) << diff.err;
    EXPECT_EQ(diff.err, "recwright-cli: " + Path("stditem2.dat") + ": kind: item (its size fits)\nrecwright-cli: " +
                            Path("b.bak") + ": kind: item (its size fits)\n");
    const CliRun kinds = Invoke({"diff", Path("stditem2.dat"), Path("怪物 备份.dat")});
    EXPECT_EQ(kinds.status, 2);
    EXPECT_NE(kinds.err.find("are tables of different kinds (item, monster)"), std::string::npos) << kinds.err;
}

TEST_F(Cli, AnImportToANameThatTellsNoKindTakesItFromTheHeader)
{
    for (const std::string& sample : {kItem, kMagic, kMonster}) {
        const std::string kind = sample == kItem ? "item" : sample == kMagic ? "magic" : "monster";
        for (const std::string table : {"t.csv", "t.xlsx"}) {
            ASSERT_EQ(Invoke({"export", sample, "-o", Path(table)}).status, 0);
            const CliRun run = Invoke({"import", Path(table), "-o", Path("restored.bin")});
            ASSERT_EQ(run.status, 0) << run.err;
            const std::string from = table == "t.csv" ? "the CSV" : "the worksheet";
            EXPECT_EQ(run.err, "recwright-cli: " + Path("restored.bin") + ": kind: " + kind + " (" + from + "'s header)\n");
            EXPECT_EQ(ReadFile(Path("restored.bin")), ReadFile(sample)) << kind << " " << table;
        }
        // Standard output has no name to tell a kind either.
        const CliRun piped = Shell(Command({"export", sample}) + " | " + Command({"import", "-", "-o", "-"}));
        EXPECT_EQ(piped.status, 0) << piped.err;
        EXPECT_TRUE(piped.out == ReadFile<std::string>(sample)) << kind;
    }

    // A header that is no table's cannot tell one; a name that tells a kind still decides.
    std::filesystem::remove(Path("restored.bin"));
    WriteFile(Path("bad.csv"), std::string("ID,Name\n1,a\n"));
    const CliRun bad = Invoke({"import", Path("bad.csv"), "-o", Path("restored.bin")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("bad.csv:1: the header must be one table's titles, starting ItemID,ItemName,... (stditem.dat), "
                           "MagID,MagName,... (magic.dat) or MonID,MonName,... (monster.dat); found: ID,Name"),
              std::string::npos)
        << bad.err;
    ASSERT_EQ(Invoke({"export", kMagic, "-o", Path("magic.csv")}).status, 0);
    const CliRun named = Invoke({"import", Path("magic.csv"), "-o", Path("stditem.dat")});
    EXPECT_EQ(named.status, 1);
    EXPECT_NE(named.err.find("the header must be the stditem.dat table's titles"), std::string::npos) << named.err;
    EXPECT_FALSE(std::filesystem::exists(Path("restored.bin")));
    EXPECT_FALSE(std::filesystem::exists(Path("stditem.dat")));
}

TEST_F(Cli, InfoJsonIsOneObjectWithEveryKeyForEveryFile)
{
    WriteFile(Path("cut.bak"), ReadFile<std::string>(kMonster).substr(0, 7000));
    // A control character goes as its JSON escape; a byte that is no UTF-8 as the CLI shows it.
    const std::string odd = Copy(kItem, "odd\x1b\"\\\xff.bak");
    const CliRun run = Invoke({"info", "--json", kItem, kMagic, Path("missing.dat"), Path("cut.bak"), odd, "--key", "241"});
    EXPECT_EQ(run.status, 2) << "the worst of the files: one whose kind must be given";
    const CliRun told = Invoke({"info", Path("cut.bak"), "--json", "--kind", "monster"});
    EXPECT_EQ(told.status, 0);
    const auto entry = [](const std::string& file, const std::string& rest) {
        return "{\"file\":\"" + file + "\"," + rest + "}";
    };
    // The item sample, its kind told by from.
    const auto item = [](const std::string& from) {
        return "\"error\":null,\"kind\":\"item\",\"kind_from\":\"" + from + "\",\"key\":241,\"count_in_header\":38,"
               "\"records_present\":38,\"file_size\":6996,\"truncated\":false,\"bytes_after_records\":0,\"repeated_ids\":0";
    };
    const std::string unread = ",\"kind\":null,\"kind_from\":null,\"key\":null,\"count_in_header\":null,\"records_present\":null,"
                               "\"file_size\":null,\"truncated\":null,\"bytes_after_records\":null,\"repeated_ids\":null";
    EXPECT_EQ(run.out,
              "{\"files\":[\n" +
                  entry(kItem, item("name")) + ",\n" +
                  entry(kMagic, "\"error\":null,\"kind\":\"magic\",\"kind_from\":\"name\",\"key\":241,\"count_in_header\":22,"
                                "\"records_present\":22,\"file_size\":2644,\"truncated\":false,\"bytes_after_records\":0,"
                                "\"repeated_ids\":null") + ",\n" +
                  entry(Path("missing.dat"), "\"error\":\"" + Path("missing.dat") +
                                                 ": cannot read: No such file or directory\"" + unread) + ",\n" +
                  entry(Path("cut.bak"), "\"error\":\"" + Path("cut.bak") +
                                             ": the name does not say which table this is (stditem.dat, magic.dat, "
                                             "monster.dat), and its size fits no kind's records exactly: it could be a "
                                             "damaged item, magic or monster table; give --kind\"" + unread) + ",\n" +
                  entry(Path("odd\\u001b\\\"\\\\\\\\xff.bak"), item("size")) + "\n]}\n");
    EXPECT_EQ(told.out, "{\"files\":[\n" +
                            entry(Path("cut.bak"), "\"error\":null,\"kind\":\"monster\",\"kind_from\":\"option\",\"key\":241,"
                                                   "\"count_in_header\":30,\"records_present\":28,\"file_size\":7000,"
                                                   "\"truncated\":true,\"bytes_after_records\":0,\"repeated_ids\":0") +
                            "\n]}\n");
    // The reasons are said on standard error too, as without --json.
    EXPECT_NE(run.err.find("missing.dat: cannot read: No such file or directory"), std::string::npos) << run.err;
}

TEST_F(Cli, QuietDiffAnswersWithItsStatusAlone)
{
    std::string edited = ReadFile<std::string>(kItem);
    edited[100] ^= 0x01;
    std::filesystem::create_directories(Path("new"));
    WriteFile(Path("new/stditem.dat"), edited);
    std::filesystem::create_directories(Path("cut"));
    WriteFile(Path("cut/stditem.dat"), ReadFile<std::string>(kItem).substr(0, 1000));
    struct Case { std::vector<std::string> args; int status; std::string err; };
    const Case cases[] = {
        {{"diff", "--quiet", kItem, kItem}, 0, ""},
        {{"diff", kItem, Path("new/stditem.dat"), "--quiet"}, 1, ""},
        // Records the file does not hold are not warned of; they are still not compared.
        {{"diff", kItem, Path("cut/stditem.dat"), "--quiet"}, 1, ""},
        {{"diff", kItem, Path("missing.dat"), "--quiet"}, 2, "recwright-cli: " + Path("missing.dat") +
                                                                 ": cannot read: No such file or directory\n"},
        {{"diff", kItem, kItem, "--quiet", "--csv"}, 2,
         "recwright-cli: --quiet writes nothing, so it goes with neither -o, --csv nor --json\n"
         "recwright-cli: try 'recwright-cli --help'\n"},
        {{"diff", kItem, kItem, "--json", "--csv"}, 2,
         "recwright-cli: --csv and --json both say what to write; give one of them\n"
         "recwright-cli: try 'recwright-cli --help'\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = Shell(CommandOf(c.args));
        EXPECT_EQ(run.status, c.status) << CommandOf(c.args);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.err);
    }
}

} // namespace
} // namespace rw::test
