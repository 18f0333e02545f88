#include "sheet/WorksheetRows.h"

#include "sheet/CellText.h"
#include "sheet/SheetLimits.h"

#include <charconv>

namespace rw {
namespace {

[[nodiscard]] std::optional<std::uint64_t> ParseIndex(std::string_view text)
{
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || text.empty()) return std::nullopt;
    return value;
}

} // namespace

WorksheetRows::WorksheetRows(const StringPool& sharedStrings, RowImporter& importer)
    : m_sharedStrings(sharedStrings), m_importer(importer)
{
}

bool WorksheetRows::Start(std::string_view name, const XmlAttributes& attributes)
{
    if (!m_sawRoot) {
        // A relationship may name any part as the worksheet, the workbook itself included:
        // read as rows, that would be a sheet without any.
        m_sawRoot = true;
        if (name != "worksheet") {
            m_failure.failure = SheetFailure::NotAWorksheet;
            m_failure.detail = std::string(name.substr(0, 40));
            return false;
        }
    }
    if (name == "sheetData") {
        m_inData = true;
    } else if (!m_inData) {
        return true;
    } else if (name == "row" && !m_inRow) {
        return StartRow(attributes);
    } else if (name == "c" && m_inRow && !m_inCell) {
        return StartCell(attributes);
    } else if (!m_inCell) {
        return true;
    } else if (name == "v") {
        m_inValue = m_hasValue = true;
    } else if (name == "f") {
        m_hasFormula = true;
    } else if (name == "is") {
        m_inInline = m_hasValue = true;
    } else if (name == "rPh") {
        m_inPhonetic = true;
    } else if (name == "t" && m_inInline && !m_inPhonetic) {
        m_inValue = true;
    }
    return true;
}

bool WorksheetRows::End(std::string_view name)
{
    if (name == "sheetData") {
        m_inData = false;
    } else if (name == "row" && m_inRow) {
        m_inRow = false;
        EndRow();
        // After a header it could not read, the importer takes nothing more.
        return !m_importer.Finished();
    } else if (name == "c" && m_inCell) {
        m_inCell = false;
        return EndCell();
    } else if (name == "v" || name == "t") {
        m_inValue = false;
    } else if (name == "is") {
        m_inInline = false;
    } else if (name == "rPh") {
        m_inPhonetic = false;
    }
    return true;
}

bool WorksheetRows::Text(std::string_view text)
{
    if (!m_inValue) return true;
    if (m_value.size() + text.size() > sheet_limits::kMaxCellBytes) {
        return Fail(SheetFailure::CellTooLong, m_row, sheet_limits::kMaxCellBytes);
    }
    m_value.append(text);
    return true;
}

bool WorksheetRows::StartRow(const XmlAttributes& attributes)
{
    m_inRow = true;
    const std::optional<std::string_view> number = attributes.Plain("r");
    if (number) {
        const std::optional<std::uint64_t> row = ParseIndex(*number);
        if (!row || *row == 0) return FailXml(SheetXmlProblem::BadRowNumber, *number);
        if (*row <= m_lastRow) return FailXml(SheetXmlProblem::RowOutOfOrder, *number);
        m_row = *row;
    } else {
        m_row = m_lastRow + 1;
    }
    if (m_row > sheet_limits::kMaxRows) return Fail(SheetFailure::TooManyRows, m_row, sheet_limits::kMaxRows);
    m_lastRow = m_row;
    m_lastColumn = 0;
    m_cells.clear();
    m_rowText.clear();
    return true;
}

