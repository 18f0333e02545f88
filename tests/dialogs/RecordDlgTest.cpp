// The record dialog of each kind on its own, with a commit target standing in for the frame.

#include "dialogs/RecordCommitTarget.h"
#include "tests/ui/UiTestSupport.h"

#include <QLabel>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>

namespace rw::test {
namespace {

// Records each commit and accepts it (the frame's tests have commits refused).
class FakeCommitTarget : public RecordCommitTarget {
public:
    struct Seen { CommitKind kind; Record record; int row; RowKey rowKey; };
    std::vector<Seen> commits;

    PutOutcome Commit(const RecordCommit& commit) override
    {
        commits.push_back({commit.kind, commit.record, commit.row, commit.rowKey});
        return PutOutcome::Accepted;
    }
};

// Every byte set, hidden ones and those after the name's first zero included.
Record PatternRecord(FileKind kind)
{
    std::vector<std::uint8_t> bytes(SchemaOf(kind).recordSize);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
    return Record(kind, bytes);
}

class RecordDlgTest : public ::testing::TestWithParam<FileKind> {
protected:
    const RecordSchema& Schema() const { return SchemaOf(GetParam()); }
    QLineEdit& Box(int column) { return *FindControl<QLineEdit>(dlg, Schema().Column(column).controlId); }
    QPushButton& Commit() { return *FindControl<QPushButton>(dlg, dlg.Template().commitId); }
    QPushButton& Cancel() { return *FindControl<QPushButton>(dlg, dlg.Template().cancelId); }
    void Open(const Record& record, bool modify)
    {
        dlg.LoadRecord(3, record, RowKey{2, 77});
        dlg.SetMode(modify);
        dlg.show();
    }

    FakePrompter prompter;
    FakeCommitTarget target;
    CRecordDlg dlg{GetParam(), prompter, target};
};

INSTANTIATE_TEST_SUITE_P(Kinds, RecordDlgTest, ::testing::ValuesIn(kAllKinds),
                         [](const ::testing::TestParamInfo<FileKind>& info) {
                             const std::string_view file = SchemaOf(info.param).fileName;
                             return std::string(file.substr(0, file.find('.')));
                         });

TEST_P(RecordDlgTest, CaptionAndCommitButtonFollowTheMode)
{
    const QString file = QString::fromUtf8(Schema().fileName.data(), static_cast<qsizetype>(Schema().fileName.size()));
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.windowTitle(), "数据文件[" + file + "]——修改");
    dlg.SetMode(false);
    EXPECT_EQ(dlg.windowTitle(), "数据文件[" + file + "]——增加");
    EXPECT_EQ(Commit().text(), "增加(&A)");
    dlg.SetMode(true);
    EXPECT_EQ(Commit().text(), "修改(&M)");
    EXPECT_EQ(Cancel().text(), "取消(&C)");
}

// The name too, though its bytes are no GBK text.
TEST_P(RecordDlgTest, UnchangedCommitSendsTheWholeRecordBackByteForByte)
{
    for (const bool modify : {true, false}) {
        target.commits.clear();
        Open(PatternRecord(GetParam()), modify);
        QTest::mouseClick(&Commit(), Qt::LeftButton);

        ASSERT_EQ(target.commits.size(), 1u);
        const FakeCommitTarget::Seen& c = target.commits[0];
        EXPECT_EQ(std::make_tuple(c.kind, c.row, c.rowKey), std::make_tuple(modify ? CommitKind::Modify : CommitKind::Add, 3, RowKey{2, 77}));
        EXPECT_TRUE(c.record == PatternRecord(GetParam()));
        EXPECT_FALSE(dlg.isVisible());
    }
}

// Enter stays cancel, as do Escape, the close box and 取消; Ctrl+Enter, on the main keys or the
// keypad, commits as the commit button does, which says so.
TEST_P(RecordDlgTest, OfTheKeysOnlyCtrlEnterCommits)
{
    const auto key = [](QLineEdit& box, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        return [&box, key, modifiers] { QTest::keyClick(&box, key, modifiers); };
    };
    const std::pair<std::function<void()>, bool> ways[] = {
        {key(Box(2), Qt::Key_Return), false}, {key(Box(kNameColumn), Qt::Key_Enter), false},
        {key(Box(kIdColumn), Qt::Key_Escape), false}, {[&] { dlg.close(); }, false},
        {[&] { QTest::mouseClick(&Cancel(), Qt::LeftButton); }, false}, {key(Box(2), Qt::Key_Return, Qt::ControlModifier), true},
        {key(Box(2), Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier), true},
    };
    for (const auto& [way, commits] : ways) {
        target.commits.clear();
        Open(Record(GetParam()), true);
        dlg.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
        Box(2).setText("5");
        way();
        EXPECT_FALSE(dlg.isVisible());
        ASSERT_EQ(target.commits.size(), commits ? 1u : 0u);
        if (commits) {
            EXPECT_EQ(target.commits[0].record.Value(2), 5);
        }
    }
    EXPECT_TRUE(Cancel().isDefault());
    EXPECT_TRUE(Commit().toolTip().contains(QStringLiteral("Ctrl+Enter")));
}

// Each opening starts with the keys in the first box, the ID, its text selected, at the place
// the dialog had, whichever box was used before and in either mode.
TEST_P(RecordDlgTest, EachOpeningStartsInTheFirstBox)
{
    QLineEdit& last = Box(Schema().ColumnCount() - 1);
    for (const bool modify : {true, false, true}) {
        dlg.LoadRecord(3, PatternRecord(GetParam()));
        dlg.SetMode(modify);
        dlg.ShowForEditing();
        const QPoint at = dlg.pos();
        EXPECT_EQ(dlg.focusWidget(), &Box(kIdColumn));
        EXPECT_EQ(Box(kIdColumn).selectedText(), Box(kIdColumn).text());
        last.setFocus();
        Cancel().click();
        EXPECT_FALSE(dlg.isVisible());
        dlg.ShowForEditing();
        EXPECT_EQ(dlg.pos(), at);
        EXPECT_EQ(dlg.focusWidget(), &Box(kIdColumn));
        dlg.hide();
    }
}

// Which texts are whole numbers is the record library's test; here two that a looser parser
// would take: a fraction and full-width digits.
TEST_P(RecordDlgTest, BadNumberStopsTheCommitAtThatBox)
{
    for (const QString bad : {"1.5", "１２"}) {
        prompter.messages.clear();
        Open(Record(GetParam()), true);
        const int column = Schema().ColumnCount() - 2;
        Box(column).setText(bad);
        Box(column + 1).setText("x"); // a later bad box is not the one shown
        QTest::mouseClick(&Commit(), Qt::LeftButton);

        EXPECT_TRUE(target.commits.empty()) << bad.toStdString();
        EXPECT_TRUE(dlg.isVisible());
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text, "请输入一个整数。");
        EXPECT_EQ(dlg.focusWidget(), &Box(column));
        EXPECT_EQ(Box(column).selectedText(), bad);
    }
}

