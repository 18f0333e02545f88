// Fewer boxes: what went as asked is said on the status bar's message line; failures, warnings
// and questions stay boxes. An import asks nothing: it is a step Ctrl+Z takes back.

#include "resources/Strings.h"
#include "tests/ui/UiTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QTest>

#include <functional>

namespace rw::test {
namespace {

class StatusReportTest : public FrameFixture {};

// Each command's success on the message line and in no box (Ctrl+S's is the save tests'); the 保存
// button's Save As and a failure in a box. An import after an edit asks nothing and says that
// Ctrl+Z takes it back, to the edit before it.
TEST_F(StatusReportTest, SuccessIsReportedOnTheStatusBarAndAnImportAsksNothing)
{
    Open({.ids = {1, 2, 3}});
    const QString csv = dir.filePath(QStringLiteral("items.csv"));
    const QString missing = dir.filePath(QStringLiteral("missing/items.csv"));
    const struct {
        const char* what;
        std::function<void()> run;
        QString line;    // the message line after it
        QString message; // the box, "caption|text", or empty for none
    } cases[] = {
        {"export", [&] { Export(csv); }, U("已把3条记录导出到[items.csv]。"), {}},
        {"an import after an edit", [&] { DeleteFirstRow(), Import(csv); }, U("已从[items.csv]导入3条记录（按 Ctrl+Z 撤销）。"), {}},
        {"the 保存 button", [&] { prompter.fileAnswers.push_back(dir.filePath(QStringLiteral("copy.dat"))), view.OnSave(); },
         U(str::kIdleMessage), Shown(str::kCaptionNotice, "copy.dat文件已保存！")},
        {"an export that fails", [&] { Export(missing); }, U(str::kIdleMessage),
         U("错误|无法写入[%1]：它所在的文件夹不存在").arg(QDir::toNativeSeparators(missing))},
    };
    ShowActive();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        prompter.messages.clear();
        Pane("message").setText(U(str::kIdleMessage));
        c.run();
        EXPECT_EQ(MessageLine(), c.line);
        EXPECT_EQ(LastMessage(), c.message);
        EXPECT_LE(prompter.messages.size(), 1u);
    }
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(prompter.savesAsked.size(), 1u) << "the 保存 button's alone";
    // Ctrl+Z takes the import back to the edit before it.
    EXPECT_EQ(RowCount(), 3);
    QTest::keySequence(&frame, QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_EQ(RowCount(), 2);
    EXPECT_TRUE(Unsaved());
}

} // namespace
} // namespace rw::test
