// The program's real message boxes and dialogs, answered through the widgets themselves.

#include "resources/Ids.h"
#include "resources/Strings.h"
#include "shell/CAboutDlg.h"
#include "shell/CEditorApp.h"
#include "shell/CMainFrame.h"
#include "shell/DialogUnits.h"
#include "shell/FileChooser.h"
#include "shell/QtPrompter.h"
#include "tests/ui/UiTestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace rw::test {
namespace {

TEST(RealDialogs, MessageBoxIsOwnedHasOnlyOkAndNoIcon)
{
    QWidget owner;
    QtPrompter prompter;
    bool seen = false;
    WhenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(box->parentWidget(), &owner);
        EXPECT_EQ(box->windowTitle(), U(str::kCaptionError));
        EXPECT_EQ(box->text(), U(str::kNotADataFile));
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box->buttons().size(), 1);
        box->button(QMessageBox::Ok)->click();
    });
    prompter.ShowMessage(&owner, U(str::kNotADataFile), U(str::kCaptionError));
    EXPECT_TRUE(seen);
}

TEST(RealDialogs, OpenDialogShowsTheFilterAsWrittenListsDataFilesAndStartsInTheLastFolder)
{
    QTemporaryDir dir;
    for (const char* name : {"a.dat", "b.txt", "c.csv"}) QFile(dir.filePath(U(name))).open(QIODevice::WriteOnly);
    QtPrompter prompter;
    FileChooser chooser(prompter);
    QStringList listed;
    const auto answer = [&](const QString& startFolder, const QString& typed) {
        WhenModalOpens([&, startFolder, typed](QWidget* modal) {
            auto& dialog = *qobject_cast<QFileDialog*>(modal);
            EXPECT_EQ(dialog.directory().absolutePath(), startFolder);
            EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText(),
                      QStringLiteral("Data Files (*.txt;*.dat)"));
            auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
            const auto rows = [list] { return list->model()->rowCount(list->rootIndex()); };
            EXPECT_TRUE(QTest::qWaitFor([&] { return rows() > 0; }, 2000));
            listed.clear();
            for (int row = 0; row < rows(); ++row) listed << list->model()->index(row, 0, list->rootIndex()).data().toString();
            auto* nameBox = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            nameBox->setText(typed);
            QTest::keyClick(nameBox, Qt::Key_Return);
        });
    };
    answer(QDir::currentPath(), dir.filePath(QStringLiteral("a.dat")));
    EXPECT_EQ(chooser.ChooseFileToOpen(nullptr), dir.filePath(QStringLiteral("a.dat")));
    answer(dir.path(), QStringLiteral("magic.dat")); // a name that does not exist is handed on
    EXPECT_EQ(chooser.ChooseFileToOpen(nullptr), dir.filePath(QStringLiteral("magic.dat")));
    listed.sort();
    EXPECT_EQ(listed, (QStringList{QStringLiteral("a.dat"), QStringLiteral("b.txt")}));
}

TEST(RealDialogs, AboutBoxComesFromTheMenuAndClosesWithOk)
{
    auto& app = *static_cast<CEditorApp*>(QApplication::instance());
    ASSERT_TRUE(app.InitInstance());
    CMainFrame& frame = *app.MainFrame();
    EXPECT_EQ(QApplication::applicationVersion(), QStringLiteral("1.0.2.1"));
    for (int run = 0; run < 2; ++run) {
        bool seen = false;
        WhenModalOpens([&](QWidget* modal) {
            auto* about = qobject_cast<CAboutDlg*>(modal);
            ASSERT_NE(about, nullptr);
            seen = true;
            EXPECT_EQ(about->windowTitle(), U(str::kAboutCaption));
            EXPECT_EQ(about->size(), DialogUnits(about->font()).Size(235, 55));
            auto* ok = FindControl<QPushButton>(*about, ids::kOk);
            EXPECT_TRUE(ok->isDefault());
            ok->click();
        });
        frame.CommandAction(ids::kCmdAppAbout)->trigger();
        EXPECT_TRUE(seen);
    }
    frame.CommandAction(ids::kCmdAppExit)->trigger();
    EXPECT_FALSE(frame.isVisible());
}

} // namespace
} // namespace rw::test
