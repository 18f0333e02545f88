#include "query/SetExpression.h"

#include "query/ColumnTitles.h"

#include <algorithm>
#include <limits>

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

[[nodiscard]] ParsedSet Refused(SetError::Kind kind, std::string_view text = {}, std::string_view nearest = {})
{
    SetError error;
    error.kind = kind;
    error.text = std::string(text);
    error.nearest = std::string(nearest);
    return {std::nullopt, std::move(error)};
}

} // namespace

ParsedSet ParseSetExpression(std::string_view text, const RecordSchema& schema)
{
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos || eq == 0) return Refused(SetError::Kind::NoOperator);
    static constexpr std::pair<char, BulkOperation> kOperations[] = {{'+', BulkOperation::Add},
                                                                      {'-', BulkOperation::Subtract},
                                                                      {'*', BulkOperation::Multiply},
                                                                      {'/', BulkOperation::Divide}};
    BulkOperation operation = BulkOperation::Set;
    for (const auto& [sign, named] : kOperations) {
        if (text[eq - 1] == sign) operation = named;
    }
    const std::string_view title = Trimmed(text.substr(0, operation == BulkOperation::Set ? eq : eq - 1));
    const int titled = ColumnTitled(schema, title);
    const int column = titled < 0 && IsNameWord(title) ? kNameColumn : titled;
    if (title.empty()) return Refused(SetError::Kind::NoOperator);
    if (column < 0) return Refused(SetError::Kind::UnknownColumn, title, NearestColumnTitle(schema, title));

    SetExpression set;
    set.text = std::string(text);
    set.column = column;
    set.operation = operation;
    const std::string_view value = text.substr(eq + 1);
    if (column == kNameColumn) {
        if (operation != BulkOperation::Set) return Refused(SetError::Kind::NameOnlySet);
        set.nameText = std::string(value);
        return {std::move(set), std::nullopt};
    }
    ParsedExpression parsed = FieldExpression::Parse(value, schema.kind);
    if (parsed.error) {
        ParsedSet refused = Refused(SetError::Kind::BadExpression, Trimmed(value));
        refused.error->expression = std::move(*parsed.error);
        refused.error->expression.position += eq + 1;
        return refused;
    }
    set.operand = std::move(*parsed.expression);
    // What a constant alone can be told before any record is read.
    if (const std::optional<Rational> constant = set.operand.Constant()) {
        if (operation == BulkOperation::Divide && constant->IsZero()) return Refused(SetError::Kind::DivideByZero);
        const Int128 rounded = RoundedHalfAwayFromZero(*constant);
        if (operation == BulkOperation::Set &&
            (rounded < std::numeric_limits<std::int32_t>::min() || rounded > std::numeric_limits<std::int32_t>::max())) {
            return Refused(SetError::Kind::NotInRange, Trimmed(value));
        }
    }
    return {std::move(set), std::nullopt};
}

} // namespace rw
