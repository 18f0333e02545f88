#include "view/ClipboardText.h"

#include "csv/CsvExport.h"
#include "text/Utf8NameTranscoder.h"

namespace rw {

std::string RowsAsText(const RecordTable& table, const std::vector<int>& rows)
{
    const Utf8NameTranscoder names;
    CsvExporter exporter(table.Kind(), names, '\t');
    std::string text;
    exporter.AppendHeader(text);
    for (const int row : rows) exporter.AppendRow(table.RowBytes(row), text);
    return text;
}

} // namespace rw
