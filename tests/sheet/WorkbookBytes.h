#pragma once

// Workbooks made part by part in memory, for tests of the reader: the parts a spreadsheet
// program writes, around a worksheet and shared strings of the test's own.

#include "data/FileKind.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace rw::test {

using Parts = std::vector<std::pair<std::string, std::string>>; // name, content

// A zip archive of the parts, deflated or stored.
[[nodiscard]] std::vector<std::uint8_t> ZipOf(const Parts& parts, bool stored = false);

// The package around a worksheet's XML (and shared strings' XML, if given).
[[nodiscard]] Parts WorkbookParts(const std::string& sheetXml, const std::optional<std::string>& sharedStringsXml = {});
[[nodiscard]] std::vector<std::uint8_t> Workbook(const std::string& sheetXml,
                                                 const std::optional<std::string>& sharedStringsXml = {});

// A worksheet of these rows (<row> elements).
[[nodiscard]] std::string SheetXml(const std::string& rows);
// "A", "B", ..., "AF": the letters of 0-based column k.
[[nodiscard]] std::string ColumnLetters(int k);
// A cell of text, XML-escaped, in row r, column k (0-based).
[[nodiscard]] std::string TextCell(int r, int k, const std::string& text);
[[nodiscard]] std::string NumberCell(int r, int k, const std::string& value);
// Row 1: the kind's titles and Raw, as text.
[[nodiscard]] std::string HeaderRow(FileKind kind);
// A record's row r: the ID, the name as text, every field 0 as a number, Raw as text unless empty.
[[nodiscard]] std::string RecordRow(FileKind kind, int r, const std::string& id, const std::string& name,
                                    const std::string& raw = "");

// Workbooks made to cost a reader time or memory, each a valid package around one item record,
// their bulk varied just enough to pack less densely than a zip bomb: a start tag whose one
// attribute is tokenBytes long; depth elements each inside the one before; sheets sheets with a
// relationship each, listed so that the one worksheet among them is found last.
[[nodiscard]] std::vector<std::uint8_t> WorkbookWithLongToken(std::size_t tokenBytes);
[[nodiscard]] std::vector<std::uint8_t> WorkbookWithNesting(std::size_t depth);
[[nodiscard]] std::vector<std::uint8_t> WorkbookWithSheets(std::size_t sheets);

} // namespace rw::test
