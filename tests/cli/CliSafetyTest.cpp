// recwright-cli against a careless user and a hostile file: files that are missing or cannot be
// the table asked for, a cut file compared, workbooks that would show other records than
// those read, imports that must stream, signals and limits that must leave nothing behind, and
// every command that writes a table with every way its write can go wrong.

#include "data/RecordBytes.h"
#include "tests/SignalAt.h"
#include "tests/cli/CliFixture.h"
#include "tests/sheet/WorkbookBytes.h"

namespace rw::test {
namespace {

// The memory an import of 150,000 records (28 MB) to a pipe is given: it takes about 32 MB
// streamed, and more than 64 MB with the table held.
constexpr long kPipeImportMegabytes = 48;

// A file is looked at before its name: one missing, or one that cannot be the table asked for,
// is refused for that. Only one whose name tells no kind and whose size fits none exactly is
// refused asking for --kind; told, it is read with its warnings.
TEST_F(Cli, AFileIsLookedAtBeforeItsNameAndRefusedWhenItCannotBeTheTable)
{
    const std::string items = ReadFile<std::string>(kItem);
    WriteFile(Path("items.csv"), Invoke({"export", kItem}).out);
    WriteFile(Path("monsters.bak"), ReadFile(kSamples / "monster.dat"));
    WriteFile(Path("padded.bak"), items + "0123456789");
    WriteFile(Path("cut.bak"), items.substr(0, 1000));
    WriteFile(Path("empty.bak"), std::string(8, '\0'));
    // A count of 2^30 records: more than any kind's table a file of a few bytes could be.
    WriteFile(Path("huge.bak"), std::string("\0\0\0\x40", 4) + std::string(100, 'x'));
    const std::string damaged = ": the name does not say which table this is (stditem.dat, magic.dat, monster.dat), "
                                "and its size fits no kind's records exactly: it could be a damaged ";
    struct Case { std::vector<std::string> args; int status; std::string message; bool asks = false; };
    const Case cases[] = {
        {{"export", Path("nosuch.bak")}, 1, "nosuch.bak: cannot read: No such file or directory"},
        {{"diff", Path("nosuch.bak"), kItem}, 2, "nosuch.bak: cannot read: No such file or directory"},
        {{"import", Path("none.csv"), "-o", Path("magic.dat")}, 1, "none.csv: cannot read: No such file or directory"},
        {{"export", Path("items.csv"), "--kind", "item", "-o", Path("out.csv")}, 1,
         "items.csv: not a table of kind item: its header counts 1835365449 records (337707242620 bytes), but the file has"},
        {{"info", Path("monsters.bak"), "--kind", "item"}, 1,
         "monsters.bak: not a table of kind item: its size is exactly that of 30 monster records (--kind monster reads it so)"},
        {{"diff", Path("monsters.bak"), kItem}, 2, "monsters.bak: not a table of kind item"},
        {{"info", Path("empty.bak")}, 1, Path("empty.bak") + ": not loaded: the count in its header is 0"},
        {{"info", Path("huge.bak")}, 1,
         Path("huge.bak") + ": not a table of any kind: its header counts 1073741824 records, but the file has 104 bytes"},
        {{"info", Path("padded.bak")}, 2, Path("padded.bak") + damaged + "item, magic or monster table; give --kind", true},
        {{"export", Path("cut.bak")}, 2, Path("cut.bak") + damaged + "item, magic or monster table; give --kind", true},
        {{"diff", Path("padded.bak"), Path("cut.bak")}, 2, "nor does its size fit one kind's records exactly; give --kind", true},
    };
    for (const Case& c : cases) {
        const CliRun run = Shell(CommandOf(c.args));
        EXPECT_EQ(run.status, c.status) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("give --kind") != std::string::npos, c.asks) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(Path("out.csv")));
    const CliRun told = Invoke({"export", Path("padded.bak"), "--kind", "item"});
    EXPECT_EQ(told.status, 0) << told.err;
    EXPECT_EQ(told.out, Invoke({"export", kItem}).out);
}

TEST_F(Cli, DiffComparesOnlyTheRecordsAFileHoldsWhole)
{
    // Cut 100 bytes into its sixth record; compared with the whole file, and with itself.
    WriteFile(Path("stditem.dat"), ReadFile<std::string>(kItem).substr(0, 4 + 5 * 184 + 100));
    struct Case { std::string b; std::string summary; };
    const Case cases[] = {
        {kItem, "0 only in A, 33 only in B, 0 changed, 5 the same\n"},
        {Path("stditem.dat"), "0 only in A, 0 only in B, 0 changed, 5 the same\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = Invoke({"diff", Path("stditem.dat"), c.b});
        EXPECT_EQ(run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1), c.summary) << run.out;
        EXPECT_NE(run.out.find("A: " + Path("stditem.dat") + ", 5 records\n"), std::string::npos) << run.out;
        EXPECT_NE(run.err.find("the header announces 38 records but the file holds 5 whole; those are compared"),
                  std::string::npos) << run.err;
        EXPECT_NE(run.err.find("the file ends inside record 6, holding 100 of its 184 bytes; it is not compared"),
                  std::string::npos) << run.err;
    }
}

TEST_F(Cli, AWorkbookIsReadAsASpreadsheetShowsItOrRefusedWithTheReason)
{
    const std::string header = HeaderRow(FileKind::Item);
    const Parts parts = WorkbookParts(SheetXml(header + RecordRow(FileKind::Item, 2, "1", "real")));
    Parts twin = parts;
    twin.insert(twin.begin(), {"XL/WORKSHEETS/SHEET1.XML", SheetXml(header + RecordRow(FileKind::Item, 2, "9", "planted"))});
    Parts hidden = parts;
    hidden[1].second.replace(hidden[1].second.find("r:id="), 0, "state=\"hidden\" ");
    Parts itself = parts;
    itself[2].second.replace(itself[2].second.find("worksheets/sheet1.xml"), 21, "workbook.xml");
    std::string numberName = "<row>";
    for (int k = 0; k < 31; ++k) numberName += NumberCell(2, k, k == 1 ? "7" : "0");
    const std::string text = Invoke({"export", kItem}).out;
    struct Case { std::string name; std::vector<std::uint8_t> bytes; std::string message; };
    const Case cases[] = {
        {"text.xlsx", {text.begin(), text.end()}, "text.xlsx: not an .xlsx workbook (Not a zip archive)"},
        {"number.xlsx", Workbook(SheetXml(header + numberName + "</row>")),
         "number.xlsx:2:2: ItemName: '7' is stored as a number, not as text"},
        {"none.xlsx", {}, "none.xlsx: cannot read: No such file or directory"},
        {"twin.xlsx", ZipOf(twin), "twin.xlsx: refused: it holds two members named 'xl/worksheets/sheet1.xml' (letter case"},
        {"hidden.xlsx", ZipOf(hidden), "hidden.xlsx: refused: its first worksheet, 's', is hidden"},
        {"itself.xlsx", ZipOf(itself),
         "itself.xlsx: no worksheet to read: the workbook gives xl/workbook.xml as its first worksheet, but that holds a <workbook>"},
        {"empty.xlsx", Workbook(SheetXml("")), "empty.xlsx:1: the worksheet has no rows; its first row must be the header"},
        {"fraction.xlsx", Workbook(SheetXml(header + RecordRow(FileKind::Item, 2, "2.00000000000000001", "a"))),
         "fraction.xlsx:2:1: ItemID: '2.00000000000000001' is not a whole number"},
    };
    for (const Case& c : cases) {
        if (!c.bytes.empty()) WriteFile(Path(c.name), c.bytes);
        const CliRun run = Invoke({"import", Path(c.name), "-o", Path("stditem.dat")});
        EXPECT_EQ(run.status, 1) << c.name;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("the CSV is empty"), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(Path("stditem.dat")));
    }
}

