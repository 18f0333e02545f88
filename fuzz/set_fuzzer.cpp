// update's --set over any text: an assignment that parses is written out in one form of its
// own (the column's title as the kind has it, the operator, the value in the expression
// language's form), which parses again to the same column, operation and steps, or the same
// name text, and so gives every record tried the same value. First byte the kind; the rest
// the assignment.

#include "fuzz/FuzzCheck.h"
#include "query/SetExpression.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace rw;

[[nodiscard]] std::string Written(const SetExpression& set, const RecordSchema& schema)
{
    static constexpr const char* kOperators[] = {"=", "+=", "-=", "*=", "/="};
    std::string text(schema.Column(set.column).title);
    text += kOperators[static_cast<int>(set.operation)];
    return text + (set.SetsName() ? set.nameText : set.operand.Text());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    const FileKind kind = FileKindFromInt(data[0] % 3);
    const RecordSchema& schema = SchemaOf(kind);
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const ParsedSet parsed = ParseSetExpression(text, schema);
    Require(parsed.set.has_value() != parsed.error.has_value());
    if (!parsed.set) return 0;
    const SetExpression& set = *parsed.set;
    const std::string written = Written(set, schema);
    const ParsedSet again = ParseSetExpression(written, schema);
    Require(again.set.has_value());
    const SetExpression& other = *again.set;
    Require(Written(other, schema) == written);
    Require(other.column == set.column && other.operation == set.operation && other.nameText == set.nameText);
    if (set.SetsName()) return 0;
    Require(other.operand == set.operand);

    // Records: zeros, and the input's bytes laid over one from each of a few offsets.
    std::vector<std::vector<std::uint8_t>> records(1, std::vector<std::uint8_t>(schema.recordSize));
    for (std::size_t offset = 0; offset < schema.recordSize; offset += 20) {
        std::vector<std::uint8_t> record(schema.recordSize);
        std::copy_n(data + 1, std::min(size - 1, record.size() - offset), record.begin() + static_cast<std::ptrdiff_t>(offset));
        records.push_back(std::move(record));
    }
    const BulkChange change = set.Change(kind);
    const BulkChange otherChange = other.Change(kind);
    for (const auto& record : records) {
        const WholeValue a = change.value.EvaluateWhole(record.data());
        const WholeValue b = otherChange.value.EvaluateWhole(record.data());
        Require(a.fault == b.fault && a.value == b.value);
    }
    return 0;
}
