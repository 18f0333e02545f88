#include "cli/DiffReport.h"

#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/JsonText.h"
#include "csv/CsvTokenizer.h"
#include "data/RecordBytes.h"
#include "resources/Strings.h"
#include "text/Utf8NameTranscoder.h"

#include <charconv>
#include <utility>

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

long long DiffReport::CountA() const { return static_cast<long long>(m_sides.recordsA.size() / m_schema.recordSize); }
long long DiffReport::CountB() const { return static_cast<long long>(m_sides.recordsB.size() / m_schema.recordSize); }

DiffReport::Counts DiffReport::Count() const
{
    Counts counts;
    for (const RecordChange& change : m_changes) {
        counts.onlyInA += change.kind == Kind::OnlyInA;
        counts.onlyInB += change.kind == Kind::OnlyInB;
    }
    counts.changed = static_cast<long long>(m_changes.size()) - counts.onlyInA - counts.onlyInB;
    counts.same = CountA() - counts.onlyInA - counts.changed;
    return counts;
}

bool DiffReport::WriteText(const CsvSink& sink) const
{
    Pieces pieces(sink);
    pieces.Text() += Format<str::kCliDiffFilesFormat>(m_sides.fileA, CountA(), m_sides.fileB, CountB());
    for (const RecordChange& change : m_changes) {
        AppendTextBlock(change, pieces.Text());
        if (!pieces.Pass()) return false;
    }
    const Counts counts = Count();
    pieces.Text() += Format<str::kCliDiffSummaryFormat>(counts.onlyInA, counts.onlyInB, counts.changed, counts.same);
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

void DiffReport::AppendJsonChange(const RecordChange& change, std::string& out) const
{
    const auto position = [&](std::size_t index) {
        if (index == kNoRecord) out += "null";
        else AppendJsonNumber(out, Position(index));
    };
    const char* word = change.kind == Kind::OnlyInA ? "only_in_a" : change.kind == Kind::OnlyInB ? "only_in_b" : "changed";
    const std::string name = NameText(RecordOf(change));
    out += '{';
    AppendJsonKey(out, "change", true);
    AppendJsonString(out, word);
    AppendJsonKey(out, "id");
    AppendJsonNumber(out, change.id);
    AppendJsonKey(out, "name");
    AppendJsonString(out, name);
    AppendJsonKey(out, "position_a");
    position(change.indexA);
    AppendJsonKey(out, "position_b");
    position(change.indexB);
    AppendJsonKey(out, "fields");
    out += '[';
    if (change.kind == Kind::Changed) {
        const std::uint8_t* a = RecordA(change.indexA);
        const std::uint8_t* b = RecordB(change.indexB);
        bool first = true;
        for (int k = 0; k < m_schema.ColumnCount(); ++k) {
            if (!change.fields.Column(k)) continue;
            const ColumnSpec& column = m_schema.Column(k);
            if (!std::exchange(first, false)) out += ',';
            out += '{';
            AppendJsonKey(out, "field", true);
            AppendJsonString(out, column.title);
            if (column.role == ColumnRole::Name) {
                AppendJsonKey(out, "old");
                AppendJsonString(out, name);
                AppendJsonKey(out, "new");
                AppendJsonString(out, NameText(b));
            } else {
                AppendJsonKey(out, "old");
                AppendJsonNumber(out, LoadInt32(a + column.offset));
                AppendJsonKey(out, "new");
                AppendJsonNumber(out, LoadInt32(b + column.offset));
            }
            out += '}';
        }
    }
    out += ']';
    AppendJsonKey(out, "hidden_bytes");
    AppendJsonBool(out, change.kind == Kind::Changed && change.fields.hiddenBytes);
    out += '}';
}

bool DiffReport::WriteJson(const CsvSink& sink) const
{
    Pieces pieces(sink);
    std::string& out = pieces.Text();
    const auto side = [&](std::string_view key, std::string_view file, long long records) {
        AppendJsonKey(out, key);
        out += '{';
        AppendJsonKey(out, "file", true);
        AppendJsonString(out, file);
        AppendJsonKey(out, "records");
        AppendJsonNumber(out, records);
        out += '}';
    };
    out += '{';
    AppendJsonKey(out, "kind", true);
    AppendJsonString(out, KindWord(m_schema.kind));
    side("a", m_sides.fileA, CountA());
    side("b", m_sides.fileB, CountB());
    AppendJsonKey(out, "changes");
    out += "[\n";
    for (std::size_t i = 0; i < m_changes.size(); ++i) {
        AppendJsonChange(m_changes[i], out);
        out += i + 1 < m_changes.size() ? ",\n" : "\n";
        if (!pieces.Pass()) return false;
    }
    const Counts counts = Count();
    out += ']';
    AppendJsonKey(out, "summary");
    out += '{';
    AppendJsonKey(out, "only_in_a", true);
    AppendJsonNumber(out, counts.onlyInA);
    AppendJsonKey(out, "only_in_b");
    AppendJsonNumber(out, counts.onlyInB);
    AppendJsonKey(out, "changed");
    AppendJsonNumber(out, counts.changed);
    AppendJsonKey(out, "same");
    AppendJsonNumber(out, counts.same);
    out += "}}\n";
    return pieces.Pass(true);
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
