#pragma once

// The record form (template 101): the list of the open file's records, the count box, the
// ID and name boxes with their search buttons, and the command buttons. It holds the open
// file (through its model), the keys and the file dialogs' folder for the life of the program.

#include "data/KeySet.h"
#include "shell/FileChooser.h"
#include "table/RecordTableModel.h"

#include <QWidget>

#include <map>

class QLineEdit;
class QPushButton;
class QTableView;

namespace rw {

class Prompter;

class CChildView : public QWidget {
    Q_OBJECT
public:
    explicit CChildView(Prompter& prompter, QWidget* parent = nullptr);

    // Once, after the frame has built its windows and before it is shown.
    void OnInitialUpdate();
    // The seven command buttons.
    void EnableCommands(bool enable);
    // count, or the row count for -1.
    void ShowRecordCount(int count);
    // Loads the data file at path; its bare name decides the kind. Each record refused as a
    // duplicate shows a message while the load waits, a truncated file a warning afterwards.
    // On failure nothing changes and nothing is shown: the caller reports it.
    bool LoadDataFile(const QString& path);

    [[nodiscard]] KeySet& Keys() { return m_keys; }
    [[nodiscard]] FileChooser& Files() { return m_files; }
    [[nodiscard]] RecordTableModel& Model() { return m_model; }
    [[nodiscard]] QTableView* List() const { return m_list; }
    [[nodiscard]] QPushButton* Button(int controlId) const;

private:
    void CreateControls();
    void SetUpList();
    void ApplyColumnWidths();
    void ShowMessage(const QString& text, const char* caption);

    Prompter& m_prompter;
    FileChooser m_files;
    RecordTableModel m_model;
    KeySet m_keys;
    QTableView* m_list = nullptr;
    QLineEdit* m_countBox = nullptr;
    QLineEdit* m_idBox = nullptr;
    QLineEdit* m_nameBox = nullptr;
    std::map<int, QPushButton*> m_buttons;
};

} // namespace rw
