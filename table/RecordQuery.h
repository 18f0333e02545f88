#pragma once

// What the find bar looks for. Either a text, which a row matches when its name holds it (ASCII
// letters in any case) or its ID is that number; or conditions on columns, such as
// "Level>=40 Stdmode=10 Price<500", all of which a row must meet. A column is named by its
// title (letter case aside); the operators are = != < <= > >=, the values whole numbers.

#include "data/NameTranscoder.h"
#include "table/RecordTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

struct QueryError {
    enum class Kind : std::uint8_t {
        UnknownColumn, // text: what was given as a column
        NameColumn,    // the name has no numbers to compare
        NoOperator,    // text: the column
        NoNumber,      // text: what stands where the number should
        NotInRange,    // text: the number
    };
    Kind kind = Kind::UnknownColumn;
    std::string text;
};

class RecordQuery {
public:
    // text: as typed, UTF-8. The kind's columns name the conditions; names turns a text into
    // the bytes names hold.
    [[nodiscard]] static RecordQuery Parse(std::string_view text, FileKind kind, const NameTranscoder& names);

    [[nodiscard]] bool Empty() const { return m_empty; }
    [[nodiscard]] const std::optional<QueryError>& Error() const { return m_error; }
    // A malformed query matches nothing; an empty one, everything.
    [[nodiscard]] bool Matches(const RecordTable& table, int row) const;
    // The matching rows, ascending.
    [[nodiscard]] std::vector<int> MatchingRows(const RecordTable& table) const;

private:
    enum class Op : std::uint8_t { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };
    struct Condition {
        std::uint16_t offset;
        Op op;
        std::int32_t value;
    };

    bool m_empty = true;
    std::optional<QueryError> m_error;
    std::vector<Condition> m_conditions;
    std::string m_nameBytes;           // the text in GBK, its ASCII letters lowered
    std::vector<bool> m_folds;         // which of its bytes are single-byte characters
    bool m_nameEncodes = false;        // no name holds a text GBK cannot write
    std::optional<std::int32_t> m_id;  // the text as an ID
};

} // namespace rw