// Typed text stops at capacity - 1 GBK bytes, never inside a double-byte character; a paste
// in the middle keeps the text around it. A changed name is stored as its bytes and one zero,
// the rest of the field as it was.
TEST_P(RecordDlgTest, NameBoxKeepsWithinTheFieldInWholeCharacters)
{
    const int maxBytes = Schema().nameCapacity - 1;
    const Record loaded = PatternRecord(GetParam());
    Open(loaded, true);
    QLineEdit& name = Box(kNameColumn);
    name.clear();
    for (const QChar c : "a" + QString(20, QChar(u'龙'))) {
        // keyClicks takes Latin-1 only; a Chinese input method delivers text like this.
        QTest::sendKeyEvent(QTest::Click, &name, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    const int dragons = (maxBytes - 1) / 2;
    EXPECT_EQ(name.text(), "a" + QString(dragons, QChar(u'龙')));

    name.setText("abc");
    name.setCursorPosition(1);
    name.insert(QString(40, QChar(u'x')) + QString::fromUtf8("\xF0\x9F\x98\x80"));
    EXPECT_EQ(name.text(), "a" + QString(maxBytes - 3, QChar(u'x')) + "bc");

    name.clear();
    name.insert(QString::fromUtf8("b\xF0\x9F\x98\x80龙"));
    EXPECT_EQ(name.text(), "b龙"); // no GBK form: dropped
    QTest::mouseClick(&Commit(), Qt::LeftButton);
    const Record& sent = target.commits.at(0).record;
    const std::size_t at = Schema().nameOffset;
    EXPECT_EQ(sent.Bytes()[Schema().nameLengthOffset], 3);
    EXPECT_EQ(sent.Name(), "b\xC1\xFA");
    EXPECT_EQ(sent.Bytes()[at + 3], 0);
    EXPECT_TRUE(std::equal(sent.Bytes().begin() + static_cast<long>(at + 4), sent.Bytes().end(),
                           loaded.Bytes().begin() + static_cast<long>(at + 4)));
}

// Number boxes grow past the template only as far as the longest number needs, and the
// columns after them move right, so nothing covers anything.
TEST_P(RecordDlgTest, NothingCoversAnythingAndEveryNumberShowsWhole)
{
    for (int k = 0; k < Schema().ColumnCount(); ++k) EXPECT_NE(FindControl<QLineEdit>(dlg, Schema().Column(k).controlId), nullptr);
    std::vector<QWidget*> controls;
    for (QWidget* w : dlg.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w)) controls.push_back(w);
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
        EXPECT_TRUE(dlg.rect().contains(controls[i]->geometry()));
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << controls[i]->property("controlId").toInt() << " " << controls[j]->property("controlId").toInt();
        }
    }
    QLineEdit& widest = Box(kIdColumn);
    widest.setText(QStringLiteral("-2147483648"));
    widest.home(false);
    QStyleOptionFrame option;
    option.initFrom(&widest);
    option.lineWidth = widest.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &widest);
    const QRect inside = widest.style()->subElementRect(QStyle::SE_LineEditContents, &option, &widest);
    EXPECT_GE(inside.width() - 2 * 2, widest.fontMetrics().horizontalAdvance(widest.text()));

    QStringList labels;
    for (const QLabel* label : dlg.findChildren<QLabel*>()) labels << label->text();
    EXPECT_EQ(labels.size(), Schema().ColumnCount());
    if (GetParam() == FileKind::Item) {
        EXPECT_TRUE(labels.contains("Mac_Type") && !labels.contains("MacType"));
    }
}

} // namespace
} // namespace rw::test
