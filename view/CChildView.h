#pragma once

// The record form (template 101): the list of the open file's records, the count box, the
// ID and name boxes with their search buttons, and the command buttons. It turns clicks into
// requests of the table's edits and their answers into messages, and owns the three record
// edit dialogs for the life of the program.
//
// It has the template's size unless its frame gives it another: the list takes whatever room
// there is or lacks, down to a few rows, while the controls below it keep their places from
// the bottom edge and the find bar, while it shows, stands under them.

#include "dialogs/CBulkChangeDlg.h"
#include "table/TableDocument.h"
#include "table/TableEdits.h"

#include <QWidget>

#include <array>
#include <map>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QLineEdit;
class QPushButton;

namespace rw {

class CRecordDlg;
class EditorSettings;
class FindBar;
class RecordFinder;
class RecordList;
class Prompter;
class RecordCommitTarget;
class SaveFlow;
class SortHeader;

class CChildView : public QWidget {
    Q_OBJECT
public:
    // The document, its edits, the saves, the prompter and the settings outlive the form.
    CChildView(TableDocument& document, TableEdits& edits, SaveFlow& saves, Prompter& prompter, EditorSettings& settings,
               QWidget* parent = nullptr);
    // The columns as the user left them are remembered.
    ~CChildView() override;

    // The template's size, and the find bar's height while it shows.
    [[nodiscard]] QSize sizeHint() const override;
    // A little narrower (the gap before the Save button closes up), and as high as the controls
    // under a list of a few rows.
    [[nodiscard]] QSize minimumSizeHint() const override;

    // Once, after the frame has built its windows and before it is shown. The edit dialogs
    // made here send their commits to commitTarget.
    void OnInitialUpdate(RecordCommitTarget& commitTarget);
    // The seven command buttons.
    void EnableCommands(bool enable);
    // count, or the row count for -1.
    void ShowRecordCount(int count);
    // What a successful load left out: the records refused as duplicates, then a truncated
    // file or the bytes after the last record.
    void ReportLoadedFile(const LoadReport& report);

    // Puts a record into row, or appends it for -1 (the count box follows). A refusal shows
    // its message, owned by owner (the form when null).
    PutOutcome PutRecord(const Record& record, int row, QWidget* owner = nullptr);
    // Puts a record into the row that holds key now, wherever sorting or deleting moved it.
    PutOutcome PutRecordByKey(const Record& record, RowKey key, QWidget* owner = nullptr);

    void HideDialogs();

    // The form's commands.
    void OnRefresh();
    void OnAdd();
    void OnModify();
    void OnDblclkList();
    void OnDelete();
    void OnSearchId();
    void OnSearchName();
    void OnSave();
    // A left click on a column header.
    void OnHeaderItemClick(int column);
    // F2: the current cell edited in place.
    void OnEditCell();
    // 查看: every column as wide as its title and values need; the rows sorted by the
    // current cell's column, as a click on its title does.
    void OnFitColumns();
    void OnSortByCurrentColumn();
    // The kind's column widths and hidden columns into the settings.
    void SaveColumnLayout();
    // The list's context menu, on every selected row.
    void OnDeleteRows();
    void OnCopyAsNew();
    void OnBulkChange();
    // The clipboard: the selected rows out as text, and rows or one column's values in.
    void OnCopy();
    void OnPaste();
    // F8 and Shift+F8: the next or previous cell that differs from the file compared with,
    // or, with no comparison, that changed since the load or save; wrapping around.
    void OnNextDifference() { StepToDifference(+1); }
    void OnPreviousDifference() { StepToDifference(-1); }
    // 接收此值: the compared file's values of the current column for the selected rows.
    void OnTakeOtherValue();

    // The selected row with the lowest index, -1 when none is selected.
    [[nodiscard]] int SelectedRow() const;
    // Every selected row, ascending.
    [[nodiscard]] std::vector<int> SelectedRows() const;
    // What a column header's tooltip says: its title, offset and type.
    [[nodiscard]] static QString ColumnTip(const RecordSchema& schema, int column);
    // The command of the list's context menu, of the find bar's keys or of 查看, with that id.
    [[nodiscard]] QAction* ListCommand(int commandId) const;
    // The find bar (Ctrl+F); hiding it shows every row again.
    void ShowFindBar(bool focus = true);
    void HideFindBar();
    [[nodiscard]] FindBar* Finding() const { return m_findBar; }
    [[nodiscard]] RecordFinder* Finder() const { return m_finder; }

signals:
    // While the find bar filters: how many rows show, of how many.
    void RowsShown(int shown, int total, bool filtering);
    // The find bar came or went: the form would have another size.
    void PreferredSizeChanged();
    // A short note for the status bar, where no box is needed.
    void Reported(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;

public:

    [[nodiscard]] RecordList* List() const { return m_list; }
    [[nodiscard]] SortHeader* Header() const { return m_header; }
    [[nodiscard]] QPushButton* Button(int controlId) const;
    // The edit dialog of kind; null before OnInitialUpdate.
    [[nodiscard]] CRecordDlg* Dialog(FileKind kind) const;

private:
    void CreateControls();
    void SetUpList();
    void ConnectCommands();
    void AddListCommands();
    // The kind's columns as remembered, or as the kind has them.
    void ApplyColumnLayout();
    // The list takes the room the form has beyond the template's, the controls under it move.
    void LayOut();
    [[nodiscard]] int FindBarHeight() const;
    // The column of the current cell; -1, after saying so (text), when there is none.
    [[nodiscard]] int CurrentColumnOrSay(const char* text);
    // A new file: no dialog may commit into it, no arrow, its count, the commands on.
    void OnDocumentLoaded();
    void ShowMessage(const QString& text, const char* caption, QWidget* owner = nullptr);
    PutOutcome ReportPut(const PutResult& result, bool appended, QWidget* owner = nullptr);
    // A cell edited in place; false when refused, after saying why when report is true.
    bool CommitCell(const QModelIndex& cell, const QString& text, bool report);
    void ReportRefusedRecords(const std::vector<std::int32_t>& ids);
    void ShowDialog(const Record& record, int row, RowKey key, bool modify);
    void SelectFoundRow(int row);
    void StepToDifference(int direction);

    TableDocument& m_document;
    TableEdits& m_edits;
    SaveFlow& m_saves;
    Prompter& m_prompter;
    EditorSettings& m_settings;
    RecordList* m_list = nullptr;
    SortHeader* m_header = nullptr;
    QLineEdit* m_countBox = nullptr;
    QLineEdit* m_idBox = nullptr;
    QLineEdit* m_nameBox = nullptr;
    std::map<int, QPushButton*> m_buttons;
    std::array<CRecordDlg*, 3> m_dialogs{}; // item, magic, monster
    FindBar* m_findBar = nullptr;
    RecordFinder* m_finder = nullptr;
    QSize m_templateSize;
    int m_saveButtonGive = 0; // how much narrower than the template the form may be
    int m_listTemplateHeight = 0;
    std::vector<std::pair<QWidget*, QPoint>> m_belowList; // at their places in the template
    FileKind m_layoutKind = FileKind::None;                 // whose columns the list shows
    std::optional<BulkRequest> m_lastBulkChange;
};

} // namespace rw
