// The small text rules of worksheets, where a slip would only show with another program's files.

#include "sheet/CellText.h"
#include "sheet/WorkbookParts.h"

#include <gtest/gtest.h>

namespace rw {
namespace {

TEST(CellText, EscapesReadBackAsTheSameText)
{
    const std::pair<std::string, std::string> cases[] = {
        {"plain 晨露", "plain 晨露"}, {"a\rb\x01", "a_x000D_b_x0001_"}, {"tab\tand\nline", "tab\tand\nline"},
        {"_x0041_", "_x005F_x0041_"}, {"_x00_", "_x00_"}, {"\xEF\xBF\xBE", "_xFFFE_"},
    };
    for (const auto& [text, escaped] : cases) {
        std::string out, back;
        AppendCellEscaped(text, out);
        EXPECT_EQ(out, escaped);
        AppendCellUnescaped(out, back);
        EXPECT_EQ(back, text);
    }
    // What other programs write: lowercase digits; a lone surrogate has no character to become.
    std::string read;
    AppendCellUnescaped("_x00e9_ _xD800_", read);
    EXPECT_EQ(read, "\xC3\xA9 _xD800_");
}

TEST(CellText, ReferencesStayInsideTheSheet)
{
    struct Case { std::string_view reference; std::uint32_t column; std::uint64_t row; }; // column 0: refused
    const Case cases[] = {
        {"A1", 1, 1}, {"AF12", 32, 12}, {"XFD1048576", 16384, 1048576}, {"XFE1", 0, 0}, {"A1048577", 0, 0},
        {"A0", 0, 0}, {"1", 0, 0},      {"A", 0, 0},                     {"a1", 0, 0},
    };
    for (const Case& c : cases) {
        const std::optional<CellReference> cell = ParseCellReference(c.reference);
        ASSERT_EQ(cell.has_value(), c.column != 0) << c.reference;
        if (cell) { EXPECT_EQ(std::pair(cell->column, cell->row), std::pair(c.column, c.row)) << c.reference; }
    }
}

TEST(CellText, WholeNumbersComeAsTheirDigitsAndNothingElseIsCut)
{
    const std::pair<std::string, std::string> cases[] = {
        {"7", "7"}, {"7.0", "7"}, {"1E+5", "100000"}, {"-0", "0"}, {"-2147483648", "-2147483648"},
        {"1.5", "1.5"}, {"3000000000", "3000000000"}, {"1E+300", "1E+300"}, {"abc", "abc"}, {"", ""},
        // Decided by the digits, not by the double nearest to them.
        {"2.00000000000000001", "2.00000000000000001"}, {"1.0000000000000002E+1", "1.0000000000000002E+1"},
        {"1.5E+2", "150"}, {"2.50e1", "25"}, {"-1.0E+0", "-1"}, {"0.0", "0"}, {"1E-5", "1E-5"}, {"5E-0", "5"},
        {"12345678901234567890", "12345678901234567890"}, {"1E", "1E"}, {"1.2.3", "1.2.3"}, {"inf", "inf"},
        {"-", "-"}, {"0x10", "0x10"},
    };
    for (const auto& [value, text] : cases) {
        std::string scratch;
        EXPECT_EQ(WholeNumberText(value, scratch), text) << value;
    }
}

TEST(CellText, RelationshipTargetsBecomePartNames)
{
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"xl/workbook.xml", "worksheets/sheet1.xml", "xl/worksheets/sheet1.xml"}, {"", "xl/workbook.xml", "xl/workbook.xml"},
        {"xl/workbook.xml", "/xl/worksheets/sheet2.xml", "xl/worksheets/sheet2.xml"},
        {"xl/workbook.xml", "../xl/./sharedStrings.xml", "xl/sharedStrings.xml"},
    };
    for (const auto& [source, target, name] : cases) EXPECT_EQ(ResolvePartName(source, target), name) << target;
}

} // namespace
} // namespace rw
