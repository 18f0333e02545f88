#pragma once

// The shared strings part: every <si>'s text, the runs of rich text joined and the phonetic
// guides left out, as a spreadsheet shows it; refused beyond sheet_limits' counts and sizes.

#include "sheet/SheetResult.h"
#include "sheet/StringPool.h"
#include "sheet/XmlStream.h"

#include <string>

namespace rw {

class SharedStringsReader final : public XmlHandler {
public:
    explicit SharedStringsReader(StringPool& strings) : m_strings(strings) {}

    [[nodiscard]] bool Start(std::string_view name, const XmlAttributes& attributes) override;
    [[nodiscard]] bool End(std::string_view name) override;
    [[nodiscard]] bool Text(std::string_view text) override;

    // Why it stopped, when it did.
    [[nodiscard]] const SheetResult& Failure() const { return m_failure; }

private:
    [[nodiscard]] bool Fail(SheetFailure failure, std::uint64_t limit);

    StringPool& m_strings;
    bool m_inItem = false;
    bool m_inText = false;
    bool m_inPhonetic = false;
    std::string m_text;
    std::string m_unescaped;
    SheetResult m_failure;
};

} // namespace rw