bool WorksheetRows::StartCell(const XmlAttributes& attributes)
{
    m_inCell = true;
    m_inValue = m_inInline = m_inPhonetic = m_hasValue = m_hasFormula = false;
    m_value.clear();
    if (const std::optional<std::string_view> reference = attributes.Plain("r")) {
        const std::optional<CellReference> cell = ParseCellReference(*reference);
        if (!cell || cell->row != m_row) return FailXml(SheetXmlProblem::BadCellReference, *reference);
        if (cell->column <= m_lastColumn) return FailXml(SheetXmlProblem::CellOutOfOrder, *reference);
        m_column = cell->column;
    } else {
        m_column = m_lastColumn + 1;
        if (m_column > sheet_limits::kMaxColumns) return FailXml(SheetXmlProblem::BadCellReference, "");
    }
    m_lastColumn = m_column;

    const std::string_view type = attributes.Plain("t").value_or("n");
    m_stored = type == "s"           ? Stored::SharedString
               : type == "inlineStr" ? Stored::InlineString
               : type == "str"       ? Stored::FormulaString
               : type == "b"         ? Stored::Boolean
               : type == "e"         ? Stored::Error
               : type == "d"         ? Stored::Date
                                     : Stored::Number;
    return true;
}

bool WorksheetRows::EndCell()
{
    if (!m_hasValue) return true; // a cell with a format and nothing in it
    Cell cell;
    cell.column = m_column;
    std::string_view text = m_value;
    switch (m_stored) {
    case Stored::SharedString: {
        const std::optional<std::uint64_t> index = ParseIndex(m_value);
        if (!index || *index >= m_sharedStrings.Count()) return FailXml(SheetXmlProblem::NoSuchSharedString, m_value);
        cell.shared = true;
        cell.sharedText = m_sharedStrings.At(static_cast<std::size_t>(*index));
        break;
    }
    case Stored::InlineString:
    case Stored::FormulaString:
        if (MayHoldEscapes(text)) {
            m_scratch.clear();
            AppendCellUnescaped(text, m_scratch);
            text = m_scratch;
        }
        break;
    case Stored::Boolean:
        cell.type = CellType::Boolean;
        text = text == "1" ? "TRUE" : text == "0" ? "FALSE" : text;
        break;
    case Stored::Error: cell.type = CellType::Error; break;
    case Stored::Date: cell.type = CellType::Date; break;
    case Stored::Number:
        cell.type = CellType::Number;
        text = WholeNumberText(text, m_scratch);
        break;
    }
    // What a formula gives is not what anyone typed: a name or Raw must not be one.
    if (m_hasFormula) cell.type = CellType::Formula;
    if (!cell.shared) {
        if (m_rowText.size() + text.size() > sheet_limits::kMaxRowTextBytes) {
            return Fail(SheetFailure::CellTooLong, m_row, sheet_limits::kMaxRowTextBytes);
        }
        cell.offset = m_rowText.size();
        cell.size = text.size();
        m_rowText.append(text);
    }
    m_cells.push_back(cell);
    return true;
}

void WorksheetRows::EndRow()
{
    bool blank = true;
    for (const Cell& cell : m_cells) blank = blank && (cell.shared ? cell.sharedText.empty() : cell.size == 0);
    if (blank) return;
    const std::size_t lastColumn = m_cells.back().column;
    if (m_width == 0) m_width = lastColumn;
    const std::size_t width = std::max(m_width, lastColumn);
    m_fields.assign(width, std::string_view());
    m_types.assign(width, CellType::Text);
    for (const Cell& cell : m_cells) {
        m_fields[cell.column - 1] = cell.shared ? cell.sharedText : std::string_view(m_rowText).substr(cell.offset, cell.size);
        m_types[cell.column - 1] = cell.type;
    }
    m_importer.TakeFields(m_fields, m_row, m_types);
}

bool WorksheetRows::Fail(SheetFailure failure, std::uint64_t line, std::uint64_t limit)
{
    m_failure.failure = failure;
    m_failure.line = line;
    m_failure.limit = limit;
    return false;
}

bool WorksheetRows::FailXml(SheetXmlProblem problem, std::string_view detail)
{
    m_failure.failure = SheetFailure::BadXml;
    m_failure.problem = problem;
    m_failure.detail = std::string(detail.substr(0, 40));
    return false;
}

} // namespace rw
