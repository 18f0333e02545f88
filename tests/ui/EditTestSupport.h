#pragma once

// A main frame over a temporary folder, with the form's dialogs and rows at hand.

#include "data/Schema.h"
#include "dialogs/CRecordDlg.h"
#include "shell/CMainFrame.h"
#include "table/view/CChildView.h"
#include "tests/ui/UiTestSupport.h"

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace rw::test {

class EditFixture : public ::testing::Test {
protected:
    FakePrompter prompter;
    CMainFrame frame{prompter};
    CChildView& view = *frame.View();
    QTemporaryDir dir;

    QString Open(const SampleFile& sample)
    {
        const QString path = WriteSample(dir.filePath(QString::fromUtf8(SchemaOf(sample.kind).fileName)), sample);
        prompter.fileAnswers.push_back(path);
        frame.OnFileOpen();
        return path;
    }
    [[nodiscard]] const RecordTable& Table() { return view.Model().Table(); }
    [[nodiscard]] int RowOfId(std::int32_t id) { return Table().FindRowById(std::to_string(id)); }
    [[nodiscard]] std::vector<std::int32_t> Ids()
    {
        std::vector<std::int32_t> ids;
        for (int row = 0; row < Table().RowCount(); ++row) ids.push_back(Table().IdOfRow(row));
        return ids;
    }
    [[nodiscard]] QString Count() const { return FindControl<QLineEdit>(view, ids::kCountBox)->text(); }
    void Select(std::initializer_list<int> rows)
    {
        QItemSelectionModel& selection = *view.List()->selectionModel();
        selection.clearSelection();
        for (const int row : rows) {
            selection.select(view.Model().index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    [[nodiscard]] CRecordDlg& Dialog() { return *view.Dialog(Table().Kind()); }
    [[nodiscard]] QLineEdit& Box(int column)
    {
        return *FindControl<QLineEdit>(Dialog(), SchemaOf(Table().Kind()).Column(column).controlId);
    }
    void Commit() { FindControl<QPushButton>(Dialog(), Dialog().Template().commitId)->click(); }
    [[nodiscard]] QString LastMessage() const
    {
        return prompter.messages.empty() ? QString() : prompter.messages.back().caption + QLatin1Char('|') +
                                                           prompter.messages.back().text;
    }
    void SetSearchText(int boxId, const QString& text) { FindControl<QLineEdit>(view, boxId)->setText(text); }
};

} // namespace rw::test
