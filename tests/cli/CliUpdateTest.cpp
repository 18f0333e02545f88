// recwright-cli update: records a query meets changed by the editor's rules, all or nothing,
// written back with a backup or elsewhere, and every other byte left as it was.

#include "tests/cli/CliFixture.h"

#include <cstdint>
#include <set>
#include <tuple>
#include <vector>

namespace rw::test {
namespace {

constexpr std::size_t kItemSize = 184;
constexpr std::size_t kItemPrice = 144; // the Price field's offset in an item record
constexpr std::uint8_t kItemKey = 173;

class CliUpdate : public Cli {
protected:
    CliRun Update(const std::string& file, const std::string& where, const std::vector<std::string>& sets,
                  const std::vector<std::string>& more = {})
    {
        std::vector<std::string> args{"update", file, "--where", where};
        for (const std::string& set : sets) args.insert(args.end(), {"--set", set});
        return Shell(CommandOf(Joined(args, more)));
    }
};

TEST_F(CliUpdate, ExpressionsChangeWhatTheConditionMeets)
{
    struct Case { std::string sample, where; std::vector<std::string> sets; std::vector<std::string> shown; };
    const Case cases[] = {
        {kItem, "Stdmode=2", {"Price+=5"}, {"  Price: 60 → 65\n", "  Price: 150 → 155\n", "4 changed, 34 the same\n"}},
        {kItem, "itemid=1", {"price=11", "Price*=3", "WEIGHT+=1"}, {"  Weight: 1 → 2\n  Price: 30 → 33\n"}},
        {kMonster, "MonID=1", {"name=雪原野兔"}, {"  MonName: '林间野兔' → '雪原野兔'\n"}},
        {kItem, "晨露", {"ItemName=新名字"}, {"  ItemName: '晨露药剂' → '新名字'\n", "  ItemName: '晨露药剂(大)' → '新名字'\n"}},
        {kItem, "ItemID=1 | ItemID=2", {"ItemID*=-1"}, {"  ItemID: 1 → -1\n", "  ItemID: 2 → -2\n", " 2 changed"}},
        {kItem, "ItemID=1", {"ItemID=999", "ItemID+=1"}, {"  ItemID: 1 → 1000\n"}},
        {kMagic, "MagID=2", {"MagID=1"}, {"  MagID: 2 → 1\n"}},
        {kMonster, "Level=40", {"HP*=1.2"}, {"changed: ID 26 '城门卫兵', position 27 in A, 27 in B\n  HP: 5000 → 6000\n"}},
        // Values computed from each record's own fields.
        {kItem, "Stdmode=30", {"Price=NeedLevel*120"}, {"  Price: 1800 → 1440\n", "3 changed, 35 the same\n"}},
    };
    for (const Case& c : cases) {
        const std::string file = Copy(c.sample, std::filesystem::path(c.sample).filename().string());
        const CliRun run = Update(file, c.where, c.sets, {"-o", Path("out.dat")});
        EXPECT_EQ(run.status, 0) << c.where << "\n" << run.err;
        for (const std::string& part : c.shown) EXPECT_NE(run.out.find(part), std::string::npos) << part << "\n" << run.out;
        // The output holds what the report says, where IDs stay (diff pairs records by ID).
        const CliRun diff = Invoke({"diff", file, Path("out.dat")});
        EXPECT_EQ(diff.status, 1) << diff.err;
        if (c.sets.front().find("ID") == std::string::npos) { EXPECT_EQ(diff.out, run.out); }
        std::filesystem::remove(Path("out.dat"));
    }
}

TEST_F(CliUpdate, RefusalsChangeNothing)
{
    struct Case { std::string where; std::vector<std::string> sets; int status; std::string message; std::string sample = kItem; };
    const Case cases[] = {
        {"Levle>=1", {"Price=1"}, 2, "--where 'Levle>=1': no column named 'Levle'\n"},
        {"Level>=40", {"Price=1"}, 2, "--where 'Level>=40': no column named 'Level'; did you mean 'NeedLevel'?\n"},
        {"ItemName>3", {"Price=1"}, 2, "'ItemName' is the name, which has no numbers to compare\n"},
        {"Price 5 Stdmode=1", {"Price=1"}, 2, "'Price' must be followed by one of = != < <= > >=\n"},
        {"Price<NeedLevl*10", {"Price=1"}, 2, "at character 7: no column named 'NeedLevl'; did you mean 'NeedLevel'?\n"},
        {"Price>", {"Price=1"}, 2, "'Price' has nothing after its operator to compare with\n"},
        {"Price>99999999999", {"Price=1"}, 2, "'99999999999' is beyond the 32-bit range\n"},
        // An empty alternative would meet every record ("$A|$B" with both empty).
        {"|", {"Price=1"}, 2, "--where '|': '|' has nothing on one side, which would match every record\n"},
        {"ItemID=1", {"Prcie=5"}, 2, "--set 'Prcie=5': no column named 'Prcie'; did you mean 'Price'?\n"},
        {"ItemID=1", {"Price"}, 2, "--set 'Price': no operator"},
        {"ItemID=1", {"ItemName+=x"}, 2, "a name can only be set, with =\n"},
        {"ItemID=1", {"Price=2147483648"}, 2, "'2147483648' is beyond the 32-bit range\n"},
        {"ItemID=1", {"Price*=abc"}, 2, "--set 'Price*=abc': at character 8: no column named 'abc'\n"},
        {"ItemID=1", {"Price=(NeedLevel*2"}, 2, "at character 7: this '(' is never closed\n"},
        {"ItemID=1", {"Price=ItemName"}, 2, "'ItemName' is the name, which has no number to compute with\n"},
        {"ItemID=1", {"Price=sqrt(4)"}, 2, "no function named 'sqrt'; there are min, max and abs\n"},
        {"ItemID=1", {"Price*=1.0000000000000000001"}, 2, "has more digits than a number may: 18, 18 of them after the point\n"},
        {"ItemID=1", {"Price/=0"}, 2, "cannot divide by zero\n"},
        {"ItemID=1", {"ItemName=😀"}, 2, "the name has a character that GBK"},
        {"ItemID=1 | ItemID=3", {"Price=2147483647", "Price+=1"}, 1,
         "--set 'Price+=1' takes 2 record(s) out of the 32-bit range: ID 1 '晨露药剂' (position 1), ID 3 '月华灵液' (position 3)\n"},
        {"ItemID=1", {"ItemID=5"}, 1, "--set 'ItemID=5' gives 1 record(s) an ID another record has: ID 1 '晨露药剂' (position 1)\n"},
        {"ItemID=1 | ItemID=3", {"Price=Price/(Stdmode-Stdmode)"}, 1,
         "--set 'Price=Price/(Stdmode-Stdmode)' divides by zero for 2 record(s): ID 1 '晨露药剂' (position 1), ID 3"},
        {"ItemID=1", {"Price=Price*100000000000000000*100000000000000000*100000000000000000/100000000000000000"}, 1,
         "meets a value too large to work out exactly for 1 record(s): ID 1 '晨露药剂' (position 1)\n"},
        // Records are named up to ten, then counted.
        {"ItemID>=1", {"ItemID=ItemID-ItemID+1"}, 1,
         "gives 38 record(s) an ID another record has: ID 1 '晨露药剂' (position 1), ID 2 '晨露药剂(大)' (position 2), "
         "ID 3 '月华灵液' (position 3), ID 4 '月华灵液(大)' (position 4), ID 5 '归途符纸' (position 5), "
         "ID 6 '迷途符纸' (position 6), ID 7 '松木短杖' (position 7), ID 8 '霜纹长剑' (position 8), "
         "ID 9 '赤铜战斧' (position 9), ID 10 '雷纹短匕' (position 10), and 28 more\n"},
        {"Stdmode=2", {"Price=1", "ItemID=1000"}, 1,
         "gives 4 record(s) an ID another record has: ID 5 '归途符纸' (position 5), ID 6 '迷途符纸' (position 6), "
         "ID 33 '学徒手册,上卷' (position 33), ID 34 '学徒手册,下卷' (position 34)\n"},
        // A monster file keeps its count where the first record's ID would be, whatever gives it.
        {"MonID=0", {"MonID=500"}, 1, "gives record 1 the ID 500, but a monster file keeps its count", kMonster},
        {"MonID=0", {"MonID=Level*10+HP"}, 1, "gives record 1 the ID 510, but a monster file keeps its count", kMonster},
    };
    for (const Case& c : cases) {
        const std::string file = Copy(c.sample, std::filesystem::path(c.sample).filename().string());
        const CliRun run = Update(file, c.where, c.sets);
        EXPECT_EQ(run.status, c.status) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(ReadFile<std::string>(file), ReadFile<std::string>(c.sample)) << c.message;
        EXPECT_FALSE(std::filesystem::exists(file + ".bak")) << c.message;
    }
}

// A name is cut to what its field holds with a warning, and only then: standard error says
// nothing of a name that fits.
TEST_F(CliUpdate, ANameIsSaidToBeCutOnlyWhenItIs)
{
    struct Case { const char* set; const char* shown; bool cut; };
    const Case cases[] = {
        {"Name=新名字", "'晨露药剂' → '新名字'", false},
        {"Name=一二三四五六七八九十一二三四五", "→ '一二三四五六七八九十一二三四五'", false}, // 30 bytes: all it holds
        {"Name=一二三四五六七八九十一二三四五六", "→ '一二三四五六七八九十一二三四五'", true},
        {"Name=abcdefghijklmnopqrstuvwxyz01234", "→ 'abcdefghijklmnopqrstuvwxyz0123'", true},
    };
    for (const Case& c : cases) {
        const std::string file = Copy(kItem, "stditem.dat");
        const CliRun run = Update(file, "ItemID=1", {c.set}, {"--dry-run"});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find(c.shown), std::string::npos) << run.out;
        EXPECT_EQ(run.err.find("warning: --set") != std::string::npos, c.cut) << c.set << "\n" << run.err;
    }
}

// find shows the records a condition meets in export's columns, and answers as grep does.
TEST_F(CliUpdate, FindShowsTheRecordsAConditionMeets)
{
    struct Case { std::vector<std::string> args; int status; std::vector<std::string> out; std::string err; };
    const Case cases[] = {
        {{"find", kItem, "--where", "Price<NeedLevel*10"}, 0,
         {"position 26: ItemID=26 ItemName='兽骨碎片' Stdmode=50 ", " NeedLevel=1 Price=5 Stock=99\n", "position 31:", "position 35:"},
         "3 of 38 record(s) meet 'Price<NeedLevel*10'"},
        {{"find", kItem, "--where", "Dc2<Dc"}, 1, {}, "0 of 38 record(s) meet 'Dc2<Dc'"},
        {{"find", kMonster, "--where", "HP>=Level*Level*40", "--json"}, 0,
         {"{\"file\":", "\"kind\":\"monster\",\"where\":\"HP>=Level*Level*40\",\"records\":[\n",
          "{\"position\":1,\"MonID\":0,\"MonName\":\"训练木桩\",", "],\"count\":1,\"records_read\":30}\n"},
         ""},
        {{"find", kMagic, "--where", "MaxPower>=Power*2 Job=1", "--csv"}, 0,
         {"MagID,MagName,Type,", ",Delay,Raw\n16,瞬移,"}, "4 of 22 record(s)"},
        {{"find", kMagic, "--where", "MaxPower>=Pwer*2"}, 2, {}, "no column named 'Pwer'; did you mean 'Power'?"},
        {{"find", kMagic}, 2, {}, "find needs --where COND"},
        {{"find", kMagic, "--where", "Job=1", "--set", "Job=2"}, 2, {}, "unknown option '--set' for find"},
        {{"find", Path("nosuch.dat"), "--where", "Job=1"}, 2, {}, "cannot read"},
    };
    for (const Case& c : cases) {
        const CliRun run = Shell(CommandOf(c.args));
        EXPECT_EQ(run.status, c.status) << c.args[2] << "\n" << run.err;
        for (const std::string& part : c.out) EXPECT_NE(run.out.find(part), std::string::npos) << part << "\n" << run.out;
        if (c.out.empty()) { EXPECT_EQ(run.out, ""); }
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
    // What --csv finds imports back as those records.
    const CliRun csv = Shell(CommandOf({"find", kItem, "--where", "Stdmode=30", "--csv"}) + " >" + Path("rings.csv"));
    ASSERT_EQ(csv.status, 0) << csv.err;
    ASSERT_EQ(Invoke({"import", Path("rings.csv"), "-o", Path("stditem.dat")}).status, 0);
    EXPECT_EQ(Invoke({"find", Path("stditem.dat"), "--where", "Stdmode!=30"}).status, 1);
    EXPECT_EQ(Invoke({"find", Path("stditem.dat"), "--where", "戒指"}).status, 0);
}

// Without -o the file is written over, its previous bytes kept as NAME.bak; a dry run writes
// nothing; every byte but the changed values stays, the hidden ones included.
TEST_F(CliUpdate, WritesInPlaceWithABackupAndLeavesOtherBytesAlone)
{
    std::string original = ReadFile<std::string>(kItem);
    // Hidden bytes (4 to 36 of each record) of every value, so that any clearing shows.
    for (std::size_t r = 0; r < 38; ++r) {
        for (std::size_t b = 4; b < 36; ++b) original[4 + r * kItemSize + b] ^= static_cast<char>(r * 7 + b);
    }
    const std::string file = Path("stditem.dat");
    WriteFile(file, original);

    const CliRun dry = Update(file, "Stdmode=1", {"Price*=2"}, {"--dry-run"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_NE(dry.out.find("6 changed, 32 the same"), std::string::npos) << dry.out;
    EXPECT_NE(dry.err.find("6 record(s) would change; --dry-run: nothing written"), std::string::npos) << dry.err;
    EXPECT_EQ(ReadFile<std::string>(file), original);
    EXPECT_FALSE(std::filesystem::exists(file + ".bak"));

    const CliRun run = Update(file, "Stdmode=1", {"Price*=2"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, dry.out);
    EXPECT_NE(run.err.find("6 record(s) changed; the file as it was is kept as " + file + ".bak"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile<std::string>(file + ".bak"), original);
    const std::string updated = ReadFile<std::string>(file);
    // Every price zeroed, the files are the same.
    const auto unpriced = [](std::string image) {
        for (std::size_t r = 0; r < 38; ++r) image.replace(4 + r * kItemSize + kItemPrice, 4, 4, '\0');
        return image;
    };
    EXPECT_TRUE(unpriced(updated) == unpriced(original));
    // Record 1's price, 30, is 60 now, as the file stores it.
    EXPECT_EQ(static_cast<std::uint8_t>(updated[4 + kItemPrice]) ^ kItemKey, 60);

    // A second run keeps the file as that run found it.
    const CliRun again = Update(file, "ItemID=1", {"Price=1"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(ReadFile<std::string>(file + ".bak"), updated);

    // Nothing met, or nothing changed: a note, exit 0, nothing written.
    const CliRun none = Update(file, "ItemID=999", {"Price=1"});
    EXPECT_EQ(none.status, 0);
    EXPECT_NE(none.err.find("no record meets 'ItemID=999'; nothing written"), std::string::npos) << none.err;
    const CliRun same = Update(file, "ItemID=1", {"Price=1"});
    EXPECT_EQ(same.status, 0);
    EXPECT_NE(same.err.find("1 record(s) meet the condition, but none changes"), std::string::npos) << same.err;
    EXPECT_EQ(ReadFile<std::string>(file + ".bak"), updated);

    const CliRun json = Update(file, "ItemID=1", {"Price=2"}, {"--dry-run", "--json"});
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find("\"fields\":[{\"field\":\"Price\",\"old\":1,\"new\":2}]"), std::string::npos) << json.out;
}

// A file whose read loses something is not written over; -o writes elsewhere with a warning,
// and a dry run still shows what would change.
TEST_F(CliUpdate, AFileReadWithLossIsNotWrittenOver)
{
    std::string items = ReadFile<std::string>(kItem);
    std::string repeated = items;
    repeated[4 + kItemSize] ^= 2 ^ 1; // record 2 takes record 1's ID
    std::string counted = items;
    counted[0] ^= 38 ^ 39;
    struct Case { std::string bytes, loss; std::size_t kept; };
    const Case cases[] = {
        {items + "0123456789", "10 bytes after the last record the header counts", 38},
        {counted, "the header counts 39 records but the file holds 38", 38},
        {items.substr(0, items.size() - 10), "the file ends inside record 38, whose missing bytes become zeros", 38},
        {repeated, "1 record(s) repeating an earlier record's ID", 37},
    };
    for (const Case& c : cases) {
        const std::string file = Path("stditem.dat");
        WriteFile(file, c.bytes);
        const CliRun refused = Update(file, "ItemID=3", {"Price=1"});
        EXPECT_EQ(refused.status, 1) << c.loss;
        EXPECT_NE(refused.err.find("not written over: writing it back would not keep all it holds: " + c.loss),
                  std::string::npos) << refused.err;
        EXPECT_EQ(refused.out, "");
        EXPECT_FALSE(std::filesystem::exists(file + ".bak"));

        const CliRun dry = Update(file, "ItemID=3", {"Price=1"}, {"--dry-run"});
        EXPECT_EQ(dry.status, 0) << dry.err;
        EXPECT_NE(dry.out.find("  Price: 45 → 1\n"), std::string::npos) << dry.out;
        EXPECT_NE(dry.err.find("an update in place would be refused"), std::string::npos) << dry.err;

        const CliRun elsewhere = Update(file, "ItemID=3", {"Price=1"}, {"-o", Path("other.dat"), "--kind", "item"});
        EXPECT_EQ(elsewhere.status, 0) << elsewhere.err;
        EXPECT_NE(elsewhere.err.find("warning: " + Path("other.dat") + " does not keep all " + file + " holds: " + c.loss),
                  std::string::npos) << elsewhere.err;
        // What the editor would have loaded, with the one change.
        const CliRun written = Invoke({"export", Path("other.dat"), "--kind", "item"});
        EXPECT_EQ(written.status, 0) << written.err;
        EXPECT_EQ(Occurrences(written.out, "\n"), c.kept + 1) << c.loss;
        for (const char* row : {"\n1,", "\n3,月华灵液,", "\n38,"}) EXPECT_EQ(Occurrences(written.out, row), 1u) << row << c.loss;
        EXPECT_EQ(Occurrences(written.out, ",45,"), 0u) << c.loss; // record 3's price, changed
        EXPECT_EQ(ReadFile<std::string>(file), c.bytes);
        std::filesystem::remove(file);
        std::filesystem::remove(Path("other.dat"));
    }
}

// Backups as cp, mv and install keep them: NAME.bak unless --backup says otherwise, every one
// numbered, or none; an earlier backup replaced is said.
TEST_F(CliUpdate, BackupsAreKeptByTheConventionOfCpMvAndInstall)
{
    const std::string file = Copy(kItem, "stditem.dat");
    const std::string replaced = "note: the earlier backup " + file + ".bak now holds the file as this update found it";
    struct Case { std::string environment; std::vector<std::string> options; std::string backup; bool replacing = false; };
    const Case cases[] = {
        {"", {}, ".bak"},
        {"", {}, ".bak", true},
        {"", {"--backup=numbered"}, ".~1~"},
        {"", {"--backup=t"}, ".~2~"},
        {"", {"--backup"}, ".~3~"}, // existing, numbered ones being there
        {"VERSION_CONTROL=never", {"--backup"}, ".bak", true},
        {"VERSION_CONTROL=nil", {"--backup"}, ".~4~"},
        {"VERSION_CONTROL=numbered", {"--backup=simple"}, ".bak", true},
        {"", {"--backup=none"}, ""},
        {"", {"--suffix=.orig"}, ".orig"},
        {"SIMPLE_BACKUP_SUFFIX=.old", {"--backup=off", "--backup=existing", "--suffix", ".orig"}, ".~5~"},
        {"SIMPLE_BACKUP_SUFFIX=.old", {"--backup=simple"}, ".old"},
        {"SIMPLE_BACKUP_SUFFIX=.old VERSION_CONTROL=off", {}, ".bak", true},
        {"SIMPLE_BACKUP_SUFFIX=/tmp/x", {"--backup=simple"}, ".bak", true},
    };
    int price = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.environment + " " + (c.options.empty() ? "" : c.options.front()));
        const std::string before = ReadFile<std::string>(file);
        const auto args = Joined({"update", file, "--where", "ItemID=1", "--set", "Price=" + std::to_string(price++)}, c.options);
        const CliRun run = Shell("unset VERSION_CONTROL SIMPLE_BACKUP_SUFFIX; " + c.environment + " " + CommandOf(args));
        EXPECT_EQ(run.status, 0) << run.err;
        if (c.backup.empty()) {
            EXPECT_NE(run.err.find(file + ": 1 record(s) changed; no backup kept (--backup=none)"), std::string::npos) << run.err;
        } else {
            EXPECT_EQ(ReadFile<std::string>(file + c.backup), before);
            EXPECT_NE(run.err.find("the file as it was is kept as " + file + c.backup + "\n"), std::string::npos) << run.err;
        }
        EXPECT_EQ(run.err.find(replaced) != std::string::npos, c.replacing) << run.err;
    }
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path())) names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"stderr", "stdin", "stditem.dat", "stditem.dat.bak", "stditem.dat.old",
                                            "stditem.dat.orig", "stditem.dat.~1~", "stditem.dat.~2~", "stditem.dat.~3~",
                                            "stditem.dat.~4~", "stditem.dat.~5~", "stdout"}));

    const std::string before = ReadFile<std::string>(file);
    const std::tuple<std::string, std::string, std::string> refused[] = {
        {"", "--backup=sometimes", "--backup takes none, off, simple, never, numbered, t, existing or nil, not 'sometimes'"},
        {"", "--backup=numberd", "did you mean 'numbered'?"},
        {"", "--backup=", "option --backup= needs a value after the =, or none at all"},
        {"", "--suffix=", "--suffix takes a suffix such as .orig, not ''"},
        {"", "--suffix=/x", "--suffix takes a suffix such as .orig, not '/x'"},
        {"VERSION_CONTROL=sometimes", "--backup", "the VERSION_CONTROL environment variable is 'sometimes'"},
        {"", "-o " + Path("out.dat") + " --backup", "-o OUT writes another file and keeps no backup"},
    };
    for (const auto& [environment, options, message] : refused) {
        const CliRun run = Shell(environment + " " + CommandOf({"update", file, "--where", "ItemID=1", "--set", "Price=99"}) + " " + options);
        EXPECT_EQ(run.status, 2) << options;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadFile<std::string>(file), before);
}

} // namespace
} // namespace rw::test
