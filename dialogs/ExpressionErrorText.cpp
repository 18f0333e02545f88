#include "dialogs/ExpressionErrorText.h"

#include "data/DecimalText.h"
#include "resources/Strings.h"
#include "ui/Texts.h"

namespace rw {
namespace {

[[nodiscard]] QString Reason(const ExpressionError& error)
{
    const QString quoted = Quoted(Text(error.text));
    using Kind = ExpressionError::Kind;
    switch (error.kind) {
    case Kind::NoValue: return error.text.empty() ? Text(str::kExprNoValue) : Text(str::kExprNoValueFormat, quoted);
    case Kind::UnexpectedText: return Text(str::kExprUnexpectedFormat, quoted);
    case Kind::UnknownField:
        return Text(str::kFindUnknownColumnFormat, quoted) +
               (error.nearest.empty() ? QString() : Text(str::kFindDidYouMeanFormat, Text(error.nearest)));
    case Kind::NameField: return Text(str::kExprNameFieldFormat, quoted);
    case Kind::UnknownFunction: return Text(str::kExprUnknownFunctionFormat, quoted);
    case Kind::ArgumentCount:
        return quoted.compare(QStringLiteral("abs"), Qt::CaseInsensitive) == 0 ? Text(str::kExprAbsCountFormat, quoted)
                                                                              : Text(str::kExprMinMaxCountFormat, quoted);
    case Kind::NoClosingParenthesis: return Text(str::kExprNoClosing);
    case Kind::NotANumber: return Text(str::kExprNotANumberFormat, quoted);
    case Kind::TooManyDigits: return Text(str::kExprTooManyDigitsFormat, quoted, kDecimalDigits);
    case Kind::TooDeep: break;
    }
    return Text(str::kExprTooDeepFormat, kMaxExpressionDepth);
}

} // namespace

QString ExpressionErrorText(const ExpressionError& error, std::string_view typed)
{
    return Text(str::kExprAtFormat, CharacterNumber(typed, error.position), Reason(error));
}

} // namespace rw
