#pragma once

// 与文件比较 and 清除比较标记: another file of the open kind read beside the table, the cells
// that differ marked, and the records only in that file offered for taking over.

class QString;
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

    // One box: the comparison's summary, with the records only in the other file to take
    // over when there are any.
    void OnCompare(QWidget* owner);
    void OnClearCompare();
    // 查看: the same box again, while a file is compared with.
    void OfferRecordsOnlyThere(QWidget* owner);

private:
    // The summary, and a note when the other file's size does not fit its records.
    void ShowComparison(QWidget* owner, const QString& note);

    TableDocument& m_document;
    TableEdits& m_edits;
    FileChooser& m_files;
    Prompter& m_prompter;
};

} // namespace rw
