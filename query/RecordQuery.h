#pragma once

// What the find bar looks for. A query is one or more alternatives separated by "|", of which
// a row must meet one. An alternative is made of parts separated by blanks, all of which the
// row must meet:
// - a condition on a column, such as "Level>=40" or "Price<NeedLevel*10": the column by its
//   title (letter case aside), one of the operators = != < <= > >=, and a whole number or an
//   expression over the record's fields (FieldExpression), which runs to the next blank outside
//   parentheses and is compared exactly, unrounded; a record for which it divides by zero or
//   overflows meets no such condition;
// - a part of a name, which a row meets when its name holds it (ASCII letters in any case) or
//   its ID is that number. Words next to each other are one part, the blanks between them
//   included; an alternative without any operator is one part as a whole.
// So "戒指 Level>=40" finds the rings from level 40 on, and "Stdmode=10 | Stdmode=11" the rows
// of either kind. An alternative left empty ("a |", "|") is malformed: it would meet every row.

#include "query/ColumnTitles.h"
#include "query/FieldExpression.h"
#include "data/NameTranscoder.h"
#include "data/Schema.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

struct QueryError {
    enum class Kind : std::uint8_t {
        UnknownColumn, // text: what was given as a column
        NameColumn,    // the name has no numbers to compare
        NoOperator,    // text: the column
        NoNumber,      // text: the column, whose operator nothing follows
        NotInRange,    // text: the number
        EmptyAlternative, // a "|" with nothing on one side of it
        BadExpression,    // text: the expression; expression: what is wrong, where in it
    };
    Kind kind = Kind::UnknownColumn;
    std::string text;
    std::string nearest; // for an unknown column: the title most likely meant, if any
    std::size_t position = 0; // BadExpression: bytes into the query where the expression starts
    ExpressionError expression;
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
        std::int32_t value;                        // a whole number compared with
        std::optional<FieldExpression> expression; // or what the record's fields give
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
    // Parses one alternative (trimmed, not empty; base bytes into the query) into
    // m_alternatives; false with m_error set when it is malformed.
    bool ParseAlternative(std::string_view text, std::size_t base, const RecordSchema& schema, const NameTranscoder& names);
    [[nodiscard]] bool Meets(const Alternative& alternative, const std::uint8_t* record) const;

    FileKind m_kind = FileKind::Item;
    std::optional<QueryError> m_error;
    std::vector<Alternative> m_alternatives;
};

} // namespace rw
