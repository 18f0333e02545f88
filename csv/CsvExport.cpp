#include "csv/CsvExport.h"

#include "csv/CsvTokenizer.h"
#include "data/HexText.h"
#include "data/RecordBytes.h"

#include <charconv>
#include <memory>

namespace rw {
namespace {

constexpr std::size_t kInt32Digits = 11; // "-2147483648"
constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

char* WriteInt(std::int32_t value, char* out) { return std::to_chars(out, out + kInt32Digits, value).ptr; }

} // namespace

bool MayReadAsFormula(std::string_view nameText)
{
    return !nameText.empty() && std::string_view("=+-@").find(nameText.front()) != std::string_view::npos;
}

CsvExporter::CsvExporter(FileKind kind, const NameTranscoder& names, char delimiter)
    : m_kind(kind), m_names(names), m_delimiter(delimiter)
{
}

void CsvExporter::AppendHeader(std::string& out) const
{
    for (const ColumnSpec& column : SchemaOf(m_kind).columns) {
        out.append(column.title);
        out.push_back(m_delimiter);
    }
    out.append(kRawColumnTitle);
    out.push_back('\n');
}

std::size_t CsvExporter::MaxRowSize(std::size_t nameTextSize) const
{
    const RecordSchema& schema = SchemaOf(m_kind);
    return static_cast<std::size_t>(schema.ColumnCount()) * (kInt32Digits + 1) + 2 * nameTextSize + 2 +
           2 * std::size_t{schema.recordSize} + 1;
}

char* CsvExporter::WriteRow(const std::uint8_t* record, std::string_view nameText, char* out)
{
    const RecordSchema& schema = SchemaOf(m_kind);
    if (MayReadAsFormula(nameText) && m_formulaLike.count++ == 0) {
        m_formulaLike.firstId = LoadInt32(record);
        m_formulaLike.firstName = ReadShortName(schema, record);
    }
    for (const ColumnSpec& column : schema.columns) {
        if (column.role == ColumnRole::Name) {
            out = WriteCsvField(nameText, out, m_delimiter);
        } else {
            out = WriteInt(LoadInt32(record + column.offset), out);
        }
        *out++ = m_delimiter;
    }
    out = WriteHex(record, schema.recordSize, out);
    *out++ = '\n';
    return out;
}

void CsvExporter::AppendRow(std::span<const std::uint8_t> record, std::string& out)
{
    const RecordSchema& schema = SchemaOf(m_kind);
    std::string name;
    m_names.AppendText(ReadShortName(schema, record.data()), name);
    const std::size_t start = out.size();
    out.resize(start + MaxRowSize(name.size()));
    char* end = WriteRow(record.data(), name, out.data() + start);
    out.resize(static_cast<std::size_t>(end - out.data()));
}

bool CsvExporter::Export(std::span<const std::uint8_t> records, const CsvSink& sink)
{
    std::string header;
    AppendHeader(header);
    return sink(header) && ExportRows(records, sink);
}

bool CsvExporter::ExportRows(std::span<const std::uint8_t> records, const CsvSink& sink)
{
    const RecordSchema& schema = SchemaOf(m_kind);
    // Rows are written straight into a plain buffer: the text of a million records is several
    // hundred megabytes, and appending it a piece at a time to a string costs more than the rest.
    const std::size_t capacity = kChunkBytes + MaxRowSize(4 * std::size_t{schema.nameCapacity});
    const auto buffer = std::make_unique_for_overwrite<char[]>(capacity);
    char* out = buffer.get();
    std::string name;
    for (std::size_t at = 0; at + schema.recordSize <= records.size(); at += schema.recordSize) {
        const std::uint8_t* record = records.data() + at;
        name.clear();
        m_names.AppendText(ReadShortName(schema, record), name);
        const std::size_t room = capacity - static_cast<std::size_t>(out - buffer.get());
        if (room < MaxRowSize(name.size())) {
            if (!sink({buffer.get(), static_cast<std::size_t>(out - buffer.get())})) return false;
            out = buffer.get();
        }
        if (MaxRowSize(name.size()) > capacity) {
            // A substitute wider than any real character; rare enough to go the slow way.
            std::string row;
            AppendRow({record, schema.recordSize}, row);
            if (!sink(row)) return false;
            continue;
        }
        out = WriteRow(record, name, out);
    }
    return out == buffer.get() || sink({buffer.get(), static_cast<std::size_t>(out - buffer.get())});
}

} // namespace rw
