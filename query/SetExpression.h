#pragma once

// One assignment as recwright-cli update's --set gives it: "Price=NeedLevel*120",
// "HP*=1.2", "ID+=-10" (= += -= *= /= followed by an expression), or "Name=TEXT" (the name's
// column, or "Name" in any letter case, set to a text). "Price*=1.15" means Price set to
// Price*1.15, worked out exactly and rounded once.

#include "query/BulkChange.h"
#include "query/FieldExpression.h"
#include "data/Schema.h"

#include <optional>
#include <string>
#include <string_view>

namespace rw {

struct SetError {
    enum class Kind : std::uint8_t {
        NoOperator,     // no "=", or nothing before it
        UnknownColumn,  // text: what was given as a column; nearest: the title most likely meant
        NameOnlySet,    // += and the like on the name
        BadExpression,  // expression: what is wrong with the value, where (position: into the whole text)
        DivideByZero,   // /= 0
        NotInRange,     // = a number outside the signed 32-bit range; text: the number
    };
    Kind kind = Kind::NoOperator;
    std::string text;
    std::string nearest;
    ExpressionError expression;
};

struct SetExpression {
    std::string text; // as given, for messages
    int column = 2;
    BulkOperation operation = BulkOperation::Set;
    FieldExpression operand; // a numeric column's: what the operation takes
    std::string nameText;    // the name's column: the text after "=", as given
    [[nodiscard]] bool SetsName() const { return column == kNameColumn; }
    // The change to a numeric column.
    [[nodiscard]] BulkChange Change(FileKind kind) const { return ChangeOf(kind, column, operation, operand); }
};

struct ParsedSet {
    std::optional<SetExpression> set;
    std::optional<SetError> error; // when set is empty
};

// The column by its title in any letter case, blanks allowed around it and the value.
[[nodiscard]] ParsedSet ParseSetExpression(std::string_view text, const RecordSchema& schema);

} // namespace rw
