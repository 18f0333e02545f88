#include "cli/SetExpression.h"

#include "cli/CliText.h"
#include "data/DecimalText.h"
#include "data/RecordQuery.h"
#include "resources/Strings.h"
#include "text/GbkFit.h"
#include "text/GbkTable.h"

#include <algorithm>
#include <vector>

namespace rw {
namespace {

[[nodiscard]] bool IsBlank(char c) { return c == ' ' || c == '\t'; }

[[nodiscard]] std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// "Name", in any letter case, stands for the kind's name column (ItemName, MagName, MonName).
[[nodiscard]] bool IsNameWord(std::string_view title)
{
    constexpr std::string_view kName = "name";
    return title.size() == kName.size() && std::equal(title.begin(), title.end(), kName.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
           });
}

[[nodiscard]] ParsedSet Refused(std::string error) { return {std::nullopt, std::move(error)}; }

[[nodiscard]] std::string UnknownColumn(std::string_view title, const RecordSchema& schema)
{
    std::string error = Format<str::kCliQueryUnknownColumnFormat>(title);
    if (const std::string_view nearest = NearestColumnTitle(schema, title); !nearest.empty()) {
        error += Format<str::kCliDidYouMeanFormat>(nearest);
    }
    return error;
}

// The name as a person typed it, by the rule the editor's name box keeps: every character
// must have a GBK form (a script's text is not silently thinned), and the name is cut at a
// character's end to what the field holds before its terminating zero.
[[nodiscard]] bool SetName(std::string_view text, const RecordSchema& schema, SetExpression& set)
{
    std::string bytes;
    if (!GbkTable::Instance().AppendGbkFromUtf8(text, bytes)) return false;
    std::u16string units;
    GbkTable::Instance().AppendUtf16(bytes, units);
    set.nameBytes = FitGbkUtf16(units, static_cast<std::size_t>(schema.TypedNameCapacity())).bytes;
    set.nameCut = set.nameBytes.size() < bytes.size();
    return true;
}

} // namespace

ParsedSet ParseSetExpression(std::string_view text, const RecordSchema& schema)
{
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos || eq == 0) return Refused(str::kCliSetNoOperator);
    BulkOperation operation = BulkOperation::Set;
    std::size_t titleEnd = eq;
    bool negate = false;
    switch (text[eq - 1]) {
    case '+': operation = BulkOperation::Add; break;
    case '-':
        operation = BulkOperation::Add;
        negate = true;
        break;
    case '*': operation = BulkOperation::Multiply; break;
    case '/': operation = BulkOperation::Divide; break;
    default: break;
    }
    if (operation != BulkOperation::Set) --titleEnd;
    const std::string_view title = Trimmed(text.substr(0, titleEnd));
    const std::string_view value = text.substr(eq + 1);
    const int titled = ColumnTitled(schema, title);
    const int column = titled < 0 && IsNameWord(title) ? kNameColumn : titled;
    if (column < 0) return Refused(title.empty() ? std::string(str::kCliSetNoOperator) : UnknownColumn(title, schema));

    SetExpression set;
    set.text = std::string(text);
    set.change.column = column;
    set.change.operation = operation;
    if (column == kNameColumn) {
        if (operation != BulkOperation::Set) return Refused(str::kCliSetNameOnlySet);
        if (!SetName(value, schema, set)) return Refused(str::kCliSetNotGbk);
        return {set, {}};
    }
    if (operation == BulkOperation::Multiply || operation == BulkOperation::Divide) {
        const ParsedDecimal factor = ParseDecimal(value);
        switch (factor.outcome) {
        case ParsedDecimal::Outcome::Done: break;
        case ParsedDecimal::Outcome::NotADecimal: return Refused(Format<str::kCliSetNotDecimalFormat>(Trimmed(value)));
        case ParsedDecimal::Outcome::TooManyDigits:
            return Refused(Format<str::kCliSetTooManyDigitsFormat>(Trimmed(value), static_cast<long long>(kDecimalDigits),
                                                                    static_cast<long long>(kDecimalDigits)));
        }
        if (operation == BulkOperation::Divide && factor.value.IsZero()) return Refused(str::kCliSetDivideByZero);
        set.change.factor = factor.value;
        return {set, {}};
    }
    const std::optional<std::int32_t> number = ParseStrictInt32(value);
    if (!number) return Refused(Format<str::kCliSetNotWholeFormat>(Trimmed(value)));
    set.change.value = negate ? -std::int64_t{*number} : std::int64_t{*number};
    return {set, {}};
}

} // namespace rw
