#pragma once

// The record list's own commands, on its selected rows and its current cell: the context menu's
// (edit the cell, copy, paste, delete the rows, copy them as new, 批量修改, take the compared
// file's values) with their keys, and F8 / Shift+F8 and 查看 ▸ 按当前列排序, which act on the
// current cell. Each turns into a request of the table's edits, and a refusal into a message
// owned by the form.

#include "dialogs/CBulkChangeDlg.h"

#include <QObject>

#include <optional>
#include <vector>

class QWidget;

namespace rw {

class Prompter;
class RecordFinder;
class RecordList;
class TableDocument;
class TableEdits;

class ListCommands : public QObject {
    Q_OBJECT
public:
    // Everything given outlives the commands. The list's commands go on the list (its context
    // menu, keys acting while it has the focus); the current cell's on the form (keys acting
    // anywhere in the window).
    ListCommands(TableDocument& document, TableEdits& edits, Prompter& prompter, RecordList& list, RecordFinder& finder,
                 QWidget& form);

signals:
    // A short note for the status bar (F8's wrapping, or that nothing is marked).
    void Reported(const QString& text);

private:
    void AddListActions();
    void AddCurrentCellActions();
    void OnEditCell();
    void OnCopy();
    void OnPaste();
    void PasteColumn(const QString& text, const std::vector<int>& rows);
    void PasteRows(const QString& text);
    void OnDeleteRows();
    void OnCopyAsNew();
    void OnBulkChange();
    void OnTakeOtherValue();
    void OnSortByCurrentColumn();
    // F8 and Shift+F8: the next or previous cell that differs from the file compared with,
    // or, with no comparison, that changed since the load or save; wrapping around.
    void StepToDifference(int direction);
    // The column of the current cell; -1, after saying so (text), when there is none.
    [[nodiscard]] int CurrentColumnOrSay(const char* text);
    void ShowMessage(const QString& text, const char* caption);

    TableDocument& m_document;
    TableEdits& m_edits;
    Prompter& m_prompter;
    RecordList& m_list;
    RecordFinder& m_finder;
    QWidget& m_form;
    std::optional<BulkRequest> m_lastBulkChange;
};

} // namespace rw
