#pragma once

// 导出CSV and 导入CSV: the table out to CSV (UTF-8 with or without a byte-order mark, or GBK)
// or a workbook, and records in from either, replacing the table's as one step of the edit
// history, which Ctrl+Z takes back: an import asks nothing about unsaved changes, which stay
// in the history before it. Long transfers show their progress and can be cancelled; a cancelled or refused
// import changes nothing. A transfer that went as asked says so in the status bar; one with
// something to look out for (names that read as formulas, warnings, changed names) and every
// failure say it in a box.

#include "data/FileKind.h"

class QString;
class QWidget;

namespace rw {

class FileChooser;
class Prompter;
class StatusReport;
class TableDocument;
class TableEdits;

class TableTransfer {
public:
    // The document, its edits, the file dialogs, the prompter and the status bar outlive the
    // transfer.
    TableTransfer(TableDocument& document, TableEdits& edits, FileChooser& files, Prompter& prompter,
                  StatusReport& status);

    void OnExport(QWidget* owner);
    // True when the table was replaced.
    bool OnImport(QWidget* owner);

    // Whether an import keeps the names Raw holds where the name column says otherwise.
    void SetKeepNames(bool keep) { m_keepNames = keep; }

private:
    // The import's summary: how many records, what to look out for, and every name changed.
    void ReportImport(QWidget* owner, const QString& shownName, const struct ImportReading& reading, FileKind kind);

    TableDocument& m_document;
    TableEdits& m_edits;
    FileChooser& m_files;
    Prompter& m_prompter;
    StatusReport& m_status;
    bool m_keepNames = false;
};

} // namespace rw
