#pragma once

// What is wrong with an expression, in the editor's words: where (the character's number in
// the text typed) and why. The find bar and 批量修改's 公式 both say it so.

#include "query/FieldExpression.h"

#include <QString>

#include <string_view>

namespace rw {

// typed: the whole text the position counts into.
[[nodiscard]] QString ExpressionErrorText(const ExpressionError& error, std::string_view typed);

} // namespace rw
