#pragma once

// Which column the rows were last sorted by, and which way. It outlives loads: after opening
// another file a click on the remembered column reverses its direction.

namespace rw {

// What a header click did.
struct SortClick {
    int column = -1;        // the sort column now
    bool ascending = true;  // its direction now
    int clearedColumn = -1; // the column whose arrow goes away (-1: none; may name no column of this table)
};

class SortState {
public:
    SortState() = default;
    SortState(int column, bool ascending) : m_column(column), m_ascending(ascending) {}

    [[nodiscard]] int Column() const { return m_column; }
    [[nodiscard]] bool Ascending() const { return m_ascending; }

    // A click on the sort column reverses the direction; one on another column starts
    // ascending there and takes the arrow from the old one.
    SortClick Click(int column)
    {
        SortClick click;
        if (column == m_column) {
            m_ascending = !m_ascending;
        } else {
            click.clearedColumn = m_column;
            m_ascending = true;
        }
        m_column = column;
        click.column = m_column;
        click.ascending = m_ascending;
        return click;
    }

private:
    int m_column = -1;
    bool m_ascending = true;
};

} // namespace rw
