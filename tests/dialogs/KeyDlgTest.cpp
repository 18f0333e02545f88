#include "dialogs/CKeyDlg.h"

#include "resources/Strings.h"
#include "tests/ui/UiTestSupport.h"

#include <QTest>

namespace rw::test {
namespace {

KeySet Keys(std::uint8_t item, std::uint8_t magic, std::uint8_t monster)
{
    KeySet keys;
    keys.Set(FileKind::Item, item);
    keys.Set(FileKind::Magic, magic);
    keys.Set(FileKind::Monster, monster);
    return keys;
}
KeySet SomeKeys() { return Keys(11, 22, 33); }

class KeyDlgTest : public ::testing::Test {
protected:
    KeyDlgTest() { dlg.show(); }

    QLineEdit& Box(int id) { return *FindControl<QLineEdit>(dlg, id); }
    QPushButton& Button(int id) { return *FindControl<QPushButton>(dlg, id); }
    KeySet Result() const { return dlg.GetKeys(); }

    FakePrompter prompter;
    CKeyDlg dlg{SomeKeys(), prompter};
};

TEST_F(KeyDlgTest, ShowsEachKeyInItsDigitsOnlyBox)
{
    EXPECT_EQ(QStringList({Box(ids::kItemKeyBox).text(), Box(ids::kMagicKeyBox).text(), Box(ids::kMonsterKeyBox).text()}),
              QStringList({"11", "22", "33"}));

    Box(ids::kItemKeyBox).clear();
    QTest::keyClicks(&Box(ids::kItemKeyBox), "1a-2 ");
    EXPECT_EQ(Box(ids::kItemKeyBox).text(), "12");
}

// A bad box stops OK with a message, gets the focus with its text selected, applies nothing;
// boxes are read magic, monster, item, so the first bad one in that order is the one shown.
// Good ones all apply. Which texts are keys is the record library's test.
TEST_F(KeyDlgTest, OkAppliesAllThreeKeysOrNoneWhileOneIsBad)
{
    struct Case { QString item, magic, monster; int failing; };
    const Case cases[] = {
        {"256", "2", "3", ids::kItemKeyBox}, {"1", "99999999999", "3", ids::kMagicKeyBox},
        {"300", "2", "256", ids::kMonsterKeyBox}, {"0", "255", "007", 0},
    };
    for (const Case& c : cases) {
        Box(ids::kItemKeyBox).setText(c.item);
        Box(ids::kMagicKeyBox).setText(c.magic);
        Box(ids::kMonsterKeyBox).setText(c.monster);
        prompter.messages.clear();
        QTest::mouseClick(&Button(ids::kOk), Qt::LeftButton);
        if (c.failing == 0) break;

        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text, QString::fromUtf8(str::kEnterByte));
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(dlg.focusWidget(), &Box(c.failing));
        EXPECT_EQ(Box(c.failing).selectedText(), Box(c.failing).text());
        EXPECT_EQ(Result(), SomeKeys());
    }
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Result(), Keys(0, 255, 7));
}

TEST_F(KeyDlgTest, CancelEscapeCloseAndEnterChangeNothing)
{
    const std::vector<std::function<void()>> ways{
        [&] { QTest::mouseClick(&Button(ids::kCancel), Qt::LeftButton); },
        [&] { QTest::keyClick(&Box(ids::kMagicKeyBox), Qt::Key_Escape); }, [&] { dlg.close(); },
        [&] { QTest::keyClick(&Box(ids::kMagicKeyBox), Qt::Key_Return); },
    };
    for (const auto& cancel : ways) {
        dlg.show();
        dlg.setResult(QDialog::Accepted);
        Box(ids::kMagicKeyBox).setText("99");
        cancel();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(Result(), SomeKeys());
    }
    EXPECT_TRUE(Button(ids::kCancel).isDefault());
    EXPECT_FALSE(Button(ids::kOk).isDefault());
}

} // namespace
} // namespace rw::test
