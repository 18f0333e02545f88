#pragma once

// 保存, 文件 ▸ 保存 and the question before unsaved changes are dropped. Every save first asks
// what would be lost whatever the target (a monster file's first ID, a table without records);
// a save over the opened file then asks about what its load left out and about another
// program's changes, and the document keeps the file as its backup before the first such save.
// Each question's default keeps what is on disk; the outcome is said in the user's words: a
// failure in a box, a save over the opened file in the status bar, a Save As in a box.

#include "view/SaveFlow.h"

class QString;

namespace rw {

class FileChooser;
class Prompter;
class StatusReport;
class TableDocument;

class TableSaver : public SaveFlow {
public:
    // The document, the file dialogs, the prompter and the status bar outlive the saver.
    TableSaver(TableDocument& document, FileChooser& files, Prompter& prompter, StatusReport& status);

    bool SaveAs(QWidget* owner) override;
    // Over the opened file when anything is unsaved (an edit, or a key changed since the file
    // was read or written); with nothing unsaved it writes nothing and answers true. A table
    // made by an import, which has no file yet, asks where.
    bool SaveToOpenedFile(QWidget* owner);
    // Unsaved changes: 保存 saves them as the 保存 button does, 不保存 drops them, 取消 keeps
    // them. The question says so when the order of the records is all that is unsaved.
    [[nodiscard]] bool MayDiscardChanges(QWidget* owner) override;

private:
    enum class Told : bool { InBox, InStatusBar };

    [[nodiscard]] bool MaySave(QWidget* owner);
    // Asks before overwriting what the load left out of the file or another program's
    // changes, writes, and says how it went: a failure always in a box, success as told.
    bool WriteTo(QWidget* owner, const QString& path, Told success);
    void ShowMessage(QWidget* owner, const QString& text, const char* caption);

    TableDocument& m_document;
    FileChooser& m_files;
    Prompter& m_prompter;
    StatusReport& m_status;
};

} // namespace rw
