#pragma once

// How much of a workbook is read before it is refused. Each is well above what a record sheet
// of the most rows a worksheet can have needs, and low enough that a damaged or hostile file
// costs bounded time and memory.

#include <cstddef>
#include <cstdint>

namespace rw::sheet_limits {

// A worksheet's rows, the header's included.
inline constexpr std::uint64_t kMaxRows = 1'048'576;
inline constexpr std::uint64_t kMaxRecords = kMaxRows - 1;
inline constexpr std::uint32_t kMaxColumns = 16'384;

// A row of the widest table takes under 3 KB of worksheet XML, so a full worksheet is under
// 3.2 GB; a zip archive without its 64-bit extension cannot hold more than 4 GiB anyway.
inline constexpr std::uint64_t kMaxWorksheetBytes = std::uint64_t{4} << 30;
// Two strings a row (the name and Raw) in the worst case, all different, and the header's.
inline constexpr std::uint64_t kMaxSharedStrings = std::uint64_t{4} << 20;
inline constexpr std::uint64_t kMaxSharedStringsXmlBytes = std::uint64_t{4} << 30;
inline constexpr std::uint64_t kMaxSharedStringBytes = std::uint64_t{2} << 30;
// The workbook, its relationships and the package's: a few hundred bytes each.
inline constexpr std::uint64_t kMaxSmallPartBytes = std::uint64_t{16} << 20;

// Deflate cannot pack more than about 1032 to 1. Worksheets of records pack at most about
// 20 to 1 (rows of zeros, as written here or saved by a spreadsheet program); far beyond that
// a part is made to unpack into more than it holds.
inline constexpr std::uint64_t kMaxPackRatio = 200;
// Small parts may pack denser: there the ratio says nothing and costs nothing.
inline constexpr std::uint64_t kPackRatioFloorBytes = std::uint64_t{1} << 20;

// A package holds a few dozen members; a zip archive without its 64-bit extension, at most this.
inline constexpr std::uint64_t kMaxMembers = 65'535;
// A workbook of records has one sheet, perhaps a few beside it; no spreadsheet program makes
// more than this many. Relationships: one for each sheet, and a few for the rest.
inline constexpr std::uint64_t kMaxSheets = 10'000;
inline constexpr std::uint64_t kMaxRelationships = 2 * kMaxSheets;

// The XML of every part. A piece of markup (a tag with its attributes, a comment) that the
// unpacked pieces cut in two is scanned again from its start as each piece arrives, so its
// length costs its square; the longest a workbook has, a worksheet's root tag with its
// namespaces, takes about a kilobyte.
inline constexpr std::uint64_t kMaxXmlTokenBytes = std::uint64_t{1} << 20;
// Every open element's name is kept until it ends: a worksheet nests about ten deep, under names
// of a few dozen bytes with their namespaces.
inline constexpr std::uint32_t kMaxXmlDepth = 256;
inline constexpr std::uint32_t kMaxXmlNameBytes = 1024;

// No name or Raw comes near this; a spreadsheet cell holds at most 32,767 characters.
inline constexpr std::size_t kMaxCellBytes = std::size_t{128} << 10;
// A row's own text (not counting shared strings), as a CSV row is bounded.
inline constexpr std::size_t kMaxRowTextBytes = std::size_t{1} << 20;

} // namespace rw::sheet_limits
