// update's --set over any text: an expression that parses is written out in one form of its
// own (the column's title as the kind has it, the operator, the value), which parses again to
// the same change: the same column, operation and name bytes, and the same value after it for
// every value before it tried. The factor of *= and /= is written as it was typed, whatever
// type holds it once parsed. First byte the kind; the rest the expression.

#include "fuzz/FuzzCheck.h"
#include "cli/SetExpression.h"
#include "text/Utf8NameTranscoder.h"

#include <cstring>
#include <limits>
#include <string>

namespace {

using namespace rw;

[[nodiscard]] std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

[[nodiscard]] std::string Written(const SetExpression& set, const RecordSchema& schema)
{
    std::string text(schema.Column(set.change.column).title);
    if (set.SetsName()) {
        Utf8NameTranscoder().AppendText(set.nameBytes, text.append("="));
        return text;
    }
    switch (set.change.operation) {
    case BulkOperation::Set: return text + "=" + std::to_string(set.change.value);
    case BulkOperation::Add:
        // 2147483648 is what "-=-2147483648" adds, which no number after += says.
        if (set.change.value > std::numeric_limits<std::int32_t>::max()) return text + "-=" + std::to_string(-set.change.value);
        return text + "+=" + std::to_string(set.change.value);
    case BulkOperation::Multiply:
    case BulkOperation::Divide: break;
    }
    // The factor as typed: the text after the first "=".
    const std::string_view factor = Trimmed(std::string_view(set.text).substr(set.text.find('=') + 1));
    return text.append(set.change.operation == BulkOperation::Multiply ? "*=" : "/=").append(factor);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    const RecordSchema& schema = SchemaOf(FileKindFromInt(data[0] % 3));
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const ParsedSet parsed = ParseSetExpression(text, schema);
    Require(parsed.set.has_value() == parsed.error.empty());
    if (!parsed.set) return 0;
    const SetExpression& set = *parsed.set;
    const std::string written = Written(set, schema);
    const ParsedSet again = ParseSetExpression(written, schema);
    Require(again.set.has_value());
    const SetExpression& other = *again.set;
    Require(Written(other, schema) == written);
    Require(other.change.column == set.change.column && other.change.operation == set.change.operation);
    Require(other.nameBytes == set.nameBytes && !other.nameCut);
    if (set.SetsName()) return 0;
    Require(other.change.value == set.change.value);

    // The values before: the edges, and numbers from the input's bytes.
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    std::int32_t values[] = {0, 1, -1, 2, 3, 7, 45, 50, 90, 100, 1000, kMax, kMin, kMax - 1, kMin + 1, 0, 0, 0, 0};
    for (std::size_t i = 0; i < 4 && 1 + 4 * (i + 1) <= size; ++i) {
        std::memcpy(&values[std::size(values) - 4 + i], data + 1 + 4 * i, 4);
    }
    for (const std::int32_t now : values) {
        Require(BulkChangedValue(other.change, now) == BulkChangedValue(set.change, now));
    }
    return 0;
}
