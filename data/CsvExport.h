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

class CsvExporter {
public:
    // delimiter: ',' for CSV, '\t' for tab-separated text.
    CsvExporter(FileKind kind, const NameTranscoder& names, char delimiter = ',');

    void AppendHeader(std::string& out) const;
    // record: one record image of the kind's size.
    void AppendRow(std::span<const std::uint8_t> record, std::string& out) const;

    // The header and every record of records (images back to back), handed to the sink in
    // pieces of about a megabyte. False when the sink refused one.
    bool Export(std::span<const std::uint8_t> records, const CsvSink& sink) const;
    // The same without the header: for records that arrive a piece at a time.
    bool ExportRows(std::span<const std::uint8_t> records, const CsvSink& sink) const;

private:
    [[nodiscard]] std::size_t MaxRowSize(std::size_t nameTextSize) const;
    char* WriteRow(const std::uint8_t* record, std::string_view nameText, char* out) const;

    FileKind m_kind;
    const NameTranscoder& m_names;
    char m_delimiter;
};

} // namespace rw
