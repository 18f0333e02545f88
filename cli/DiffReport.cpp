#include "cli/DiffReport.h"

#include "cli/CliText.h"
#include "data/CsvTokenizer.h"
#include "data/RecordBytes.h"
#include "resources/Strings.h"
#include "text/Utf8NameTranscoder.h"

#include <charconv>

namespace rw {
namespace {

using Kind = RecordChange::Kind;

constexpr std::size_t kPieceBytes = std::size_t{1} << 20;

[[nodiscard]] long long Position(std::size_t index) { return static_cast<long long>(index) + 1; }

// Collects the report and hands it on a piece at a time, so that a report on a million
// records is never held whole.
class Pieces {
public:
    explicit Pieces(const CsvSink& sink) : m_sink(sink) { m_text.reserve(kPieceBytes + 4096); }

    [[nodiscard]] std::string& Text() { return m_text; }
    // Hands the text on once it is a piece, or whatever there is at the end.
    [[nodiscard]] bool Pass(bool last = false)
    {
        if (m_text.size() < kPieceBytes && !(last && !m_text.empty())) return true;
        const bool taken = m_sink(m_text);
        m_text.clear();
        return taken;
    }

private:
    const CsvSink& m_sink;
    std::string m_text;
};

void AppendNumber(std::string& out, long long value)
{
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void AppendCsvRow(std::string& out, std::string_view change, std::int32_t id, std::string_view name, std::size_t indexA,
                  std::size_t indexB, std::string_view field, std::string_view oldValue, std::string_view newValue)
{
    AppendCsvField(out, change);
    out.push_back(',');
    AppendNumber(out, id);
    out.push_back(',');
    AppendCsvField(out, name);
    out.push_back(',');
    if (indexA != kNoRecord) AppendNumber(out, Position(indexA));
    out.push_back(',');
    if (indexB != kNoRecord) AppendNumber(out, Position(indexB));
    out.push_back(',');
    AppendCsvField(out, field);
    out.push_back(',');
    AppendCsvField(out, oldValue);
    out.push_back(',');
    AppendCsvField(out, newValue);
    out.push_back('\n');
}

} // namespace

DiffReport::DiffReport(const RecordSchema& schema, const DiffSides& sides, std::span<const RecordChange> changes)
    : m_schema(schema), m_sides(sides), m_changes(changes)
{
}

const std::uint8_t* DiffReport::RecordA(std::size_t index) const { return m_sides.recordsA.data() + index * m_schema.recordSize; }
const std::uint8_t* DiffReport::RecordB(std::size_t index) const { return m_sides.recordsB.data() + index * m_schema.recordSize; }
const std::uint8_t* DiffReport::RecordOf(const RecordChange& change) const
{
    return change.kind == Kind::OnlyInB ? RecordB(change.indexB) : RecordA(change.indexA);
}

std::string DiffReport::NameText(const std::uint8_t* record) const
{
    static const Utf8NameTranscoder names;
    std::string text;
    names.AppendText(ReadShortName(m_schema, record), text);
    return text;
}

void DiffReport::AppendTextBlock(const RecordChange& change, std::string& out) const
{
    const auto id = static_cast<long long>(change.id);
    const std::string name = NameText(RecordOf(change));
    switch (change.kind) {
    case Kind::OnlyInA: AppendFormat<str::kCliDiffOnlyInAFormat>(out, id, name, Position(change.indexA)); return;
    case Kind::OnlyInB: AppendFormat<str::kCliDiffOnlyInBFormat>(out, id, name, Position(change.indexB)); return;
    case Kind::Changed: break;
    }
    AppendFormat<str::kCliDiffChangedFormat>(out, id, name, Position(change.indexA), Position(change.indexB));
    const std::uint8_t* a = RecordA(change.indexA);
    const std::uint8_t* b = RecordB(change.indexB);
    for (int k = 0; k < m_schema.ColumnCount(); ++k) {
        if (!change.fields.Column(k)) continue;
        const ColumnSpec& column = m_schema.Column(k);
        if (column.role == ColumnRole::Name) {
            AppendFormat<str::kCliDiffNameFormat>(out, column.title, name, NameText(b));
        } else {
            AppendFormat<str::kCliDiffValueFormat>(out, column.title, static_cast<long long>(LoadInt32(a + column.offset)),
                                                   static_cast<long long>(LoadInt32(b + column.offset)));
        }
    }
    if (change.fields.hiddenBytes) out += str::kCliDiffHiddenBytes;
}

bool DiffReport::WriteText(const CsvSink& sink) const
{
    const std::size_t countA = m_sides.recordsA.size() / m_schema.recordSize;
    const std::size_t countB = m_sides.recordsB.size() / m_schema.recordSize;
    Pieces pieces(sink);
    pieces.Text() += Format<str::kCliDiffFilesFormat>(m_sides.fileA, static_cast<long long>(countA), m_sides.fileB,
                                                      static_cast<long long>(countB));
    long long onlyInA = 0;
    long long onlyInB = 0;
    for (const RecordChange& change : m_changes) {
        onlyInA += change.kind == Kind::OnlyInA;
        onlyInB += change.kind == Kind::OnlyInB;
        AppendTextBlock(change, pieces.Text());
        if (!pieces.Pass()) return false;
    }
    const long long changed = static_cast<long long>(m_changes.size()) - onlyInA - onlyInB;
    const long long same = static_cast<long long>(countA) - onlyInA - changed;
    pieces.Text() += Format<str::kCliDiffSummaryFormat>(onlyInA, onlyInB, changed, same);
    return pieces.Pass(true);
}

void DiffReport::AppendCsvRows(const RecordChange& change, std::string& out) const
{
    const std::string name = NameText(RecordOf(change));
    if (change.kind != Kind::Changed) {
        const char* word = change.kind == Kind::OnlyInA ? str::kCliDiffOnlyInA : str::kCliDiffOnlyInB;
        AppendCsvRow(out, word, change.id, name, change.indexA, change.indexB, {}, {}, {});
        return;
    }
    const std::uint8_t* a = RecordA(change.indexA);
    const std::uint8_t* b = RecordB(change.indexB);
    std::string oldValue;
    std::string newValue;
    for (int k = 0; k < m_schema.ColumnCount(); ++k) {
        if (!change.fields.Column(k)) continue;
        const ColumnSpec& column = m_schema.Column(k);
        oldValue.clear();
        newValue.clear();
        if (column.role == ColumnRole::Name) {
            oldValue = name;
            newValue = NameText(b);
        } else {
            AppendNumber(oldValue, LoadInt32(a + column.offset));
            AppendNumber(newValue, LoadInt32(b + column.offset));
        }
        AppendCsvRow(out, str::kCliDiffChanged, change.id, name, change.indexA, change.indexB, column.title, oldValue,
                     newValue);
    }
    if (change.fields.hiddenBytes) {
        AppendCsvRow(out, str::kCliDiffChanged, change.id, name, change.indexA, change.indexB, str::kCliDiffHiddenField,
                     {}, {});
    }
}

bool DiffReport::WriteCsv(const CsvSink& sink) const
{
    Pieces pieces(sink);
    pieces.Text() += str::kCliDiffCsvHeader;
    for (const RecordChange& change : m_changes) {
        AppendCsvRows(change, pieces.Text());
        if (!pieces.Pass()) return false;
    }
    return pieces.Pass(true);
}

} // namespace rw
