#pragma once

// What is wrong with a --where or a --set, in the program's words: the query's faults, the
// expression's with where they are (the character's number in the option's value).

#include "query/FieldExpression.h"
#include "query/RecordQuery.h"
#include "query/SetExpression.h"

#include <string>
#include <string_view>

namespace rw {

// given: the option's whole value, which error.position counts into.
[[nodiscard]] std::string ExpressionErrorText(const ExpressionError& error, std::string_view given);
[[nodiscard]] std::string QueryErrorText(const QueryError& error, std::string_view given);
[[nodiscard]] std::string SetErrorText(const SetError& error, std::string_view given);

} // namespace rw
