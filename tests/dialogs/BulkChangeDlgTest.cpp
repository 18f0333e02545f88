#include "dialogs/CBulkChangeDlg.h"

#include "data/Schema.h"
#include "resources/Strings.h"
#include "tests/ui/UiTestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace rw::test {
namespace {

const int kPrice = SchemaOf(FileKind::Item).ColumnCount() - 2;

QRadioButton& Operation(QDialog& dlg, const char* text)
{
    for (QRadioButton* button : dlg.findChildren<QRadioButton*>()) {
        if (button->text() == U(text)) return *button;
    }
    ADD_FAILURE() << text;
    return *dlg.findChild<QRadioButton*>();
}

// What OK hands over: the operation chosen, the value or factor typed, and the column, which
// starts on the current one (the first numeric column when the current one has no numbers).
TEST(BulkChangeDlg, OkHandsOverTheOperationTheValueAndTheColumn)
{
    struct Case {
        int current;
        const char* operation;
        const char* value;
        BulkChange expected;
    };
    const Case cases[] = {
        {kPrice, str::kBulkSet, "1000", {kPrice, BulkOperation::Set, 1000, 1}},
        {kPrice, str::kBulkAdd, "-3", {kPrice, BulkOperation::Add, -3, 1}},
        {3, str::kBulkMultiply, " 1.5 ", {3, BulkOperation::Multiply, 0, 1.5}},
        {kIdColumn, str::kBulkAdd, "10", {kIdColumn, BulkOperation::Add, 10, 1}},
        {kNameColumn, str::kBulkSet, "7", {kIdColumn, BulkOperation::Set, 7, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.current << " " << c.operation << " " << c.value);
        FakePrompter prompter;
        CBulkChangeDlg dlg(FileKind::Item, 2, c.current, prompter);
        Operation(dlg, c.operation).setChecked(true);
        dlg.findChild<QLineEdit*>()->setText(QString::fromUtf8(c.value));
        dlg.accept();
        ASSERT_EQ(dlg.result(), QDialog::Accepted);
        const BulkChange got = dlg.Change();
        EXPECT_EQ(got.column, c.expected.column);
        EXPECT_EQ(got.operation, c.expected.operation);
        if (got.operation == BulkOperation::Multiply) {
            EXPECT_EQ(got.factor, c.expected.factor);
        } else {
            EXPECT_EQ(got.value, c.expected.value);
        }
        EXPECT_TRUE(prompter.messages.empty());
    }
}

// An earlier change is offered again as it was, each operation on its own button.
TEST(BulkChangeDlg, AnEarlierChangeIsOfferedAgain)
{
    const std::pair<BulkChange, const char*> earlier[] = {
        {{2, BulkOperation::Set, 5, 1}, str::kBulkSet},
        {{2, BulkOperation::Add, -4, 1}, str::kBulkAdd},
        {{2, BulkOperation::Multiply, 0, 0.25}, str::kBulkMultiply},
    };
    for (const auto& [change, button] : earlier) {
        FakePrompter prompter;
        CBulkChangeDlg dlg(FileKind::Monster, 1, kIdColumn, prompter);
        dlg.Propose(change);
        EXPECT_TRUE(Operation(dlg, button).isChecked()) << button;
        dlg.accept();
        EXPECT_EQ(dlg.Change().operation, change.operation) << button;
        EXPECT_EQ(dlg.Change().value, change.value) << button;
        EXPECT_EQ(dlg.Change().factor, change.factor) << button;
        EXPECT_EQ(dlg.Change().column, kIdColumn) << "the column is the current one, not the earlier";
    }
}

// A value that is no number keeps the dialog open with the reason.
TEST(BulkChangeDlg, AValueThatIsNoNumberKeepsTheDialogOpen)
{
    const std::pair<const char*, const char*> cases[] = {
        {str::kBulkSet, "2147483648"}, {str::kBulkAdd, "1.5"}, {str::kBulkMultiply, "x"}, {str::kBulkSet, ""}};
    for (const auto& [operation, value] : cases) {
        FakePrompter prompter;
        CBulkChangeDlg dlg(FileKind::Item, 1, kPrice, prompter);
        dlg.show();
        Operation(dlg, operation).setChecked(true);
        dlg.findChild<QLineEdit*>()->setText(QString::fromUtf8(value));
        dlg.accept();
        EXPECT_TRUE(dlg.isVisible()) << value;
        EXPECT_EQ(prompter.messages.size(), 1u) << value;
    }
}

} // namespace
} // namespace rw::test
