// A large CSV is read by two readers at once, each taking about half of the text: whatever
// the rows hold (quoted fields over many lines, errors, carriage returns, changed names,
// repeated IDs), the import is the one a single reader makes taking the text a little at a time.

#include "csv/CsvFeed.h"
#include "tests/data/CsvRows.h"
#include "tests/data/TestFiles.h"
#include "text/Utf8NameTranscoder.h"

#include <limits>
#include <random>

namespace rw {
namespace {

using namespace test;

const Utf8NameTranscoder kNames;
constexpr FileKind kItem = FileKind::Item;

// The fields after the ID and the name: Stdmode's value, the rest 0.
[[nodiscard]] std::string Fields(int value)
{
    std::string fields(1, ',');
    fields += std::to_string(value);
    for (int k = 3; k < kItemSchema.ColumnCount(); ++k) fields += ",0";
    return fields;
}

[[nodiscard]] std::string RawOf(int id, const std::string& name)
{
    Record record(kItem);
    record.SetId(id);
    (void)record.SetName(name);
    return test::RawOf(record);
}

[[nodiscard]] std::string GoodRows(int count)
{
    std::string text = Header(kItem);
    for (int id = 1; id <= count; ++id) text += std::to_string(id) + ",n" + Fields(id) + "," + RawOf(id, "n") + "\n";
    return text;
}

// Rows of many sorts, a few of them broken, at random; with the seed, the same ones.
[[nodiscard]] std::string MixedRows(unsigned seed, int count)
{
    std::mt19937 random(seed);
    std::string text = Header(kItem);
    for (int id = 1; id <= count; ++id) {
        const std::string name = std::string(1, 'n') + std::to_string(id);
        switch (random() % 40) {
        case 0: text += std::to_string(id) + ",\"" + name + "\nsecond line\"" + Fields(1) + ",\r\n"; break;
        case 1: text += std::to_string(id) + "," + name + "x" + Fields(2) + "," + RawOf(id, name) + "\n"; break;
        case 2: text += std::to_string(id) + "," + name + Fields(3) + "," + RawOf(id, name) + "\r\n"; break;
        case 3: text += "\n"; break;
        case 4:
            if (random() % 8 == 0) text += std::to_string(id) + ",a\"b" + Fields(4) + ",\n"; // a quote inside a field
            else text += std::to_string(id) + "," + name + Fields(5) + "," + RawOf(id, name) + "\n";
            break;
        case 5:
            if (random() % 8 == 0) text += std::to_string(id % 97) + "," + name + Fields(6) + ",\n"; // a repeated ID
            else text += std::to_string(id) + ",\"" + name + "\"\"q\"\"\"" + Fields(7) + ",\n";
            break;
        case 6:
            if (random() % 8 == 0) text += std::to_string(id) + "," + name + ",x" + Fields(8).substr(2) + ",\n";
            else text += std::to_string(id) + "," + name + Fields(9) + "\n"; // a field short
            break;
        default: text += std::to_string(id) + "," + name + Fields(id % 1000) + "," + RawOf(id, name) + "\n"; break;
        }
    }
    return text;
}

// Rows whose quoted names run over ten lines, after IDs written with a thousand leading
// zeros: wherever in a row the text is parted, the line end after that point is almost surely
// inside a name, so the later part does not start a row and reading goes on with one reader
// from where the earlier one stopped.
[[nodiscard]] std::string RowsPartedInsideNames(int count)
{
    std::string text = Header(kItem, false);
    for (int id = 1; id <= count; ++id) {
        const std::string digits = std::to_string(id);
        text += std::string(1000 - digits.size(), '0') + digits + ",\"";
        for (int line = 0; line < 10; ++line) text += "x\n";
        text += '"' + Fields(0) + '\n';
    }
    return text;
}

// Every third row a name over two lines with text after its closing quote, and kilobytes
// long: the rest of the line is passed over, also where a piece of the text ends inside it
// and the next piece goes on with it.
[[nodiscard]] std::string LongBrokenRows(int count)
{
    std::string text = Header(kItem, false);
    for (int id = 1; id <= count; ++id) {
        if (id % 3 == 0) text += std::to_string(id) + ",\"n\n" + std::to_string(id) + "\"x" + std::string(3000, 'y');
        else text += std::to_string(id) + ",n" + std::to_string(id);
        text += Fields(0) + "\n";
    }
    return text;
}

// Good rows with one row, early on, whose quote goes on over the line ends after it: to the
// end of the text when close is empty, else over bytes of name and then closed.
[[nodiscard]] std::string RowsAfterAQuoteOverLines(int count, std::size_t nameBytes, std::string_view close)
{
    std::string text = GoodRows(count);
    const std::size_t third = text.find('\n', text.find('\n', text.find('\n') + 1) + 1) + 1;
    text.insert(third, "3000,\"" + std::string(nameBytes, 'x') + "\n" + std::string(close) + Fields(0) + "\n");
    return text;
}

// A quoted name that holds a line end just where its row passes CsvTokenizer::kMaxRowBytes,
// and that line end is where the text is parted: the earlier part ends inside the line of the
// row's error, so the later part does not start a row, though a line does start there.
[[nodiscard]] std::string RowTooLongUpToTheParting()
{
    std::string text = Header(kItem, false) + "1,a" + Fields(0) + "\n";
    const std::size_t rowStart = text.size();
    text += "2,\"";
    text.append(rowStart + CsvTokenizer::kMaxRowBytes - 1 - text.size(), 'x');
    return text + "\ny\"" + Fields(0) + "\n3,c" + Fields(0) + "\n4,d" + Fields(0) + "\n";
}

// A single reader: the text a few kilobytes at a time, as much as the importer leaves kept.
void FeedInPieces(RowImporter& importer, std::string_view text)
{
    constexpr std::size_t kPiece = 4096;
    std::string held;
    for (std::size_t at = 0; !importer.Finished();) {
        const std::size_t n = std::min(kPiece, text.size() - at);
        held.append(text.substr(at, n));
        at += n;
        const bool atEnd = at == text.size();
        held.erase(0, importer.Consume(held, atEnd));
        if (atEnd) break;
    }
}

TEST(CsvHalves, TwoReadersImportWhatOneDoes)
{
    struct Case { const char* what; std::string text; bool ok; };
    const Case cases[] = {
        {"good rows", GoodRows(6000), true},
        {"mixed rows", MixedRows(1, 6000), false},
        {"mixed rows, another draw", MixedRows(2, 9000), false},
        {"names over ten lines where the text is parted", RowsPartedInsideNames(700), true},
        {"long rows broken near their start", LongBrokenRows(1500), false},
        {"a quote never closed", RowsAfterAQuoteOverLines(2000, 10, ""), false},
        {"a name of 300 KB over two lines", RowsAfterAQuoteOverLines(2000, 300'000, "x\""), false},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_GT(c.text.size(), std::size_t{600} << 10) << "large enough to be parted, and the parts again";
        RowImporter one(kItem, kNames);
        FeedInPieces(one, c.text);
        EXPECT_EQ(one.Ok(), c.ok);
        RowImporter whole(kItem, kNames);
        EXPECT_EQ(whole.Consume(c.text, true), c.text.size());
        ExpectSameImport(one, whole);
        // Parted every few kilobytes, on any machine.
        RowImporter parted(kItem, kNames);
        parted.SetParting({.minBytes = 4096, .onOneProcessor = true});
        EXPECT_EQ(parted.Consume(c.text, true), c.text.size());
        ExpectSameImport(one, parted);
        // From a file a megabyte at a time, the next read on its way meanwhile.
        test::WriteFile(dir / "t.csv", c.text);
        InputFile input(dir / "t.csv", InputFile::Accept::RegularFile);
        RowImporter fed(kItem, kNames);
        ASSERT_EQ(FeedCsv(input, true, fed, {}), FeedResult::Done);
        ExpectSameImport(one, fed);
    }
}

// Parted or not, the row too long is one error, and the rows after its line are read.
TEST(CsvHalves, ARowTooLongUpToThePartingIsOneError)
{
    const std::string text = RowTooLongUpToTheParting();
    for (const std::size_t minBytes : {std::size_t{4096}, std::numeric_limits<std::size_t>::max()}) {
        SCOPED_TRACE(minBytes);
        RowImporter importer(kItem, kNames);
        importer.SetParting({.minBytes = minBytes, .onOneProcessor = true});
        EXPECT_EQ(importer.Consume(text, true), text.size());
        EXPECT_EQ(std::make_tuple(importer.ErrorCount(), importer.Errors().at(0).syntax, importer.RowCount()),
                  std::make_tuple(std::size_t{1}, CsvSyntax::RowTooLong, std::size_t{3}));
    }
}

} // namespace
} // namespace rw
