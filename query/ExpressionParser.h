#pragma once

// The expression language's parser: recursive descent over the text, each part read once, so
// that the time is in proportion to the text's length and the depth is bounded. The steps
// are appended as the parts end, in the order they are worked out (postfix).

#include "query/FieldExpression.h"
#include "data/Schema.h"

#include <optional>
#include <string>
#include <string_view>

namespace rw {

// The most values an expression holds at once while it is worked out; what the depth bound
// allows but for long lists of a function's values.
inline constexpr int kMaxExpressionHeight = 48;

class ExpressionParser {
public:
    ExpressionParser(std::string_view text, FileKind kind);

    [[nodiscard]] ParsedExpression Run();

private:
    void Skip();
    bool Fail(ExpressionError::Kind kind, std::size_t at, std::string text, std::string nearest = {});
    [[nodiscard]] bool Next(char c);
    void Emit(FieldExpression::Code code, std::uint16_t operand = 0);
    bool Sum(int depth);
    bool Product(int depth);
    bool Signed(int depth);
    void Negate();
    bool Primary(int depth);
    bool Literal();
    bool Word(int depth);
    bool Function(std::string_view word, std::size_t start, int depth);

    std::string_view m_text;
    const RecordSchema& m_schema;
    std::size_t m_at = 0;
    FieldExpression m_out;
    std::optional<ExpressionError> m_error;
};

} // namespace rw
