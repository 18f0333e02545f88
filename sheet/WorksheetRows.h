#pragma once

// A worksheet's rows handed to a RowImporter as they are read, each as the fields a CSV row
// would have: cells by the column their reference gives, a missing cell an empty field, and
// each field's text as the spreadsheet shows it with how the cell stored it, so that the
// importer can tell a name kept as text from one a spreadsheet turned into a number.
// Numbers come as plain whole-number text when they are whole.

#include "csv/RowImporter.h"
#include "sheet/SheetResult.h"
#include "sheet/StringPool.h"
#include "sheet/XmlStream.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

class WorksheetRows final : public XmlHandler {
public:
    // sharedStrings: the workbook's, read before.
    WorksheetRows(const StringPool& sharedStrings, RowImporter& importer);

    [[nodiscard]] bool Start(std::string_view name, const XmlAttributes& attributes) override;
    [[nodiscard]] bool End(std::string_view name) override;
    [[nodiscard]] bool Text(std::string_view text) override;

    // Why it stopped, when it did; None when the importer had read enough (a bad header).
    [[nodiscard]] const SheetResult& Failure() const { return m_failure; }

private:
    enum class Stored : std::uint8_t { Number, SharedString, InlineString, FormulaString, Boolean, Error, Date };
    struct Cell {
        std::uint32_t column = 0;
        CellType type = CellType::Text;
        bool shared = false;       // text is in the shared strings, else in m_rowText
        std::string_view sharedText;
        std::size_t offset = 0;    // into m_rowText
        std::size_t size = 0;
    };

    [[nodiscard]] bool StartRow(const XmlAttributes& attributes);
    [[nodiscard]] bool StartCell(const XmlAttributes& attributes);
    [[nodiscard]] bool EndCell();
    void EndRow();
    [[nodiscard]] bool Fail(SheetFailure failure, std::uint64_t line, std::uint64_t limit);
    [[nodiscard]] bool FailXml(SheetXmlProblem problem, std::string_view detail);

    const StringPool& m_sharedStrings;
    RowImporter& m_importer;
    bool m_sawRoot = false;
    bool m_inData = false;
    bool m_inRow = false;
    bool m_inCell = false;
    bool m_inValue = false;  // <v>, or an inline string's <t>
    bool m_inInline = false;
    bool m_inPhonetic = false;
    bool m_hasValue = false;
    bool m_hasFormula = false;
    Stored m_stored = Stored::Number;
    std::uint64_t m_row = 0;
    std::uint64_t m_lastRow = 0;
    std::uint32_t m_lastColumn = 0;
    std::uint32_t m_column = 0;
    std::size_t m_width = 0;  // the header's fields, once it has come
    std::string m_value;      // the cell's text as read
    std::string m_scratch;
    std::string m_rowText;    // the row's own cell texts, back to back
    std::vector<Cell> m_cells;
    std::vector<std::string_view> m_fields;
    std::vector<CellType> m_types;
    SheetResult m_failure;
};

} // namespace rw
