#include "sheet/SharedStringsReader.h"

#include "sheet/CellText.h"
#include "sheet/SheetLimits.h"

namespace rw {

bool SharedStringsReader::Start(std::string_view name, const XmlAttributes&)
{
    if (name == "si") {
        m_inItem = true;
        m_text.clear();
    } else if (name == "rPh") {
        m_inPhonetic = true;
    } else if (name == "t") {
        m_inText = m_inItem && !m_inPhonetic;
    }
    return true;
}

bool SharedStringsReader::End(std::string_view name)
{
    if (name == "t") {
        m_inText = false;
    } else if (name == "rPh") {
        m_inPhonetic = false;
    } else if (name == "si" && m_inItem) {
        m_inItem = false;
        if (m_strings.Count() >= sheet_limits::kMaxSharedStrings) {
            return Fail(SheetFailure::TooManyStrings, sheet_limits::kMaxSharedStrings);
        }
        std::string_view text = m_text;
        if (MayHoldEscapes(text)) {
            m_unescaped.clear();
            AppendCellUnescaped(text, m_unescaped);
            text = m_unescaped;
        }
        if (m_strings.Bytes() + text.size() > sheet_limits::kMaxSharedStringBytes) {
            return Fail(SheetFailure::TooLarge, sheet_limits::kMaxSharedStringBytes);
        }
        m_strings.Add(text);
    }
    return true;
}

bool SharedStringsReader::Text(std::string_view text)
{
    if (!m_inText) return true;
    if (m_text.size() + text.size() > sheet_limits::kMaxCellBytes) return Fail(SheetFailure::CellTooLong, sheet_limits::kMaxCellBytes);
    m_text.append(text);
    return true;
}

bool SharedStringsReader::Fail(SheetFailure failure, std::uint64_t limit)
{
    m_failure.failure = failure;
    m_failure.limit = limit;
    return false;
}

} // namespace rw
