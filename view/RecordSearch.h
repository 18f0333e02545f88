#pragma once

// The form's two searches: the row whose ID is the ID box's text, and the first row whose name
// is the name box's, each matched whole and exactly. The row found is selected in place of the
// first selected one and brought into view; an empty box or no such row is said in a box.

class QString;
class QWidget;

namespace rw {

class Prompter;
class RecordFinder;
class RecordList;
class TableDocument;

class RecordSearch {
public:
    // Everything given outlives the search; its messages are the form's.
    RecordSearch(const TableDocument& document, RecordList& list, RecordFinder& finder, Prompter& prompter, QWidget& form);

    void SearchId(const QString& text);
    void SearchName(const QString& text);

private:
    void SelectFoundRow(int row);
    void Warn(const char* text);

    const TableDocument& m_document;
    RecordList& m_list;
    RecordFinder& m_finder;
    Prompter& m_prompter;
    QWidget& m_form;
};

} // namespace rw
