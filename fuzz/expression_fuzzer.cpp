// The expression language over any text: what parses is written out in its one form, which
// parses again to the same steps and is written out the same; both give every record tried the
// same value, the same fault, and the same order against any number. The rounded value agrees
// with the exact one, as does the comparison. What is refused says where within the text.
// The value worked out on fractions alone is the reference the faster ways (64-bit integers,
// decimals) must agree with. First byte the kind; the rest the expression. The records: zeros,
// the edges of the 32-bit range, and ones made from the text's own bytes.

#include "fuzz/FuzzCheck.h"
#include "query/FieldExpression.h"
#include "data/Schema.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using namespace rw;

[[nodiscard]] bool SameResult(const RationalResult& a, const RationalResult& b)
{
    return a.fault == b.fault && (!a.Ok() || a.value == b.value);
}

// The rounded value as the exact one gives it.
[[nodiscard]] bool AgreesWithExact(const WholeValue& whole, const RationalResult& exact)
{
    if (!exact.Ok()) {
        return whole.fault == (exact.fault == ArithmeticFault::DivisionByZero ? ValueFault::DivisionByZero : ValueFault::Overflow);
    }
    const Int128 rounded = RoundedHalfAwayFromZero(exact.value);
    if (rounded < std::numeric_limits<std::int32_t>::min() || rounded > std::numeric_limits<std::int32_t>::max()) {
        return whole.fault == ValueFault::OutOfRange;
    }
    return whole.Ok() && whole.value == rounded;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    const FileKind kind = FileKindFromInt(data[0] % 3);
    const RecordSchema& schema = SchemaOf(kind);
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const ParsedExpression parsed = FieldExpression::Parse(text, kind);
    Require(parsed.expression.has_value() != parsed.error.has_value());
    if (parsed.error) {
        Require(parsed.error->position <= text.size());
        return 0;
    }
    const FieldExpression& expression = *parsed.expression;
    // The same value divided by one: worked out on fractions alone, never on 64-bit integers
    // or decimals first, the reference the faster ways must agree with.
    const FieldExpression reference =
        FieldExpression::Combined(expression, FieldExpression::Operator::Divide, FieldExpression::Number(kind, 1));
    const std::string written = expression.Text();
    const ParsedExpression again = FieldExpression::Parse(written, kind);
    Require(again.expression.has_value());
    Require(*again.expression == expression);
    Require(again.expression->Text() == written);

    std::vector<std::vector<std::uint8_t>> records;
    records.emplace_back(schema.recordSize, 0);
    for (const std::uint8_t fill : {0x7F, 0x80, 0xFF, 0x01}) {
        records.emplace_back(schema.recordSize, fill);
        for (std::size_t at = 3; at < schema.recordSize; at += 4) records.back()[at] = fill == 0x01 ? 0 : fill;
    }
    for (std::size_t offset = 0; offset < schema.recordSize; offset += 36) {
        std::vector<std::uint8_t> record(schema.recordSize);
        std::copy_n(data + 1, std::min(size - 1, record.size() - offset), record.begin() + static_cast<std::ptrdiff_t>(offset));
        records.push_back(std::move(record));
    }
    constexpr std::int64_t kNumbers[] = {0, 1, -1, 58, std::numeric_limits<std::int32_t>::max(),
                                         std::numeric_limits<std::int32_t>::min()};
    for (const auto& record : records) {
        const RationalResult exact = expression.Evaluate(record.data());
        Require(SameResult(exact, again.expression->Evaluate(record.data())));
        const RationalResult slow = reference.Evaluate(record.data());
        Require(!slow.Ok() || SameResult(exact, slow));
        const WholeValue whole = expression.EvaluateWhole(record.data());
        Require(AgreesWithExact(whole, exact));
        for (const std::int64_t number : kNumbers) {
            const std::optional<int> order = expression.CompareWith(number, record.data());
            Require(order.has_value() == exact.Ok());
            if (!order) continue;
            const RationalResult difference = Subtract(Rational(number), exact.value);
            if (difference.Ok()) {
                const int sign = difference.value.Numerator() < 0 ? -1 : difference.value.IsZero() ? 0 : 1;
                Require(*order == sign);
            }
        }
    }
    return 0;
}
