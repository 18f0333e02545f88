#pragma once

// The record form (template 101): the list of the open file's records, the count box, the
// ID and name boxes with their search buttons, and the command buttons. It holds the open
// file (through its model), the keys, the file dialogs' folder and the three record edit
// dialogs for the life of the program.

#include "data/KeySet.h"
#include "ui/FileChooser.h"
#include "table/RecordTableModel.h"

#include <QWidget>

#include <array>
#include <map>
#include <vector>

class QLineEdit;
class QPushButton;
class QTableView;

namespace rw {

class CRecordDlg;
class Prompter;
class SortHeader;

class CChildView : public QWidget {
    Q_OBJECT
public:
    explicit CChildView(Prompter& prompter, QWidget* parent = nullptr);

    // Once, after the frame has built its windows and before it is shown. The edit dialogs
    // made here send their commits to the window the form stands in.
    void OnInitialUpdate();
    // The seven command buttons.
    void EnableCommands(bool enable);
    // count, or the row count for -1.
    void ShowRecordCount(int count);
    // Loads the data file at path; its bare name decides the kind. A load hides the edit
    // dialogs and the sort arrow. Nothing is shown: on success the caller follows with
    // ReportLoadedFile, on failure it reports it with LoadFailureReason; nothing changes then.
    LoadReport LoadDataFile(const QString& path);
    // What a successful load left out: the records refused as duplicates, then a truncated
    // file or the bytes after the last record.
    void ReportLoadedFile(const LoadReport& report);
    // Why a file that names a data file did not load, in the user's words.
    [[nodiscard]] static QString LoadFailureReason(const DecodeReport& report);

    // Puts a record into row, or appends it for -1 (the count box follows). A refusal shows
    // its message and answers false.
    bool PutRecord(const Record& record, int row);
    bool PutItemRecord(const Record& record, int row) { return PutRecord(record, row); }
    bool PutMagicRecord(const Record& record, int row) { return PutRecord(record, row); }
    bool PutMonsterRecord(const Record& record, int row) { return PutRecord(record, row); }
    // Puts a record into the row that holds key now, wherever sorting or deleting moved it.
    bool PutRecordByKey(const Record& record, RowKey key);

    // True when nothing would be lost: no unsaved changes, or the user saved them or agreed to
    // drop them.
    [[nodiscard]] bool MayDiscardChanges(QWidget* owner);
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
    // The save behind the Save button; true when the table was written.
    bool SaveAs();
    // A left click on a column header.
    void OnHeaderItemClick(int column);

    // The selected row with the lowest index, -1 when none is selected.
    [[nodiscard]] int SelectedRow() const;

    [[nodiscard]] KeySet& Keys() { return m_keys; }
    [[nodiscard]] FileChooser& Files() { return m_files; }
    [[nodiscard]] RecordTableModel& Model() { return m_model; }
    [[nodiscard]] QTableView* List() const { return m_list; }
    [[nodiscard]] SortHeader* Header() const { return m_header; }
    [[nodiscard]] QPushButton* Button(int controlId) const;
    // The edit dialog of kind; null before OnInitialUpdate or for None.
    [[nodiscard]] CRecordDlg* Dialog(FileKind kind) const;

private:
    void CreateControls();
    void SetUpList();
    void ConnectCommands();
    void CreateDialogs();
    void ApplyColumnWidths();
    void ShowMessage(const QString& text, const char* caption);
    bool ReportPut(const PutResult& result, bool appended);
    void ReportRefusedRecords(const std::vector<std::int32_t>& ids);
    void ShowDialog(const Record& record, int row, RowKey key, bool modify);
    void SelectFoundRow(int row);
    [[nodiscard]] bool MaySaveMonsterFirstId();
    [[nodiscard]] QString ProposedSaveName() const;

    Prompter& m_prompter;
    FileChooser m_files;
    RecordTableModel m_model;
    KeySet m_keys;
    QTableView* m_list = nullptr;
    SortHeader* m_header = nullptr;
    QLineEdit* m_countBox = nullptr;
    QLineEdit* m_idBox = nullptr;
    QLineEdit* m_nameBox = nullptr;
    std::map<int, QPushButton*> m_buttons;
    std::array<CRecordDlg*, 3> m_dialogs{}; // item, magic, monster
};

} // namespace rw