// The item sample's records repeated under the IDs 1 to count: a table of count × 184 bytes.
[[nodiscard]] std::vector<std::uint8_t> LargeItemTable(std::size_t count)
{
    const auto sample = ReadFile(kItem);
    std::vector<std::uint8_t> image(4 + count * 184);
    StoreInt32(image.data(), static_cast<std::int32_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        std::copy_n(sample.begin() + 4 + static_cast<std::ptrdiff_t>(i % 38 * 184), 184, image.begin() + 4 + static_cast<std::ptrdiff_t>(i * 184));
        StoreInt32(image.data() + 4 + i * 184, static_cast<std::int32_t>(i + 1) ^ static_cast<std::int32_t>(0xADADADAD));
    }
    return image;
}

TEST_F(Cli, AnImportToAPipeHoldsNoTable)
{
    if (!kCanLimitMemory) GTEST_SKIP() << "no address space limit under AddressSanitizer";
    // The records held, let alone held twice, do not fit beside the program.
    const std::vector<std::uint8_t> image = LargeItemTable(150'000);
    WriteFile(Path("big.dat"), image);
    ASSERT_EQ(Invoke({"export", Path("big.dat"), "--kind", "item", "-o", Path("big.csv")}).status, 0);
    const std::string import = Command({"import", Path("big.csv"), "--kind", "item", "-o", "-"});
    const CliRun run = Shell(WithMemoryLimit(import, kPipeImportMegabytes) + " | cat >" + Quoted(Path("copy.dat")));
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(ReadFile(Path("copy.dat")) == image) << "the same file through the pipe";
}

TEST_F(Cli, SignalsAndFileSizeLimitsLeaveNoTemporaryFile)
{
    const std::string csv = Invoke({"export", kItem}).out;
    WriteFile(Path("t.csv"), RenamedRows(csv, 20'000));
    // Warnings whose reader goes away after the first: the program ends on SIGPIPE.
    const CliRun piped = Shell(Command({"import", Path("t.csv"), "-o", Path("stditem.dat")}) + " 2>&1 | head -n 1");
    EXPECT_NE(piped.out.find("warning: ID 1: the name"), std::string::npos) << piped.out;
    EXPECT_FALSE(std::filesystem::exists(Path("stditem.dat")));
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});

    // Writes past a file size limit, as on a full disk: they fail and say so, whatever the
    // shell did with the signal, and leave the table (or the sheet) as it was, without a backup.
    WriteFile(Path("plain.csv"), csv);
    WriteFile(Path("old.xlsx"), std::string("old"));
    WriteFile(Path("table.dat"), LargeItemTable(6'000));
    const auto table = ReadFile(Path("table.dat"));
    for (const std::string& command : {Command({"export", kItem, "-o", Path("t2.csv")}),
                                       Command({"export", kItem, "-o", Path("old.xlsx")}),
                                       Command({"import", Path("plain.csv"), "-o", Path("stditem.dat")}),
                                       Command({"update", Path("table.dat"), "--kind", "item", "--where", "ItemID>0", "--set", "Price+=1"}),
                                       Command({"update", Path("table.dat"), "--kind", "item", "--where", "ItemID>0", "--set",
                                                "Price+=1", "-o", Path("stditem.dat")})}) {
        const CliRun run = Shell("(ulimit -f 1; " + command + ")");
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_NE(run.err.find(": cannot write: File too large"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "") << command;
        EXPECT_EQ(Leftovers(), std::vector<std::string>{}) << command;
    }
    EXPECT_FALSE(std::filesystem::exists(Path("stditem.dat")));
    EXPECT_FALSE(std::filesystem::exists(Path("t2.csv")));
    EXPECT_EQ(ReadFile<std::string>(Path("old.xlsx")), "old");
    EXPECT_TRUE(ReadFile(Path("table.dat")) == table);
    EXPECT_FALSE(std::filesystem::exists(Path("table.dat.bak")));
}

// The fault matrix of the commands that write a table: a signal that ends the program at
// several moments of the write, with the table linked under a second name or not. The table
// holds its old bytes or its new ones, never a mix, under both names; nothing is left behind;
// the backup holds what was read; and an exit status of 0 means the new bytes.
TEST_F(Cli, ASignalAtAnyMomentOfAWriteLeavesTheOldTableOrTheNew)
{
    if (!CanSendSignalsAt()) GTEST_SKIP() << "strace cannot trace here";
    // Large enough for the copy into a linked file to take several writes of 1 MB.
    const std::vector<std::uint8_t> old = LargeItemTable(20'000);
    WriteFile(Path("all.dat"), old);
    ASSERT_EQ(Invoke({"export", Path("all.dat"), "--kind", "item", "-o", Path("all.csv")}).status, 0);
    WriteFile(Path("new.csv"), Renamed(ReadFile<std::string>(Path("all.csv")), "1", "new"));

    const std::string table = Path("stditem.dat");
    const std::vector<std::vector<std::string>> commands = {
        {"update", table, "--where", "ItemID>0", "--set", "Price+=1"},
        {"import", Path("new.csv"), "-o", table},
    };
    // Where the signal comes: the temporary file written or flushed, the backup put in place,
    // the table renamed in, or (a linked table) the copy into it begun, half done, ending.
    const std::pair<const char*, int> moments[] = {{"write", 2}, {"fsync", 1}, {"rename", 1}, {"rename", 2},
                                                   {"pwrite64", 1}, {"pwrite64", 2}, {"pwrite64", 3}, {"ftruncate", 1}};
    for (const auto& command : commands) {
        // What the command writes when nothing stops it.
        WriteFile(table, old);
        ASSERT_EQ(Shell(CommandOf(command)).status, 0) << command[0];
        const auto wanted = ReadFile(table);
        ASSERT_FALSE(wanted == old);
        for (const bool linked : {false, true}) {
            for (const auto& [call, when] : moments) {
                const std::string signal = when % 2 ? "SIGTERM" : "SIGINT";
                SCOPED_TRACE(command[0] + (linked ? " linked, " : ", ") + signal + " at " + call + " " + std::to_string(when));
                for (const char* name : {"stditem.dat", "stditem.dat.bak", "other-name.dat"}) std::filesystem::remove(Path(name));
                WriteFile(table, old);
                if (linked) std::filesystem::create_hard_link(table, Path("other-name.dat"));
                const CliRun run = Shell(WithSignalAt(CommandOf(command), call, when, signal));
                const auto now = ReadFile(table);
                EXPECT_TRUE(now == old || now == wanted) << "a mix of old and new bytes";
                // Half way through the copy into a linked table, the signal surely came.
                if (linked && std::string_view(call) == "pwrite64" && when == 2) { EXPECT_NE(run.status, 0); }
                if (run.status == 0) {
                    EXPECT_TRUE(now == wanted);
                } else {
                    EXPECT_EQ(run.status, 128 + (signal == "SIGTERM" ? SIGTERM : SIGINT)) << run.err;
                }
                if (linked) {
                    EXPECT_EQ(std::filesystem::hard_link_count(table), 2u);
                    EXPECT_TRUE(ReadFile(Path("other-name.dat")) == now);
                }
                if (std::filesystem::exists(table + ".bak")) { EXPECT_TRUE(ReadFile(table + ".bak") == old); }
                EXPECT_EQ(Leftovers(), std::vector<std::string>{});
            }
        }
    }
}

// Another program writes the table while update runs: changes it, adds to it, cuts it short, or
// replaces it. Whenever that happens after update read it, update writes nothing over it, keeps
// no backup of a version it did not read, and says so.
TEST_F(Cli, UpdateWritesNothingOverATableAnotherProgramWroteMeanwhile)
{
    if (!CanSendSignalsAt()) GTEST_SKIP() << "strace cannot trace here";
    const std::string table = Path("stditem.dat");
    const std::string shown = "another program has changed it since update read it; nothing written";
    const std::pair<const char*, const char*> writes[] = {
        {"changed", "printf '\\125' | dd of=\"$T\" bs=1 seek=200 conv=notrunc 2>/dev/null"},
        {"grown", "printf 'more' >>\"$T\""},
        {"shrunk", "truncate -s -184 \"$T\""},
        {"replaced", "cp \"$T\" \"$T.new\" && printf '\\125' | dd of=\"$T.new\" bs=1 seek=200 conv=notrunc 2>/dev/null && mv \"$T.new\" \"$T\""},
    };
    // Stopped once the new table is written (before the backup is made) and once the backup is
    // made (before the report and the replacing).
    for (const int when : {1, 2}) {
        for (const auto& [what, write] : writes) {
            SCOPED_TRACE(std::string(what) + " after fsync " + std::to_string(when));
            std::filesystem::remove(table + ".bak");
            Copy(kItem, "stditem.dat");
            WriteFile(table + ".bak", std::string("an earlier backup"));
            const std::string log = Path("strace.log");
            std::filesystem::remove(log);
            const std::string update = CommandOf({"update", table, "--where", "ItemID=1", "--set", "Price=7"});
            const CliRun run = Shell("T=" + Quoted(table) + "\n" + StoppedWhile(WithSignalAt(update, "fsync", when, "SIGSTOP", log), log,
                                                                         std::string(write) + " && cp \"$T\" \"$T.theirs\""));
            EXPECT_EQ(run.status, 1) << run.err;
            EXPECT_NE(run.err.find(table + ": not written over: " + shown), std::string::npos) << run.err;
            EXPECT_TRUE(ReadFile(table) == ReadFile(table + ".theirs")) << "their change is kept";
            EXPECT_EQ(ReadFile<std::string>(table + ".bak"), "an earlier backup");
            std::filesystem::remove(table + ".theirs");
            EXPECT_EQ(Leftovers(), std::vector<std::string>{});
        }
    }
}

// The report goes out before the table is replaced: one that cannot be written (a full disk, a
// closed output, a reader gone) leaves the table as it was, and the exit status says so, so
// that a script run again does not change it twice.
TEST_F(Cli, AReportThatCannotBeWrittenLeavesTheTableAsItWas)
{
    const std::string table = Path("stditem.dat");
    const std::string update = CommandOf({"update", table, "--where", "Level=40", "--set", "HP*=1.2", "--kind", "monster"});
    struct Case { std::string line; int status; std::string said; };
    const Case cases[] = {
        {update + " >/dev/full", 1, "standard output: cannot write: No space left on device"},
        {update + " >&-", 1, "standard output: cannot write: Bad file descriptor"},
        // A pipe whose reader is gone before anything is written.
        {"mkfifo " + Quoted(Path("fifo")) + "; exec 3<>" + Quoted(Path("fifo")) + " 4>" + Quoted(Path("fifo")) + " 3<&-; " + update + " >&4",
         128 + SIGPIPE, ""},
        {update + " --json >/dev/full", 1, "standard output: cannot write: No space left on device"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Copy(kMonster, "stditem.dat");
        std::filesystem::remove(Path("fifo"));
        const CliRun run = Shell(c.line);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        if (c.status == 1) {
            EXPECT_NE(run.err.find(table + ": nothing written, since the report of the change could not be"), std::string::npos)
                << run.err;
        }
        EXPECT_TRUE(ReadFile(table) == ReadFile(kMonster)) << "the table as it was";
        EXPECT_FALSE(std::filesystem::exists(table + ".bak"));
        EXPECT_EQ(Leftovers(), std::vector<std::string>{});
    }
    // The status is then the truth: run again with an output that works, it changes the table once.
    const CliRun again = Shell(update);
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("  HP: 5000 → 6000\n"), std::string::npos) << again.out;

    // import's report is its warnings: the table written, exit 0 says so, whether they could
    // be written or not.
    WriteFile(Path("renamed.csv"), RenamedRows(Invoke({"export", kItem}).out, 3));
    ASSERT_EQ(Invoke({"import", Path("renamed.csv"), "-o", Path("wanted.dat"), "--kind", "item"}).status, 0);
    for (const char* redirection : {" 2>/dev/full", " 2>&-", " >/dev/full"}) {
        std::filesystem::remove(table);
        const CliRun run = Shell(Command({"import", Path("renamed.csv"), "-o", table}) + redirection);
        EXPECT_EQ(run.status, 0) << redirection;
        EXPECT_TRUE(ReadFile(table) == ReadFile(Path("wanted.dat"))) << redirection;
    }
}

TEST_F(Cli, NamesThatMayReadAsFormulasAreWarnedOfOnceAndKept)
{
    WriteFile(Path("names.csv"), Renamed(Renamed(Renamed(Invoke({"export", kItem}).out, "1", "a=b"), "2", "=1+1"), "3", "@SUM(A1)"));
    ASSERT_EQ(Invoke({"import", Path("names.csv"), "--keep-names", "-o", Path("kept.dat"), "--kind", "item"}).status, 0);
    ASSERT_EQ(Invoke({"import", Path("names.csv"), "-o", Path("stditem.dat")}).status, 0);
    const std::string warning = "warning: 2 name(s) begin with =, +, - or @ (the first: ID 2 '=1+1'), which a spreadsheet";
    struct Case { std::initializer_list<std::string> args; bool warned; };
    const Case cases[] = {
        {{"export", Path("stditem.dat"), "-o", Path("out.csv")}, true},
        {{"export", Path("stditem.dat"), "-o", Path("gbk.csv"), "--encoding", "gbk"}, true},
        {{"export", Path("stditem.dat")}, true},
        {{"export", Path("stditem.dat"), "-o", Path("out.xlsx")}, false},
        {{"export", Path("kept.dat"), "--kind", "item"}, false},
    };
    for (const Case& c : cases) {
        const CliRun run = Invoke(c.args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(Occurrences(run.err, warning), c.warned ? 1u : 0u) << run.err;
        if (c.warned) { EXPECT_NE(run.err.find("an .xlsx (-o FILE.xlsx) keeps them as text"), std::string::npos) << run.err; }
    }
    // The CSV keeps the names as they are: the import gives the very file back.
    EXPECT_NE(ReadFile<std::string>(Path("out.csv")).find("\n2,=1+1,"), std::string::npos);
    ASSERT_EQ(Invoke({"import", Path("out.csv"), "-o", Path("again.dat"), "--kind", "item"}).status, 0);
    EXPECT_EQ(ReadFile(Path("again.dat")), ReadFile(Path("stditem.dat")));
}

} // namespace
} // namespace rw::test
