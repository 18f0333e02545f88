// Fewer boxes: what went as asked is said on the status bar's message line, which falls back to
// its idle text after a while; failures, warnings and questions stay boxes. The question before
// an import saves over the opened file.

#include "exchange/TransferFormat.h"
#include "resources/Strings.h"
#include "tests/ui/UiTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QTest>

#include <functional>

namespace rw::test {
namespace {

class StatusReportTest : public FrameFixture {
protected:
    void Run(int commandId) { frame.CommandAction(commandId)->trigger(); }
    void Export(const QString& path)
    {
        prompter.fileAnswers.push_back(path);
        prompter.typeAnswers.push_back(static_cast<int>(TransferFormat::CsvUtf8));
        Run(ids::kCmdFileExport);
    }
    void Import(const QString& path)
    {
        prompter.fileAnswers.push_back(path);
        Run(ids::kCmdFileImport);
    }
    [[nodiscard]] QString MessageLine() const { return frame.StatusPane(0)->text(); }
    void DeleteFirstRow()
    {
        Select({0});
        view.OnDelete();
    }
    static QByteArray Bytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

// Each command's success on the message line and in no box; the 保存 button's Save As, a
// failure still in a box.
TEST_F(StatusReportTest, SuccessIsReportedOnTheStatusBarAndTheRestInBoxes)
{
    const QString csv = dir.filePath(QStringLiteral("items.csv"));
    const struct {
        const char* what;
        std::function<void()> run;
        QString line;    // the message line after it
        QString message; // the box, "caption|text", or empty for none
    } cases[] = {
        {"Ctrl+S", [&] { DeleteFirstRow(), QTest::keySequence(&frame, QKeySequence(QStringLiteral("Ctrl+S"))); },
         U("stditem.dat文件已保存！"), {}},
        {"export", [&] { Export(csv); }, U("已把2条记录导出到[items.csv]。"), {}},
        {"import", [&] { Import(csv); }, U("已从[items.csv]导入2条记录（可以撤销）。"), {}},
        {"the 保存 button", [&] { prompter.fileAnswers.push_back(dir.filePath(QStringLiteral("copy.dat"))), view.OnSave(); },
         U(str::kIdleMessage), Shown(str::kCaptionNotice, "copy.dat文件已保存！")},
        {"an export that fails", [&] { Export(dir.filePath(QStringLiteral("missing/items.csv"))); }, U(str::kIdleMessage),
         U("错误|无法写入[%1]：它所在的文件夹不存在").arg(QDir::toNativeSeparators(dir.filePath(QStringLiteral("missing/items.csv"))))},
    };
    Open({.ids = {1, 2, 3}});
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        prompter.messages.clear();
        frame.StatusPane(0)->setText(U(str::kIdleMessage));
        c.run();
        EXPECT_EQ(MessageLine(), c.line);
        EXPECT_EQ(LastMessage(), c.message);
        EXPECT_LE(prompter.messages.size(), 1u);
    }
}

// The question before an import offers 保存, which writes over the opened file as Ctrl+S does
// (no Save As dialog, the opened file's backup made) before the import; 不保存 imports over the
// changes, 取消 does nothing.
TEST_F(StatusReportTest, SavingBeforeAnImportWritesOverTheOpenedFile)
{
    const QString csv = dir.filePath(QStringLiteral("items.csv"));
    const QString path = Open({.ids = {1, 2, 3}});
    const QByteArray opened = Bytes(path);
    Export(csv);
    const struct {
        Answer answer;
        bool saved;    // the opened file holds the deletion
        bool imported; // the table holds the CSV's three records
    } cases[] = {
        {Answer::Cancel, false, false},
        {Answer::Discard, false, true},
        {Answer::Save, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        QFile::remove(path + QStringLiteral(".bak"));
        prompter.answers = {Answer::Discard}; // what the case before left unsaved
        Open({.ids = {1, 2, 3}});
        ASSERT_EQ(Bytes(path), opened);
        DeleteFirstRow();
        prompter.questions.clear();
        prompter.savesAsked.clear();
        prompter.answers = {c.answer};
        Import(csv);
        prompter.fileAnswers.clear(); // the CSV, where 取消 chose none
        ASSERT_EQ(prompter.questions.size(), 1u);
        EXPECT_EQ(prompter.questions[0].text, U("表格中有未保存的修改，导入前是否先把它们保存到stditem.dat？"));
        EXPECT_EQ(prompter.buttonsAsked.back().buttons, (std::vector<Answer>{Answer::Save, Answer::Discard, Answer::Cancel}));
        EXPECT_TRUE(prompter.savesAsked.empty()) << "no Save As";
        EXPECT_EQ(Bytes(path) != opened, c.saved);
        EXPECT_EQ(QFileInfo::exists(path + QStringLiteral(".bak")), c.saved);
        EXPECT_EQ(Table().RowCount(), c.imported ? 3 : 2);
        EXPECT_EQ(document.FileName(), "stditem.dat");
    }
}

} // namespace
} // namespace rw::test
