// recwright-cli as a user runs it: exit status, messages, and the files it makes.

#include "data/DataFile.h"
#include "data/Record.h"
#include "data/RecordBytes.h"
#include "query/ColumnTitles.h"
#include "system/Platform.h"
#include "tests/cli/CliFixture.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <optional>
#include <regex>

namespace rw::test {
namespace {

// What was typed wrong, or what cannot be compared: exit 2, the reason (with the nearest known
// name for a slip), and the table named as output or linked to it untouched.
TEST_F(Cli, UsageErrorsExitWithTwoAndTouchNothing)
{
    const std::string table = Copy(kItem, "stditem.dat");
    std::filesystem::create_hard_link(table, Path("link.dat"));
    const std::vector<std::string> update{"update", table, "--where", "ItemID=1", "--set", "Price=1"};
    struct Case { std::vector<std::string> args; std::string message; std::string redirect = {}; };
    const Case cases[] = {
        {{}, "Usage:"},
        {{"info"}, "no file given"},
        {{"export", kItem, "--key", "256"}, "--key takes a whole number from 0 to 255, not '256'"},
        {{"export", kItem, "--key=-1"}, "not '-1'"},
        {{"export", kItem, "--key"}, "option --key needs a value"},
        {{"export", kItem, "--kind", "weapon"}, "--kind takes item, magic or monster, not 'weapon'"},
        {{"export", kItem, "--encoding", "latin1"}, "--encoding takes utf-8 (utf8), utf-8-bom (utf8-bom) or gbk (cp936)"},
        {{"export", kItem, "--allow-empty"}, "unknown option '--allow-empty' for export (only import takes it)\n"},
        {{"import", "a.csv", "-o", "stditem.dat", "--allow-empty=yes"}, "option --allow-empty takes no value"},
        {{"export", kItem, kItem}, "one file only"},
        {{"import", kItem}, "import needs -o FILE"},
        {{"export", kItem, "--format", "xlsx"}, "an .xlsx cannot go to standard output; give -o FILE.xlsx"},
        {{"export", kItem, "-o", "-", "--format", "XLSX"}, "an .xlsx cannot go to standard output"},
        {{"import", "-", "--format", "xlsx", "-o", Path("stditem.dat")}, "an .xlsx cannot be read from standard input"},
        {{"export", kItem, "-o", Path("t.xlsx"), "--encoding", "gbk"}, "an .xlsx always holds UTF-8 text"},
        {{"export", kItem, "--format", "ods"}, "--format takes csv or xlsx, not 'ods'"},
        // Slips: the nearest known name.
        {{"exprot", kItem}, "unknown command 'exprot'; did you mean 'export'?\n"},
        {{"--versoin"}, "unknown command '--versoin'; did you mean '--version'?\n"},
        {{"help", "dif"}, "unknown command 'dif'; did you mean 'diff'?\n"},
        {{"updaet", table}, "did you mean 'update'?"},
        {{"frobnicate"}, "unknown command 'frobnicate'\n"},
        {{"info", kItem, "--jsn"}, "unknown option '--jsn' for info; did you mean '--json'?\n"},
        {{"export", kItem, "--encode=gbk"}, "unknown option '--encode=gbk' for export; did you mean '--encoding'?\n"},
        {{"import", "a.csv", "-o", "x", "--keepnames"}, "unknown option '--keepnames' for import; did you mean '--keep-names'?\n"},
        {{"diff", kItem, kItem, "-quiet"}, "unknown option '-quiet' for diff; did you mean '--quiet'?\n"},
        {{"info", kItem, "--hepl"}, "unknown option '--hepl' for info; did you mean '--help'?\n"},
        {Joined(update, {"--dryrun"}), "did you mean '--dry-run'?"},
        {{"export", kItem, "-x"}, "unknown option '-x' for export\n"},
        {{"export", kItem, "--csv"}, "unknown option '--csv' for export (only diff, update and find take it)\n"},
        {{"info", kItem, "--format", "csv"}, "unknown option '--format' for info (only export and import take it)\n"},
        {{"info", kItem, "-o", "x"}, "unknown option '-o' for info (only export, import, diff and update take it)\n"},
        {{"export", kItem, "--kind", "monstr"}, "--kind takes item, magic or monster, not 'monstr'; did you mean 'monster'?\n"},
        {{"export", kItem, "--format", "xslx"}, "--format takes csv or xlsx, not 'xslx'; did you mean 'xlsx'?\n"},
        {{"export", kItem, "--encoding", "gkb"}, "not 'gkb'; did you mean 'gbk'?\n"},
        // diff: 2 is also its answer to what it cannot compare.
        {{"diff", kItem}, "diff needs two data files, A and B"},
        {{"diff", kItem, kItem, kMagic}, "two files only, not also '" + kMagic + "'"},
        {{"diff", kItem, kMagic}, "are tables of different kinds (item, magic)"},
        {{"diff", kItem, table, "-o", table}, "the output is the input file itself"},
        {{"diff", kItem, kItem}, "standard output: cannot write: No space left on device", " >/dev/full"},
        {{"update", table, "--set", "Price=1"}, "update needs --where COND"},
        {{"update", table, "--where", "ItemID=1"}, "update needs at least one --set EXPR"},
        {{"update", table, "--where", " ", "--set", "Price=1"}, "--where is empty"},
        {Joined(update, {"--where", "ItemID=2"}), "--where given twice"},
        {Joined(update, {"-o", "-"}), "-o takes a file"},
        {Joined(update, {"-o", Path("link.dat")}), "-o names the input file itself"},
    };
    for (const Case& c : cases) {
        const CliRun run = Shell(CommandOf(c.args) + c.redirect);
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadFile(table), ReadFile(kItem));
}

TEST_F(Cli, HelpAndVersionPrintWhatWasAskedFor)
{
    const std::string info = "recwright-cli info FILE...";
    const std::string exportLine = "recwright-cli export FILE";
    const std::string importLine = "recwright-cli import CSV|XLSX -o FILE";
    struct Case { std::initializer_list<std::string> args; std::string starts; std::vector<std::string> has, hasNot; };
    const Case cases[] = {
        {{"--help"}, "Usage:\n", {info, exportLine, importLine, "recwright-cli update FILE", "--allow-empty", "Exit status"}, {}},
        {{"info", "--help"}, "Usage: " + info, {"bytes after", "--kind"}, {exportLine, "--encoding", "-o PATH"}},
        {{"export", "-h"}, "Usage: " + exportLine, {"--encoding", "-o PATH"}, {info, "--allow-empty"}},
        {{"import", "--help"}, "Usage: " + importLine, {"--allow-empty", "--encoding"}, {info}},
        {{"diff", "--help"}, "Usage: recwright-cli diff A B", {"--csv", "Exit status of diff: 0"}, {"--allow-empty"}},
        {{"help", "update"}, "Usage: recwright-cli update FILE --where COND --set EXPR",
         {"--dry-run", "--backup[=CONTROL]", "numbered or t", "VERSION_CONTROL", "--suffix=SUFFIX"}, {}},
        {{"--version"}, "recwright-cli " RECWRIGHT_VERSION "\n", {}, {"Usage"}},
    };
    for (const Case& c : cases) {
        const CliRun run = Invoke(c.args);
        EXPECT_EQ(run.status, 0) << c.starts;
        EXPECT_EQ(run.out.rfind(c.starts, 0), 0u) << run.out;
        for (const std::string& part : c.has) EXPECT_NE(run.out.find(part), std::string::npos) << part << "\n" << run.out;
        for (const std::string& part : c.hasNot) EXPECT_EQ(run.out.find(part), std::string::npos) << part << "\n" << run.out;
    }
    EXPECT_EQ(Invoke({"update", "--help"}).out, Invoke({"help", "update"}).out);
}

TEST_F(Cli, OutputThatCannotBeWrittenIsExplained)
{
    const std::pair<std::string, std::string> outputs[] = {{" >/dev/full", "No space left on device"},
                                                           {" >&-", "Bad file descriptor"}};
    for (const auto& [redirect, reason] : outputs) {
        for (const std::string& command : {Command({"info", kItem}), Command({"--help"}), Command({"--version"}),
                                           Command({"export", kItem})}) {
            const CliRun run = Shell(command + redirect);
            EXPECT_EQ(run.status, 1) << command << redirect;
            EXPECT_NE(run.err.find("standard output: cannot write: " + reason), std::string::npos) << run.err;
        }
    }
}

// Whole, cut short, padded or missing: what info shows of each and export warns of once.
TEST_F(Cli, InfoAndExportOfGoodAndBadFiles)
{
    WriteFile(Path("stditem.dat"), ReadFile<std::string>(kItem) + std::string(10, '\x55'));
    const CliRun run = Invoke({"info", Path("stditem.dat"), kMagic});
    EXPECT_EQ(run.status, 0) << run.err;
    for (const char* line : {"kind:                item (stditem.dat)", "key:                 173", "bytes after records: 10\n",
                             "repeated IDs:        0", "kind:                magic (magic.dat)", "key:                 203",
                             "bytes after records: 0\n"}) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
    }
    EXPECT_EQ(Occurrences(run.out, "truncated:           no\n"), 2u) << "truncated means records missing";
    const CliRun paddedOut = Invoke({"export", Path("stditem.dat")});
    EXPECT_EQ(paddedOut.status, 0);
    EXPECT_EQ(Occurrences(paddedOut.err, "10 bytes follow the last of the 38 records"), 1u) << paddedOut.err;
    EXPECT_EQ(paddedOut.out, Invoke({"export", kItem}).out) << "the records alone are exported";

