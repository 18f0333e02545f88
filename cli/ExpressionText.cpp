#include "cli/ExpressionText.h"

#include "cli/CliText.h"
#include "data/DecimalText.h"
#include "resources/Strings.h"

namespace rw {
namespace {

[[nodiscard]] std::string UnknownColumn(std::string_view text, std::string_view nearest)
{
    return Format<str::kCliQueryUnknownColumnFormat>(text) +
           (nearest.empty() ? std::string() : Format<str::kCliDidYouMeanFormat>(nearest));
}

[[nodiscard]] std::string Reason(const ExpressionError& error)
{
    using Kind = ExpressionError::Kind;
    switch (error.kind) {
    case Kind::NoValue:
        return error.text.empty() ? std::string(str::kCliExprNoValueAtEnd) : Format<str::kCliExprNoValueFormat>(error.text);
    case Kind::UnexpectedText: return Format<str::kCliExprUnexpectedFormat>(error.text);
    case Kind::UnknownField: return UnknownColumn(error.text, error.nearest);
    case Kind::NameField: return Format<str::kCliExprNameFieldFormat>(error.text);
    case Kind::UnknownFunction: return Format<str::kCliExprUnknownFunctionFormat>(error.text);
    case Kind::ArgumentCount:
        return error.text.size() == 3 && (error.text[0] == 'a' || error.text[0] == 'A')
                   ? Format<str::kCliExprAbsCountFormat>(error.text)
                   : Format<str::kCliExprMinMaxCountFormat>(error.text);
    case Kind::NoClosingParenthesis: return str::kCliExprNoClosing;
    case Kind::NotANumber: return Format<str::kCliExprNotANumberFormat>(error.text);
    case Kind::TooManyDigits:
        return Format<str::kCliExprTooManyDigitsFormat>(error.text, static_cast<long long>(kDecimalDigits),
                                                        static_cast<long long>(kDecimalDigits));
    case Kind::TooDeep: break;
    }
    return Format<str::kCliExprTooDeepFormat>(static_cast<long long>(kMaxExpressionDepth));
}

} // namespace

std::string ExpressionErrorText(const ExpressionError& error, std::string_view given)
{
    return Format<str::kCliExprAtFormat>(static_cast<long long>(CharacterNumber(given, error.position)), Reason(error));
}

std::string QueryErrorText(const QueryError& error, std::string_view given)
{
    switch (error.kind) {
    case QueryError::Kind::UnknownColumn: return UnknownColumn(error.text, error.nearest);
    case QueryError::Kind::NameColumn: return Format<str::kCliQueryNameColumnFormat>(error.text);
    case QueryError::Kind::NoOperator: return Format<str::kCliQueryNoOperatorFormat>(error.text);
    case QueryError::Kind::NoNumber: return Format<str::kCliQueryNoNumberFormat>(error.text);
    case QueryError::Kind::EmptyAlternative: return str::kCliQueryEmptyAlternative;
    case QueryError::Kind::BadExpression: {
        ExpressionError atQuery = error.expression;
        atQuery.position += error.position;
        return ExpressionErrorText(atQuery, given);
    }
    case QueryError::Kind::NotInRange: break;
    }
    return Format<str::kCliQueryNotInRangeFormat>(error.text);
}

std::string SetErrorText(const SetError& error, std::string_view given)
{
    switch (error.kind) {
    case SetError::Kind::NoOperator: return str::kCliSetNoOperator;
    case SetError::Kind::UnknownColumn: return UnknownColumn(error.text, error.nearest);
    case SetError::Kind::NameOnlySet: return str::kCliSetNameOnlySet;
    case SetError::Kind::BadExpression: return ExpressionErrorText(error.expression, given);
    case SetError::Kind::DivideByZero: return str::kCliSetDivideByZero;
    case SetError::Kind::NotInRange: break;
    }
    return Format<str::kCliSetNotInRangeFormat>(error.text);
}

} // namespace rw
