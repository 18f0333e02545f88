#pragma once

// Records as CSV: a header of the kind's column titles and "Raw", then one row per record in
// the given order; the ID and fields as "%d", the name as text, and Raw, the whole record
// image in hexadecimal, so that nothing of the record is lost. Lines end with LF.

#include "data/FileKind.h"
#include "data/NameTranscoder.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace rw {

inline constexpr std::string_view kRawColumnTitle = "Raw";

// Takes each finished piece of the text; false stops the export.
using CsvSink = std::function<bool(std::string_view)>;

// Whether a spreadsheet program opening the CSV may take a name for a formula
// ("=HYPERLINK(…)" is one it runs). The CSV keeps such a name as it is, for the round trip;
// the export warns of them instead.
[[nodiscard]] bool MayReadAsFormula(std::string_view nameText);

// The names of an export that a spreadsheet may take for formulas.
struct FormulaLikeNames {
    std::size_t count = 0;
    std::int32_t firstId = 0;
    std::string firstName; // the first one's bytes as the record holds them (GBK)
};

class CsvExporter {
public:
    // delimiter: ',' for CSV, '\t' for tab-separated text.
    CsvExporter(FileKind kind, const NameTranscoder& names, char delimiter = ',');

    void AppendHeader(std::string& out) const;
    // record: one record image of the kind's size.
    void AppendRow(std::span<const std::uint8_t> record, std::string& out);

    // The header and every record of records (images back to back), handed to the sink in
    // pieces of about a megabyte. False when the sink refused one.
    bool Export(std::span<const std::uint8_t> records, const CsvSink& sink);
    // The same without the header: for records that arrive a piece at a time.
    bool ExportRows(std::span<const std::uint8_t> records, const CsvSink& sink);

    // The names written so far that a spreadsheet may take for formulas.
    [[nodiscard]] const FormulaLikeNames& FormulaLike() const { return m_formulaLike; }

private:
    [[nodiscard]] std::size_t MaxRowSize(std::size_t nameTextSize) const;
    char* WriteRow(const std::uint8_t* record, std::string_view nameText, char* out);

    FileKind m_kind;
    const NameTranscoder& m_names;
    char m_delimiter;
    FormulaLikeNames m_formulaLike;
};

} // namespace rw
