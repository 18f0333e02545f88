#pragma once

// The find bar under the form: a query (a part of a name, an ID, or conditions on columns),
// the next and previous match, whether only the matching rows show, and where the last find
// landed or what is wrong with the query.

#include "data/FileKind.h"
#include "resources/Strings.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace rw {

class FindBar : public QWidget {
    Q_OBJECT

public:
    explicit FindBar(QWidget* parent = nullptr);

    // The placeholder and the syntax's tooltip give examples that work in a table of kind.
    void SetKind(FileKind kind);
    [[nodiscard]] static const str::QueryExamples& ExamplesOf(FileKind kind);

    [[nodiscard]] QString Query() const;
    [[nodiscard]] bool OnlyMatching() const;
    void SetOnlyMatching(bool only);
    // The focus to the query, its text selected.
    void FocusQuery();
    // What the last find found, or what is wrong with the query (shown in red).
    void ShowResult(const QString& text, bool wrong);

signals:
    void QueryChanged();
    void FindNext();
    void FindPrevious();
    void OnlyMatchingChanged(bool only);
    void CloseRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_label = nullptr;
    QLineEdit* m_query;
    QCheckBox* m_onlyMatching;
    QLabel* m_result;
};

} // namespace rw
