#pragma once

// One --set of recwright-cli update: a numeric column set, added to, taken from, multiplied
// or divided, as 批量修改 changes it, or the name set to a text.

#include "data/BulkChange.h"
#include "data/Schema.h"

#include <optional>
#include <string>
#include <string_view>

namespace rw {

struct SetExpression {
    std::string text; // as given, for messages
    BulkChange change; // change.column is the column, the name's too
    // The name's GBK bytes as the editor keeps a typed name (cut to the field at a
    // character's end); for the name's column only.
    std::string nameBytes;
    bool nameCut = false; // the text was longer than the field holds
    [[nodiscard]] bool SetsName() const { return change.column == kNameColumn; }
};

struct ParsedSet {
    std::optional<SetExpression> set;
    std::string error; // when set is empty: what is wrong with it, for the user
};

// text: "Field=V", "Field+=V", "Field-=V", "Field*=V", "Field/=V" or "Name=TEXT", the column
// by its title in any letter case, with blanks around the column and the number allowed.
[[nodiscard]] ParsedSet ParseSetExpression(std::string_view text, const RecordSchema& schema);

} // namespace rw
