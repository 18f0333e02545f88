#pragma once

// 与文件比较 and 清除比较标记: another file of the open kind read beside the table, the cells
// that differ marked, and the records only in that file offered for taking over.

class QWidget;

namespace rw {

class FileChooser;
class Prompter;
class TableDocument;
class TableEdits;

class TableComparer {
public:
    // The document, its edits, the file dialogs and the prompter outlive the comparer, which
    // words the document's compare marks.
    TableComparer(TableDocument& document, TableEdits& edits, FileChooser& files, Prompter& prompter);

    void OnCompare(QWidget* owner);
    void OnClearCompare();
    // The records only in the file compared with, offered again.
    void OfferRecordsOnlyThere(QWidget* owner);

private:
    TableDocument& m_document;
    TableEdits& m_edits;
    FileChooser& m_files;
    Prompter& m_prompter;
};

} // namespace rw
