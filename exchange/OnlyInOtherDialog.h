#pragma once

// The records only in the file compared with: their IDs and names, to pick those the table
// should take over. A list of a million records costs a few bytes a record: rows are
// formatted when they are drawn.

#include "table/Comparison.h"

#include <QDialog>

#include <cstddef>
#include <vector>

class QPushButton;
class QTableView;

namespace rw {

class OnlyInOtherDialog : public QDialog {
    Q_OBJECT

public:
    // indexes: of the comparison's records, in the order to list them; summary: what the
    // comparison found, said above them.
    OnlyInOtherDialog(const Comparison& comparison, FileKind kind, std::vector<std::size_t> indexes,
                      const QString& summary, QWidget* parent = nullptr);

    // The records picked (indexes of the comparison's), in list order; valid once exec()
    // answered Accepted, which 接收 does.
    [[nodiscard]] std::vector<std::size_t> Chosen() const;
    [[nodiscard]] QTableView* List() const { return m_list; }
    [[nodiscard]] QPushButton* TakeOverButton() const { return m_takeOver; }

private:
    std::vector<std::size_t> m_indexes;
    QTableView* m_list = nullptr;
    QPushButton* m_takeOver = nullptr;
};

} // namespace rw