    const std::string monster = ReadFile<std::string>(kMonster);
    WriteFile(Path("monster.dat"), monster.substr(0, monster.size() - 300)); // cut into the last two records
    const CliRun mixed = Invoke({"info", Path("missing.dat"), Path("monster.dat"), "--kind", "monster"});
    EXPECT_EQ(mixed.status, 1) << "the worst status of all files";
    for (const char* line : {"key:                 241", "truncated:           yes", "records present:     29"}) {
        EXPECT_NE(mixed.out.find(line), std::string::npos) << line << "\n" << mixed.out;
    }
    EXPECT_NE(mixed.err.find("missing.dat: cannot read: No such file or directory"), std::string::npos) << mixed.err;
    const CliRun exported = Invoke({"export", Path("monster.dat"), "-o", Path("t.csv")});
    EXPECT_EQ(exported.status, 0);
    EXPECT_NE(exported.err.find("the header announces 30 records but the file holds 29"), std::string::npos) << exported.err;
    EXPECT_EQ(Occurrences(ReadFile<std::string>(Path("t.csv")), "\n"), 30u);
}

TEST_F(Cli, FilesLargerThanMemoryAreRefused)
{
    // Sparse, with the most records a count can announce: more than any machine's memory, so
    // what memory is free at the moment cannot matter.
    const std::uint64_t count = 0x7FFFFFFF;
    if (MemoryLimit() / 184 >= count) GTEST_SKIP() << "more memory than a data file can hold records for";
    WriteFile(Path("stditem.dat"), std::string("\xFF\xFF\xFF\x7F", 4));
    std::filesystem::resize_file(Path("stditem.dat"), 4 + count * 184);
    // (An export reads a piece at a time and would write this out whole.)
    const CliRun run = Invoke({"info", Path("stditem.dat")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("stditem.dat: not loaded: too large to load"), std::string::npos) << run.err;
}

// A CSV row of columns fields (an item's by default): the ID, the name, every other field 0 and
// an empty Raw.
[[nodiscard]] std::string Row(const std::string& id, const std::string& name, int columns = 32)
{
    std::string row = id + "," + name;
    for (int k = 3; k < columns; ++k) row += ",0";
    return row + ",\n";
}

TEST_F(Cli, MemoryThatRunsOutEndsTheCommandWithAMessage)
{
    if (!kCanLimitMemory) GTEST_SKIP() << "no address space limit under AddressSanitizer";
    // A million magic rows need 120 MB of records, more than the limit leaves.
    std::string row = Row("1", "a", 24);
    row.pop_back(); // yes ends each line
    // Into a file the records go as they are read, and fit; a device has to wait for the
    // count, so they wait in a temporary file, and fit too. Without a folder for that, they
    // are held until the end, and do not.
    const auto import = [&](const std::string& environment, std::initializer_list<std::string> arguments) {
        return Shell("{ " + Command({"export", kMagic}) + " | head -n 1; yes " + Quoted(row) + " | head -n 1000000; } | " +
                     WithMemoryLimit(environment + Command(arguments), 128));
    };
    const CliRun streamed = import("", {"import", "-", "-o", Path("magic.dat")});
    EXPECT_EQ(streamed.status, 0) << streamed.err;
    EXPECT_EQ(std::filesystem::file_size(Path("magic.dat")), 4 + 1'000'000 * 120);
    const CliRun spilled = import("", {"import", "-", "-o", "/dev/null", "--kind", "magic"});
    EXPECT_EQ(spilled.status, 0) << spilled.err;
    const CliRun held = import("TMPDIR=" + Quoted(Path("none")) + " ", {"import", "-", "-o", "/dev/null", "--kind", "magic"});
    EXPECT_EQ(held.status, 1) << held.err;
    EXPECT_NE(held.err.find("out of memory; stopped, and nothing was written"), std::string::npos) << held.err;
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

// A fixed CSV per kind, of invented records at the edges (a GBK name, a name of commas and
// quotes, one filling its field, the widest and negative numbers, a byte kept after a name's
// end): read in and exported again, it comes out byte for byte, so any change to what the
// export writes shows here.
TEST_F(Cli, ExportWritesTheFixedCsvOfEachKindByteForByte)
{
    const std::pair<const char*, const char*> kinds[] = {{"stditem", "item"}, {"magic", "magic"}, {"monster", "monster"}};
    for (const auto& [stem, kind] : kinds) {
        const std::string fixture = (kSamples / ".." / "tests" / "data" / "fixtures" / (std::string(stem) + ".csv")).string();
        const std::string data = Path(std::string(stem) + ".dat");
        const CliRun imported = Invoke({"import", fixture, "-o", data, "--kind", kind});
        ASSERT_EQ(imported.status, 0) << imported.err;
        const CliRun exported = Invoke({"export", data, "-o", Path("out.csv")});
        ASSERT_EQ(exported.status, 0) << exported.err;
        EXPECT_EQ(ReadFile<std::string>(Path("out.csv")), ReadFile<std::string>(fixture)) << stem;
    }
}

// Exported and imported back, under any name, in an encoding named in any letter case by either
// of its names, as a CSV or a worksheet by name or by --format: the same file, nothing said,
// nothing left behind. (Each kind in each encoding: CliNames.ChineseNamesExportAndImportTheSamples;
// each kind through a worksheet: Cli.AnImportToANameThatTellsNoKindTakesItFromTheHeader.)
TEST_F(Cli, ExportThenImportGivesTheSameFile)
{
    struct Case { std::string sample, file, table; std::vector<std::string> exportOptions, importOptions; bool sheet = false; };
    const Case cases[] = {
        {kItem, "t.csv", "stditem.dat", {"--encoding", "utf-8"}, {"--encoding", "UTF8"}},
        {kItem, "t.csv", "stditem.dat", {"--encoding", "UTF-8-BOM"}, {"--encoding", "utf8-bom"}},
        {kItem, "t.csv", "stditem.dat", {"--encoding", "gbk"}, {"--encoding", "CP936"}},
        {kItem, std::string(246, 'c') + ".csv", std::string(246, 'd') + ".dat", {}, {"--kind", "item"}},
        {kMagic, "t.XLSX", "magic.dat", {}, {}, true},
        {kMagic, "t.sheet", "magic.dat", {"--format", "xlsx"}, {"--format", "Xlsx"}, true},
        {kMagic, "t.xlsx", "magic.dat", {"--format", "csv"}, {"--format", "csv"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.substr(0, 10) + (c.exportOptions.empty() ? "" : " " + c.exportOptions[1]));
        const CliRun exported = Shell(CommandOf(Joined({"export", c.sample, "-o", Path(c.file)}, c.exportOptions)));
        ASSERT_EQ(exported.status, 0) << exported.err;
        EXPECT_EQ(ReadFile<std::string>(Path(c.file)).starts_with("PK"), c.sheet);
        const CliRun imported = Shell(CommandOf(Joined({"import", Path(c.file), "-o", Path(c.table)}, c.importOptions)));
        ASSERT_EQ(imported.status, 0) << imported.err;
        EXPECT_EQ(imported.err, "") << "no name changed, nothing to say";
        EXPECT_EQ(ReadFile(Path(c.table)), ReadFile(c.sample));
    }
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});

    // Standard output and input, another key, a name that needs --kind.
    const CliRun toStdout = Invoke({"export", kMagic});
    ASSERT_EQ(toStdout.status, 0);
    const CliRun fromStdin = Invoke({"import", "-", "-o", Path("backup.bin"), "--kind", "Magic", "--key", "0"}, toStdout.out);
    ASSERT_EQ(fromStdin.status, 0) << fromStdin.err;
    const auto plain = DecodeBytes(ReadFile(Path("backup.bin")), FileKind::Magic, 0);
    EXPECT_EQ(plain.bytes, ReadDataFile(kSamples / "magic.dat", FileKind::Magic, 203).bytes);
}

// Export and import go a piece at a time; a table of many pieces, with a last piece part
// full, comes back byte for byte, and an import into a pipe, which waits for the count and
// writes at the end, gives the same bytes as one into a file.
TEST_F(Cli, TablesOfManyPiecesComeBackWhole)
{
    struct Case { FileKind kind; const char* name; std::size_t count; };
    const Case cases[] = {{FileKind::Item, "item", 10'001}, {FileKind::Magic, "magic", 4096}, {FileKind::Monster, "monster", 9000}};
    for (const Case& c : cases) {
        const RecordSchema& schema = SchemaOf(c.kind);
        SCOPED_TRACE(c.name);
        const auto source = [&](std::size_t i, std::span<std::uint8_t> record) {
            for (std::size_t b = 0; b < record.size(); ++b) record[b] = static_cast<std::uint8_t>((i * 31 + b * 7) % 200 + 1);
            StoreInt32(record.data(), static_cast<std::int32_t>(i * 3 + 1)); // unique IDs
            const std::string name = "n" + std::to_string(i);
            WriteShortName(schema, record.data(), name);
        };
        const std::string data = Path("in-" + std::string(schema.fileName));
        ASSERT_TRUE(EncodeFile(data, c.kind, schema.initialKey, c.count, source).written);
        ASSERT_EQ(Invoke({"export", data, "--kind", c.name, "-o", Path("t.csv")}).status, 0);
        const CliRun toFile = Invoke({"import", Path("t.csv"), "--kind", c.name, "-o", Path("back.dat")});
        ASSERT_EQ(toFile.status, 0) << toFile.err;
        EXPECT_EQ(ReadFile(Path("back.dat")), ReadFile(data));
        // Into a named pipe; to standard output by name: "-" as for export, and /dev/stdout, which
        // on a pipe links to no path at all.
        std::filesystem::remove(Path("pipe"));
        ASSERT_EQ(Shell("mkfifo " + Quoted(Path("pipe"))).status, 0);
        for (const std::string& out : {Path("pipe"), std::string("-"), std::string("/dev/stdout")}) {
            const std::string import = Command({"import", Path("t.csv"), "--kind", c.name, "-o", out});
            const CliRun run = Shell(out == Path("pipe") ? "{ cat " + Quoted(out) + " & } && " + import + " && wait" : import + " | cat");
            ASSERT_EQ(run.status, 0) << out << ": " << run.err;
            EXPECT_TRUE(run.out == ReadFile<std::string>(data)) << out;
        }
        EXPECT_FALSE(std::filesystem::exists("-"));
    }
}

// A CSV imported over a copy of the sample: the exit status, the lines of standard error and
// what they say, and the table then (the copy as it was: nothing written). Errors name line and
// column, and are said once for the whole CSV; warnings leave the import to go on.
TEST_F(Cli, CsvImportsSayWhatTheyMetAndWriteOnlyWhatIsWhole)
{
    const std::string csv = Invoke({"export", kItem}).out;
    const std::string header = csv.substr(0, csv.find('\n') + 1);
    const std::string bom = "\xEF\xBB\xBF";
    std::string monster = Invoke({"export", kMonster}).out;
    monster.replace(monster.find('\n') + 1, 1, "5"); // first record's ID 0 -> 5
    const std::string table = Path("stditem.dat");
    const std::string sample = ReadFile<std::string>(kItem);
    const std::string notWritten = "stditem.dat: not written: 1 error(s) in";
    struct Case { const char* label; std::string text; std::vector<std::string> options; int status;
                  std::vector<std::string> said; std::size_t lines; std::optional<std::string> table; };
    const Case cases[] = {
        {"a BOM in UTF-8", bom + csv, {"--encoding", "utf-8"}, 0, {}, 0, sample},
        {"a BOM after the start", header + bom + csv.substr(header.size()), {"--encoding", "utf-8"}, 1,
         {"t.csv:2:1: ItemID: '\xEF\xBB\xBF" "1' is not a whole number", notWritten}, 2, sample},
        {"a BOM in GBK", bom + csv, {"--encoding", "gbk"}, 1, {"t.csv:1: the header must be"}, 2, sample},
        {"a comma too many, fields counted with Raw", header + Row("1", "a,0"), {}, 1,
         {"t.csv:2: 33 fields, but the header has 32\n", notWritten}, 2, sample},
        // GBK read as UTF-8: one error for the whole CSV, not one per row.
        {"GBK as UTF-8", Invoke({"export", kItem, "--encoding", "gbk"}).out, {}, 1,
         {"t.csv:2:2: ItemName: '", "' is not UTF-8 text; if the CSV is in GBK, give --encoding gbk", notWritten}, 2, sample},
        {"no records", header, {}, 1, {"stditem.dat: not written: " + Path("t.csv") + " has no records", "--allow-empty"}, 1,
         sample},
        {"no records allowed", header, {"--allow-empty"}, 0, {"warning: no records"}, 1, std::string(4, '\0')},
        {"the first monster's ID", monster, {"--kind", "monster"}, 0, {"t.csv:2:1: warning: the first record's ID (5) has no room"},
         1, ReadFile<std::string>(kMonster)},
        // Every line's last field, Raw, dropped.
        {"no Raw", std::regex_replace(csv, std::regex(",[^,\n]*\n"), "\n"), {}, 0,
         {"recwright-cli: " + Path("t.csv") + ":1: warning: no Raw column; the bytes that no column shows will be zero in every record\n"},
         1, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        WriteFile(Path("t.csv"), c.text);
        Copy(kItem, "stditem.dat");
        const CliRun run = Shell(CommandOf(Joined({"import", Path("t.csv"), "-o", table}, c.options)));
        EXPECT_EQ(run.status, c.status) << run.err;
        for (const std::string& part : c.said) EXPECT_NE(run.err.find(part), std::string::npos) << part << "\n" << run.err;
        EXPECT_EQ(Occurrences(run.err, "\n"), c.lines) << run.err;
        if (c.table) { EXPECT_TRUE(ReadFile<std::string>(table) == *c.table); }
    }
}

TEST_F(Cli, AnOutputThatIsTheInputIsRefusedAndNothingIsTouched)
{
    const std::string data = Copy(kItem, "stditem.dat");
    const std::string csv = Path("t.csv");
    ASSERT_EQ(Invoke({"export", data, "-o", csv}).status, 0);
    const std::string csvBefore = ReadFile<std::string>(csv);
    std::filesystem::create_symlink(data, Path("link.dat"));
    std::filesystem::create_hard_link(data, Path("hard.dat"));
    std::filesystem::create_symlink(csv, Path("link.csv"));
    const std::pair<std::string, std::string> cases[] = {
        {Command({"export", data, "-o", data}), data + ": the output is the input file itself"},
        {Command({"export", data, "-o", Path("link.dat")}), "link.dat: the output is the input file itself"},
        {Command({"export", Path("link.dat"), "--kind", "item", "-o", Path("hard.dat")}), "hard.dat: the output is the input"},
        {Command({"export", data}) + " >>" + Quoted(data), "standard output is " + data + ", the input file itself"},
        {Command({"export", data, "-o", "/dev/stdout"}) + " >>" + Quoted(Path("hard.dat")), "/dev/stdout: the output is"},
        {Command({"import", csv, "--kind", "item", "-o", csv}), "t.csv: the output is the input file itself"},
        {Command({"import", Path("link.csv"), "--kind", "item", "-o", csv}), "t.csv: the output is the input file"},
        {Command({"import", "-", "-o", data}) + " <" + Quoted(Path("link.dat")), "standard input is " + data + ", the output"},
    };
    for (const auto& [line, message] : cases) {
        const CliRun run = Shell(line);
        EXPECT_EQ(run.status, 2) << line;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_EQ(ReadFile(data), ReadFile(kItem)) << line;
        EXPECT_EQ(ReadFile<std::string>(csv), csvBefore) << line;
    }
}

TEST_F(Cli, MessagesShowControlCharactersEscaped)
{
    const std::string csv = Invoke({"export", kItem}).out;
    const std::string header = csv.substr(0, csv.find('\n') + 1);
    const std::string oddName = Copy(kItem, "\x1b[2J\nx.dat");
    struct Case { std::string csv; std::string line; std::string message; };
    const Case cases[] = {
        {header + Row("\x1b]0;owned\x07", "a"), "", "ItemID: '\\x1b]0;owned\\x07' is not a whole number"},
        {header + Row("\xC2\x9B" "31m\x7F", "a"), "", "ItemID: '\\u009b31m\\x7f' is not"},
        {header + Row("1", std::string("\"a\0b\"", 5)), "", "ItemName: 'a\\x00b' has characters"},
        {"Item\x1b[2JID" + header.substr(6), "", "found: Item\\x1b[2JID,ItemName"},
        {"", Command({"info", oddName, "--kind", "item"}), "\\x1b[2J\\x0ax.dat\n  kind:"},
        {"", Command({"info", Path("\x9b" "2J.dat"), "--kind", "item"}), "\\x9b2J.dat: cannot read"},
        {"", Command({"export", kItem, "--kind", "\x1b[2J"}), "not '\\x1b[2J'"},
    };
    for (const Case& c : cases) {
        WriteFile(Path("t.csv"), c.csv);
        const CliRun run = Shell(c.line.empty() ? Command({"import", Path("t.csv"), "-o", Path("stditem.dat")}) : c.line);
        EXPECT_NE((run.out + run.err).find(c.message), std::string::npos) << run.out << run.err;
        for (const std::string& text : {run.out, run.err}) {
            for (std::size_t i = 0; i < text.size(); ++i) {
                const auto byte = static_cast<unsigned char>(text[i]);
                const bool c1 = byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0;
                EXPECT_TRUE((byte >= 0x20 && byte != 0x7F && !c1) || byte == '\n') << "byte " << i << " of " << text;
            }
        }
    }
}

TEST_F(Cli, AnyCsvIsReadInBoundedMemory)
{
    ASSERT_EQ(Invoke({"export", kItem, "-o", Path("t.csv")}).status, 0);
    const std::string import = Command({"import", "-", "-o", Path("stditem.dat")});
    const std::pair<std::string, std::string> cases[] = {
        {WithMemoryLimit(Command({"import", "/dev/zero", "-o", Path("stditem.dat")}), 256),
         "/dev/zero:1:1: in the header: a row longer than 1048576 bytes"},
        // A hundred megabytes of commas on line 2, then good rows that are still read.
        {"{ head -n 1 " + Quoted(Path("t.csv")) + "; head -c 100000000 /dev/zero | tr '\\0' ,; echo; tail -n +2 " +
             Quoted(Path("t.csv")) + "; } | " + WithMemoryLimit(import, 256),
         "-:2:1048577: a row longer than 1048576 bytes"},
    };
    for (const auto& [line, message] : cases) {
        const CliRun run = Shell(line);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("stditem.dat: not written: 1 error(s)"), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(Path("stditem.dat")));
    }
}

TEST_F(Cli, NameChangesAreWarnedOfAndKeptOnRequest)
{
    // The CSV's second record renamed, as a spreadsheet turns "007" into "7" (from worksheet
    // rows as from CSV text: CsvRows.NameChangesAreListedAndKeptOnRequest).
    const std::string csv = Invoke({"export", kItem}).out;
    WriteFile(Path("t.csv"), Renamed(csv, "2", "7"));
    // The name shown (UTF-8) and the name kept (GBK bytes).
    const std::string stored = "\xE6\x99\xA8\xE9\x9C\xB2\xE8\x8D\xAF\xE5\x89\x82(\xE5\xA4\xA7)";
    const std::string kept = "\xB3\xBF\xC2\xB6\xD2\xA9\xBC\xC1(\xB4\xF3)";
    for (const bool keep : {false, true}) {
        std::vector<std::string> args{"import", Path("t.csv"), "-o", Path("stditem.dat")};
        if (keep) args.push_back("--keep-names");
        const CliRun run = Shell(CommandOf(args));
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string where = "recwright-cli: " + Path("t.csv") + ":3:2: warning: ID 2: the name '" + stored;
        EXPECT_EQ(run.err, where + (keep ? "' is kept, not '7'\n" : "' becomes '7'\n") + "recwright-cli: " + Path("t.csv") +
                               ": warning: 1 name(s) differ from the names their Raw holds" +
                               (keep ? "; those are kept\n" : " and are written; --keep-names keeps the names in Raw instead\n"));
        const auto records = ReadDataFile(Path("stditem.dat"), FileKind::Item, 173);
        EXPECT_EQ(Record(FileKind::Item, records.RecordAt(1)).Name(), keep ? kept : "7");
    }

    // Very many: the first ten thousand, then how many more.
    WriteFile(Path("t.csv"), RenamedRows(csv, 10'001));
    const CliRun run = Invoke({"import", Path("t.csv"), "-o", Path("stditem.dat")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(Occurrences(run.err, "' becomes 'renamed'"), 10'000u);
    EXPECT_NE(run.err.find(": warning: ... and 1 more name change(s)\n"), std::string::npos);
    EXPECT_NE(run.err.find(": warning: 10001 name(s) differ"), std::string::npos);
}

// The item sample written again into folder, its records first changed by edit, enciphered with
// key 7 (not the kind's own, so that a diff shows it reads both with the key given).
[[nodiscard]] std::string EditedItems(const std::filesystem::path& folder, const std::function<void(std::vector<Record>&)>& edit)
{
    const DecodedRecords read = ReadDataFile(kItem, FileKind::Item, kItemSchema.initialKey);
    std::vector<Record> records;
    for (std::size_t i = 0; i < read.Count(); ++i) records.emplace_back(FileKind::Item, read.RecordAt(i));
    edit(records);
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "stditem.dat").string();
    EXPECT_TRUE(EncodeFile(path, FileKind::Item, 7, records.size(), [&](std::size_t i, std::span<std::uint8_t> r) {
                    std::copy(records[i].Bytes().begin(), records[i].Bytes().end(), r.begin());
                }).written);
    return path;
}

// The item sample less ID 1, with ID 2's price and a hidden byte changed, ID 4 renamed to a
// control sequence and a record 1000 added whose name holds a comma.
void EditItems(std::vector<Record>& records)
{
    records[1].SetValue(ColumnTitled(kItemSchema, "Price"), 150);
    records[1].Bytes()[kItemSchema.hidden[0].begin] ^= 0x40;
    records[3].SetName("\x1b[2J");
    records.erase(records.begin());
    Record added(FileKind::Item);
    added.SetId(1000);
    added.SetName("\xd0\xc7\xc9\xb0,\xbd\xe4\xd6\xb8"); // 星砂,戒指
    records.push_back(added);
}

TEST_F(Cli, DiffShowsEachDifferenceAndAnswersWithItsStatus)
{
    const std::string a = EditedItems(m_dir / "a", [](std::vector<Record>&) {});
    const std::string items = EditedItems(m_dir / "b", EditItems);
    const CliRun text = Invoke({"diff", a, items, "--key", "7"});
    EXPECT_EQ(text.status, 1) << text.err;
    EXPECT_EQ(text.out, "A: " + a + ", 38 records\nB: " + items + ", 38 records\n"
                        "only in A: ID 1 '晨露药剂', position 1\n"
                        "changed: ID 2 '晨露药剂(大)', position 2 in A, 1 in B\n"
                        "  Price: 120 → 150\n"
                        "  hidden bytes differ\n"
                        "changed: ID 4 '月华灵液(大)', position 4 in A, 3 in B\n"
                        "  ItemName: '月华灵液(大)' → '\\x1b[2J'\n"
                        "only in B: ID 1000 '星砂,戒指', position 38\n"
                        "1 only in A, 1 only in B, 2 changed, 35 the same\n");
    EXPECT_EQ(text.err, "");

    const CliRun csv = Invoke({"diff", a, items, "--csv", "-o", Path("diff.csv"), "--key", "7"});
    EXPECT_EQ(csv.status, 1) << csv.err;
    EXPECT_EQ(csv.out, "");
    EXPECT_EQ(ReadFile<std::string>(Path("diff.csv")), "Change,ID,Name,Position A,Position B,Field,Old,New\n"
                                                       "only in A,1,晨露药剂,1,,,,\n"
                                                       "changed,2,晨露药剂(大),2,1,Price,120,150\n"
                                                       "changed,2,晨露药剂(大),2,1,hidden bytes,,\n"
                                                       "changed,4,月华灵液(大),4,3,ItemName,月华灵液(大),\x1b[2J\n"
                                                       "only in B,1000,\"星砂,戒指\",,38,,,\n");

    // The same as one object, a line per record; a control character as its JSON escape.
    const CliRun json = Invoke({"diff", a, items, "--json", "--key", "7"});
    EXPECT_EQ(json.status, 1) << json.err;
    EXPECT_EQ(json.out, "{\"kind\":\"item\",\"a\":{\"file\":\"" + a + "\",\"records\":38},\"b\":{\"file\":\"" + items +
                            "\",\"records\":38},\"changes\":[\n"
                            "{\"change\":\"only_in_a\",\"id\":1,\"name\":\"晨露药剂\",\"position_a\":1,\"position_b\":null,"
                            "\"fields\":[],\"hidden_bytes\":false},\n"
                            "{\"change\":\"changed\",\"id\":2,\"name\":\"晨露药剂(大)\",\"position_a\":2,\"position_b\":1,"
                            "\"fields\":[{\"field\":\"Price\",\"old\":120,\"new\":150}],\"hidden_bytes\":true},\n"
                            "{\"change\":\"changed\",\"id\":4,\"name\":\"月华灵液(大)\",\"position_a\":4,\"position_b\":3,"
                            "\"fields\":[{\"field\":\"ItemName\",\"old\":\"月华灵液(大)\",\"new\":\"\\u001b[2J\"}],"
                            "\"hidden_bytes\":false},\n"
                            "{\"change\":\"only_in_b\",\"id\":1000,\"name\":\"星砂,戒指\",\"position_a\":null,\"position_b\":38,"
                            "\"fields\":[],\"hidden_bytes\":false}\n"
                            "],\"summary\":{\"only_in_a\":1,\"only_in_b\":1,\"changed\":2,\"same\":35}}\n");
    EXPECT_EQ(json.err, "");

    // A backup's name tells nothing: it is taken to be of the other file's kind.
    const CliRun same = Invoke({"diff", Copy(kItem, "stditem.dat.bak"), kItem, "--csv"});
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "Change,ID,Name,Position A,Position B,Field,Old,New\n");
}

} // namespace
} // namespace rw::test
