#include "tests/ui/SaveChild.h"

#include "tests/ui/UiTestSupport.h"

#include <cstdio>

namespace rw::test {

int RunSaveChild(const QString& path, const QString& how)
{
    FakePrompter prompter;
    CMainFrame frame{prompter};
    CChildView& view = *frame.View();
    prompter.fileAnswers.push_back(path);
    frame.OnFileOpen();
    if (view.List()->model()->rowCount() == 0) return 2;
    view.List()->selectionModel()->select(view.List()->model()->index(0, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view.OnDelete();
    if (how == QLatin1String("save")) {
        prompter.fileAnswers.push_back(path);
        view.OnSave();
    } else {
        frame.CommandAction(ids::kCmdFileSave)->trigger();
    }
    for (const ShownMessage& message : prompter.messages) std::fprintf(stderr, "%s%s\n", kSaidPrefix, message.text.toUtf8().constData());
    // The status bar counts what is unsaved.
    return frame.statusBar()->findChild<QLabel*>(QStringLiteral("changes"))->isHidden() ? 0 : 1;
}

} // namespace rw::test
