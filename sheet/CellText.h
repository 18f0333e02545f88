#pragma once

// The text of worksheet cells: references such as "AB12", numbers as spreadsheets write them,
// and the _xHHHH_ form in which a workbook holds characters XML cannot carry.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rw {

struct CellReference {
    std::uint32_t column = 0; // 1-based: A is 1
    std::uint64_t row = 0;    // 1-based
};

// "AB12" → column 28, row 12; empty for anything else, a column past XFD or a row past the
// most a worksheet has included.
[[nodiscard]] std::optional<CellReference> ParseCellReference(std::string_view reference);

// A number cell's value as the importer should read it: a whole number (however written:
// "1E+5", "7.0", "-0") as its plain digits, anything else (a fraction, even one a double
// cannot tell from a whole number, "1E+300") as written, so that it is refused rather than
// cut to a whole number. scratch may hold the answer.
[[nodiscard]] std::string_view WholeNumberText(std::string_view value, std::string& scratch);

// Text for a cell: characters XML 1.0 cannot hold, or would not keep (a carriage return
// becomes a line feed), as _xHHHH_; a "_x" that would read as that form gets its underscore
// written as _x005F_. UTF-8 in and out.
void AppendCellEscaped(std::string_view text, std::string& out);
// The reverse, as spreadsheet programs read cells.
void AppendCellUnescaped(std::string_view text, std::string& out);
// Whether text holds anything AppendCellUnescaped would change, so most text needs no copy.
[[nodiscard]] bool MayHoldEscapes(std::string_view text);

} // namespace rw
