#pragma once

// What became of writing or reading a record sheet (.xlsx), for a message: the failure, the
// workbook part it concerns, and the numbers the message needs.

#include <cstdint>
#include <functional>
#include <string>

namespace rw {

// Told the work done and the whole of it (records when writing, unpacked bytes when
// reading) every so often; false cancels.
using SheetProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

enum class SheetFailure : std::uint8_t {
    None,
    Cancelled,        // the progress callback said no; nothing was written
    CannotWrite,      // detail: the system's or the sheet writer's reason
    CannotRead,       // detail: the system's reason; empty for what is no regular file (a folder, a pipe)
    NotZip,           // not a zip archive, as every .xlsx is; detail: the zip library's words
    DamagedZip,       // part cannot be unpacked; detail: the zip library's words
    NoWorksheet,      // part: the part that is missing or names no worksheet
    TooLarge,         // part unpacks to (or its strings take) more than limit bytes
    PackedTooDensely, // part unpacks to more than limit times its packed size: a zip bomb
    BadXml,           // part is not XML a workbook holds: problem; line in part
    TooManyRows,      // writing: more than limit records; reading: row number line is past limit
    TooManyStrings,   // part holds more than limit shared strings
    CellTooLong,      // a cell of row line (0: in part) holds more than limit bytes
    BeyondLimit,      // part goes beyond what no workbook of records comes near: beyond, at line
    DuplicateMember,  // detail: a name the archive holds twice (exactly, or but for letter case)
    HiddenSheet,      // detail: the name of the first worksheet, which is hidden
    NotAWorksheet,    // part, which the workbook gives as its first worksheet, is a detail element
    OutOfMemory,      // memory ran out while part was read
    NotInThisBuild,   // built without the worksheet libraries (the Windows recwright-cli)
};

// What a workbook went beyond, for BeyondLimit; the limit is in SheetResult::limit.
enum class SheetBeyond : std::uint8_t {
    TokenBytes, // a tag, comment or other piece of markup longer than limit bytes
    NameBytes,  // an element's name longer than limit bytes
    Depth,      // elements nested more than limit deep
    Sheets,     // more than limit sheets in the workbook
    Relationships, // more than limit relationships in part
    Members,    // more than limit members in the archive
};

// What is wrong with a part's XML.
enum class SheetXmlProblem : std::uint8_t {
    NotWellFormed,      // detail: the XML parser's words
    DocumentType,       // a document type declaration, which no workbook has: it could define entities
    BadRowNumber,       // detail: the row's number as written
    RowOutOfOrder,      // detail: the row's number, not after the row before it
    BadCellReference,   // detail: the reference as written
    CellOutOfOrder,     // detail: the reference, not after the cell before it in its row
    NoSuchSharedString, // detail: the index the cell gives
};

struct SheetResult {
    SheetFailure failure = SheetFailure::None;
    SheetXmlProblem problem = SheetXmlProblem::NotWellFormed; // for BadXml
    SheetBeyond beyond = SheetBeyond::TokenBytes;              // for BeyondLimit
    std::string detail;
    std::string part;        // inside the workbook, such as "xl/worksheets/sheet1.xml"
    std::uint64_t line = 0;
    std::uint64_t limit = 0;

    [[nodiscard]] bool Ok() const { return failure == SheetFailure::None; }
};

} // namespace rw
