#pragma once

// What the find bar looks for. A query is one or more alternatives separated by "|", of which
// a row must meet one. An alternative is made of parts separated by blanks, all of which the
// row must meet:
// - a condition on a column, such as "Level>=40": the column by its title (letter case aside),
//   one of the operators = != < <= > >=, a whole number;
// - a part of a name, which a row meets when its name holds it (ASCII letters in any case) or
//   its ID is that number. Words next to each other are one part, the blanks between them
//   included; an alternative without any operator is one part as a whole.
// So "戒指 Level>=40" finds the rings from level 40 on, and "Stdmode=10 | Stdmode=11" the rows
// of either kind. An alternative left empty ("a |", "|") is malformed: it would meet every row.

#include "data/NameTranscoder.h"
#include "data/Schema.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

// The column whose title is title, letter case aside, as queries name them; -1 when none.
[[nodiscard]] int ColumnTitled(const RecordSchema& schema, std::string_view title);
// The title of the column most likely meant by a title the kind lacks (NearestName), or empty.
[[nodiscard]] std::string_view NearestColumnTitle(const RecordSchema& schema, std::string_view title);

struct QueryError {
    enum class Kind : std::uint8_t {
        UnknownColumn, // text: what was given as a column
        NameColumn,    // the name has no numbers to compare
        NoOperator,    // text: the column
        NoNumber,      // text: what stands where the number should
        NotInRange,    // text: the number
        EmptyAlternative, // a "|" with nothing on one side of it
    };
    Kind kind = Kind::UnknownColumn;
    std::string text;
    std::string nearest; // for an unknown column: the title most likely meant, if any
};

class RecordQuery {
public:
    // text: as typed, UTF-8. The kind's columns name the conditions; names turns a text into
    // the bytes names hold.
    [[nodiscard]] static RecordQuery Parse(std::string_view text, FileKind kind, const NameTranscoder& names);

    // Nothing but blanks was given.
    [[nodiscard]] bool Empty() const { return m_alternatives.empty() && !m_error; }
    [[nodiscard]] const std::optional<QueryError>& Error() const { return m_error; }
    // The query written out in one form (the columns' titles as the kind has them, one blank
    // between parts, " | " between alternatives), which parses again to the same query; empty
    // for an empty or malformed one.
    [[nodiscard]] std::string CanonicalText() const;
    // A malformed query matches nothing; an empty one, everything. record: an image of the
    // kind's size.
    [[nodiscard]] bool Matches(std::span<const std::uint8_t> record) const;
    // A row of any table of records that answers RowCount() and RowBytes(row).
    template <typename Table>
    [[nodiscard]] bool Matches(const Table& table, int row) const
    {
        return Matches(table.RowBytes(row));
    }
    // The matching rows, ascending.
    template <typename Table>
    [[nodiscard]] std::vector<int> MatchingRows(const Table& table) const
    {
        std::vector<int> rows;
        for (int row = 0; row < table.RowCount(); ++row) {
            if (Matches(table.RowBytes(row))) rows.push_back(row);
        }
        return rows;
    }

private:
    enum class Op : std::uint8_t { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };
    struct Condition {
        int column;
        std::uint16_t offset;
        Op op;
        std::int32_t value;
    };
    struct NamePart {
        std::string text;          // as typed
        std::string bytes;         // the text in GBK, its ASCII letters lowered
        std::vector<bool> folds;   // which of its bytes are single-byte characters
        bool encodes = false;      // no name holds a text GBK cannot write
        std::optional<std::int32_t> id; // the text as an ID
    };
    // Two name parts always had a condition between them: words next to each other are one.
    struct Alternative {
        std::vector<Condition> conditions;
        std::vector<NamePart> names;
    };

    [[nodiscard]] static NamePart MakeNamePart(std::string_view text, const NameTranscoder& names);
    // Parses one alternative (trimmed, not empty) into m_alternatives; false with m_error set
    // when it is malformed.
    bool ParseAlternative(std::string_view text, const RecordSchema& schema, const NameTranscoder& names);
    [[nodiscard]] bool Meets(const Alternative& alternative, const std::uint8_t* record) const;

    FileKind m_kind = FileKind::Item;
    std::optional<QueryError> m_error;
    std::vector<Alternative> m_alternatives;
};

} // namespace rw
