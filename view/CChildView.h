#pragma once

// The record form: the list of the open file's records, the count box, the ID and name boxes
// with their search buttons, and the command buttons, laid out as its template places them.
// It keeps the form's state (the file loaded and what its load left out, the count, the
// commands on or off, each kind's columns as the user left them, the find bar shown or not) and
// owns the three record edit dialogs for the life of the program, taking their commits.
// CChildViewCommands.cpp holds the buttons' commands; the list's own commands are ListCommands',
// the two searches RecordSearch's.
//
// It has the template's size unless its frame gives it another: the list takes whatever room
// there is or lacks, down to a few rows, while the controls below it keep their places from
// the bottom edge and the find bar, while it shows, stands under them.

#include "dialogs/RecordCommitTarget.h"
#include "table/TableDocument.h"
#include "table/TableEdits.h"

#include <QWidget>

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QLineEdit;
class QPushButton;

namespace rw {

class CRecordDlg;
class EditorSettings;
class FindBar;
class Prompter;
class RecordFinder;
class RecordList;
class RecordSearch;
class SaveFlow;

class CChildView : public QWidget, public RecordCommitTarget {
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

    // Once, after the frame has built its windows and before it is shown: the kind's columns,
    // the commands off, and the edit dialogs, which send their commits here.
    void OnInitialUpdate();
    // Loads path (kind None: by its name), then says what the load left out: the records
    // refused as duplicates, a truncated file, bytes after the last record. A data file that
    // does not load is said to, with why; a name that tells no kind is left to the caller.
    LoadReport LoadDataFile(const QString& path, FileKind kind);
    // A record dialog's commit: into the row that holds its key now, wherever sorting or
    // deleting moved it, or appended. A refusal's message is the dialog's.
    PutOutcome Commit(const RecordCommit& commit) override;
    void HideDialogs();

    // The form's buttons, the double-click in the list and a left click on a column header.
    void OnRefresh();
    void OnAdd();
    void OnModify();
    void OnDblclkList();
    void OnDelete();
    void OnSearchId();
    void OnSearchName();
    void OnSave();
    void OnHeaderItemClick(int column);
    // The kind's column widths and hidden columns into the settings.
    void SaveColumnLayout();

    // What a column header's tooltip says: its title, offset and type.
    [[nodiscard]] static QString ColumnTip(const RecordSchema& schema, int column);
    // The command of the list's context menu, of the find bar's keys or of 查看, with that id.
    [[nodiscard]] QAction* ListCommand(int commandId) const;
    // The find bar (Ctrl+F); hiding it shows every row again.
    void ShowFindBar(bool focus = true);
    void HideFindBar();
    [[nodiscard]] RecordList* List() const { return m_list; }
    // What the list shows of the table, for the plot beside it.
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

private:
    void CreateControls();
    void SetUpList();
    void ConnectCommands();
    // Ctrl+F, F3 and Shift+F3, and 查看 ▸ 适合列宽.
    void AddFormCommands();
    // 查看: every column as wide as its title and values need.
    void OnFitColumns();
    // The kind's columns as remembered, or as the kind has them.
    void ApplyColumnLayout();
    // The list takes the room the form has beyond the template's, the controls under it move.
    void LayOut();
    [[nodiscard]] int FindBarHeight() const;
    [[nodiscard]] QPushButton* Button(int controlId) const;
    // The edit dialog of kind; null before OnInitialUpdate.
    [[nodiscard]] CRecordDlg* Dialog(FileKind kind) const;
    // The seven command buttons.
    void EnableCommands(bool enable);
    // The table's row count, which the model's signals keep up to date.
    void ShowRecordCount();
    // The one way a file comes in, for Open and Refresh alike: failedFormat words a failure.
    LoadReport Load(std::filesystem::path path, std::string bareName, FileKind kind, const char* failedFormat);
    // A new file: no dialog may commit into it, no arrow, the commands on.
    void OnDocumentLoaded();
    void ReportLoadedFile(const LoadReport& report);
    void ReportRefusedRecords(const std::vector<std::int32_t>& ids);
    void ShowMessage(const QString& text, const char* caption, QWidget* owner = nullptr);
    PutOutcome ReportPut(const PutResult& result, QWidget* owner = nullptr);
    // A cell edited in place; false when refused, after saying why when report is true.
    bool CommitCell(const QModelIndex& cell, const QString& text, bool report);
    void ShowDialog(const Record& record, int row, RowKey key, bool modify);

    TableDocument& m_document;
    TableEdits& m_edits;
    SaveFlow& m_saves;
    Prompter& m_prompter;
    EditorSettings& m_settings;
    RecordList* m_list = nullptr;
    QLineEdit* m_countBox = nullptr;
    QLineEdit* m_idBox = nullptr;
    QLineEdit* m_nameBox = nullptr;
    std::map<int, QPushButton*> m_buttons;
    std::array<CRecordDlg*, 3> m_dialogs{}; // item, magic, monster
    FindBar* m_findBar = nullptr;
    RecordFinder* m_finder = nullptr;
    std::unique_ptr<RecordSearch> m_search;
    QSize m_templateSize;
    int m_saveButtonGive = 0; // how much narrower than the template the form may be
    int m_listTemplateHeight = 0;
    std::vector<std::pair<QWidget*, QPoint>> m_belowList; // at their places in the template
    FileKind m_layoutKind = FileKind::None;                 // whose columns the list shows
};

} // namespace rw
