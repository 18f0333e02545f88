// recwright-cli against a careless user and a hostile file: files that are missing or cannot be
// the table asked for, a cut file compared, workbooks that would show other records than
// those read, imports that must stream, signals and limits that must leave nothing behind.

#include "data/DataFile.h"
#include "data/Record.h"
#include "data/RecordBytes.h"
#include "tests/cli/CliFixture.h"
#include "tests/sheet/WorkbookBytes.h"

namespace rw::test {
namespace {

// The memory an import of 150,000 records (28 MB) to a pipe is given: it takes about 32 MB
// streamed, and more than 64 MB with the table held.
constexpr long kPipeImportMegabytes = 48;

// The item sample's CSV with its records repeated under new IDs up to count rows, each with
// the name its Raw holds changed: every row a warning.
[[nodiscard]] std::string RenamedRows(const std::string& csv, int count)
{
    const std::size_t bodyStart = csv.find('\n') + 1;
    std::string out = csv.substr(0, bodyStart);
    const std::string row = csv.substr(bodyStart, csv.find('\n', bodyStart) - bodyStart);
    const std::size_t afterName = row.find(',', row.find(',') + 1);
    for (int i = 1; i <= count; ++i) out += std::to_string(i) + ",renamed" + row.substr(afterName) + "\n";
    return out;
}

TEST_F(Cli, AFileIsLookedAtBeforeItsNameAndRefusedWhenItCannotBeTheTable)
{
    WriteFile(Path("items.csv"), Invoke({"export", kItem}).out);
    WriteFile(Path("monsters.bak"), ReadFile(kSamples / "monster.dat"));
    struct Case { std::string line; int status; std::string message; };
    const Case cases[] = {
        {Command({"info", Path("nosuch.dat")}), 1, "nosuch.dat: cannot read: No such file or directory"},
        {Command({"export", Path("nosuch.bak")}), 1, "nosuch.bak: cannot read: No such file or directory"},
        {Command({"diff", Path("nosuch.bak"), kItem}), 2, "nosuch.bak: cannot read: No such file or directory"},
        {Command({"info", Path("items.csv"), "--kind", "item"}), 1,
         "items.csv: not a table of kind item: its header counts 1835365449 records (337707242620 bytes), but the file has"},
        {Command({"export", Path("items.csv"), "--kind", "item", "-o", Path("out.csv")}), 1,
         "items.csv: not a table of kind item: its header counts 1835365449 records"},
        {Command({"info", Path("monsters.bak"), "--kind", "item"}), 1,
         "monsters.bak: not a table of kind item: its size is exactly that of 30 monster records (--kind monster reads it so)"},
        {Command({"diff", Path("monsters.bak"), kItem}), 2, "monsters.bak: not a table of kind item"},
    };
    for (const Case& c : cases) {
        const CliRun run = Shell(c.line);
        EXPECT_EQ(run.status, c.status) << c.line;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("the name does not say"), std::string::npos) << run.err;
        EXPECT_EQ(run.out.find("records present"), std::string::npos) << run.out;
    }
    EXPECT_FALSE(std::filesystem::exists(Path("out.csv")));
}

TEST_F(Cli, DiffComparesOnlyTheRecordsAFileHoldsWhole)
{
    // Cut 100 bytes into its sixth record; compared with the whole file, and with itself.
    const auto whole = ReadFile(kItem);
    WriteFile(Path("stditem.dat"), std::vector<std::uint8_t>(whole.begin(), whole.begin() + 4 + 5 * 184 + 100));
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
    struct Case { std::string name; std::vector<std::uint8_t> bytes; std::string message; };
    const Case cases[] = {
        {"twin.xlsx", ZipOf(twin), "twin.xlsx: refused: it holds two members named 'xl/worksheets/sheet1.xml' (letter case"},
        {"hidden.xlsx", ZipOf(hidden), "hidden.xlsx: refused: its first worksheet, 's', is hidden"},
        {"itself.xlsx", ZipOf(itself),
         "itself.xlsx: no worksheet to read: the workbook gives xl/workbook.xml as its first worksheet, but that holds a <workbook>"},
        {"empty.xlsx", Workbook(SheetXml("")), "empty.xlsx:1: the worksheet has no rows; its first row must be the header"},
        {"fraction.xlsx", Workbook(SheetXml(header + RecordRow(FileKind::Item, 2, "2.00000000000000001", "a"))),
         "fraction.xlsx:2:1: ItemID: '2.00000000000000001' is not a whole number"},
    };
    for (const Case& c : cases) {
        WriteFile(Path(c.name), c.bytes);
        const CliRun run = Invoke({"import", Path(c.name), "-o", Path("stditem.dat")});
        EXPECT_EQ(run.status, 1) << c.name;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("the CSV is empty"), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(Path("stditem.dat")));
    }
}

TEST_F(Cli, AnImportToAPipeHoldsNoTable)
{
    if (!kCanLimitMemory) GTEST_SKIP() << "no address space limit under AddressSanitizer";
    // The records held, let alone held twice, do not fit beside the program.
    const auto sample = ReadFile(kItem);
    constexpr std::size_t kCount = 150'000;
    std::vector<std::uint8_t> image(4 + kCount * 184);
    StoreInt32(image.data(), static_cast<std::int32_t>(kCount));
    for (std::size_t i = 0; i < kCount; ++i) {
        std::copy_n(sample.begin() + 4 + static_cast<std::ptrdiff_t>(i % 38 * 184), 184, image.begin() + 4 + static_cast<std::ptrdiff_t>(i * 184));
        StoreInt32(image.data() + 4 + i * 184, static_cast<std::int32_t>(i + 1) ^ static_cast<std::int32_t>(0xADADADAD));
    }
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

    // Writes past a file size limit: they fail and say so, whatever the shell did with the signal.
    WriteFile(Path("plain.csv"), csv);
    for (const std::string& command : {Command({"export", kItem, "-o", Path("t2.csv")}),
                                       Command({"import", Path("plain.csv"), "-o", Path("stditem.dat")})}) {
        const CliRun run = Shell("(ulimit -f 1; " + command + ")");
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_NE(run.err.find(": cannot write: File too large"), std::string::npos) << run.err;
        EXPECT_EQ(Leftovers(), std::vector<std::string>{}) << command;
    }
    EXPECT_FALSE(std::filesystem::exists(Path("stditem.dat")));
    EXPECT_FALSE(std::filesystem::exists(Path("t2.csv")));
}

TEST_F(Cli, NamesThatMayReadAsFormulasAreWarnedOfOnceAndKept)
{
    std::string csv = Invoke({"export", kItem}).out;
    for (const auto& [id, name] : {std::pair<std::string, std::string>{"1", "a=b"}, {"2", "=1+1"}, {"3", "@SUM(A1)"}}) {
        const std::size_t at = csv.find("\n" + id + ",") + id.size() + 2;
        csv.replace(at, csv.find(',', at) - at, name);
    }
    WriteFile(Path("names.csv"), csv);
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
        if (c.warned) {
            EXPECT_NE(run.err.find("an .xlsx (-o FILE.xlsx) keeps them as text"), std::string::npos) << run.err;
        }
    }
    // The CSV keeps the names as they are: the import gives the very file back.
    EXPECT_NE(ReadFile<std::string>(Path("out.csv")).find("\n2,=1+1,"), std::string::npos);
    ASSERT_EQ(Invoke({"import", Path("out.csv"), "-o", Path("again.dat"), "--kind", "item"}).status, 0);
    EXPECT_EQ(ReadFile(Path("again.dat")), ReadFile(Path("stditem.dat")));
}

} // namespace
} // namespace rw::test
