// The find bar: stepping through the matches, the filter that hides rows from the list alone,
// a malformed query; the query belongs to the table it was made on, and its counts follow it.

#include "resources/Strings.h"
#include "tests/ui/UiTestSupport.h"
#include "view/FindBar.h"
#include "view/RecordFinder.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>

namespace rw::test {
namespace {

class FindFilterTest : public FrameFixture {
protected:
    void SetUp() override
    {
        Open({.ids = {1, 12, 3, 120, 5}}); // the names N1, N12, N3, N120, N5
        ShowActive();
    }
    FindBar& Bar() { return *view.findChild<FindBar*>(); }
    QLineEdit& Query() { return *Bar().findChild<QLineEdit*>(); }
    [[nodiscard]] QString Result() { return Bar().findChild<QLabel*>(QStringLiteral("result"))->text(); }
    void Take(const QString& query)
    {
        view.ShowFindBar();
        Query().setText(query);
        view.Finder()->ApplyQuery();
    }
    void Take(const char* query) { Take(U(query)); }
};

TEST_F(FindFilterTest, AnotherFileStopsTheFilterAndKeepsTheTextUntaken)
{
    Take("N1");
    Bar().SetOnlyMatching(true);
    ASSERT_EQ(RowCount(), 3);
    Open({.kind = FileKind::Monster, .ids = {0, 1, 2, 3}});
    EXPECT_FALSE(Bar().OnlyMatching());
    EXPECT_EQ(RowCount(), 4);
    EXPECT_FALSE(Pane("shown").isVisible());
    EXPECT_EQ(Query().text(), QStringLiteral("N1"));
    EXPECT_TRUE(Bar().isVisible());
    EXPECT_EQ(Result(), U(str::kFindInactive));
    // The examples are the monsters' now.
    const str::QueryExamples& monsters = str::kQueryExamples[static_cast<std::size_t>(FileKind::Monster)];
    EXPECT_TRUE(Query().toolTip().contains(U(monsters.either)));
    EXPECT_TRUE(Query().placeholderText().contains(U(monsters.condition)));
    // Taken again by the user, on this table.
    QTest::keyClick(&Query(), Qt::Key_Return);
    EXPECT_EQ(Result(), U("第 1 个，共 1 个"));
    EXPECT_EQ(SelectedIds(), std::vector<std::int32_t>{1});
}

// The count beside the bar and the status bar's "显示 n / N 条" follow every change: an edit,
// its undo, a row the filter lets go.
TEST_F(FindFilterTest, TheCountsFollowEveryEdit)
{
    Take("N1");
    EXPECT_EQ(Result(), U("共 3 个"));
    const struct { std::function<void()> change; const char* count; int shown; } steps[] = {
        {[&] { view.OnAdd(), Box(kNameColumn).setText(U("N1x")), Commit(); }, "共 4 个", 4}, // through the add dialog
        {[&] { EditCell(RowOfId(12), kNameColumn, U("zz")); }, "共 3 个", 3},                // N12 goes from the list
        {[&] { Undo(); }, "共 4 个", 4}, {[&] { view.List()->selectRow(0), view.OnDelete(); }, "共 3 个", 3},
    };
    Bar().SetOnlyMatching(true);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.count);
        step.change();
        QCoreApplication::processEvents(); // the changes of the moment done, as the window shows them
        EXPECT_EQ(Result(), U(step.count));
        EXPECT_EQ(RowCount(), step.shown);
        EXPECT_EQ(Pane("shown").text(), U("显示 %1 / %2 条").arg(step.shown).arg(Count()));
    }
}

// Ctrl+F opens the bar in room of its own, Enter takes the query, F3 and Shift+F3 step through
// the matches, wrapping; Escape closes it and gives the room back.
TEST_F(FindFilterTest, TheBarStepsThroughTheMatchesWrapping)
{
    const int height = frame.height();
    view.List()->setCurrentIndex(Model().index(4, 0));
    QTest::keySequence(&frame, QKeySequence(QKeySequence::Find));
    EXPECT_TRUE(Bar().isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame.height() > height; }, 1000));
    EXPECT_TRUE(Query().hasFocus());
    Query().setText(QStringLiteral("N1")); // N1, N12, N120
    QTest::keyClick(&Query(), Qt::Key_Return);
    EXPECT_EQ(SelectedIds(), std::vector<std::int32_t>{1});
    EXPECT_EQ(Result(), U("第 1 个，共 3 个"));
    const std::pair<Qt::KeyboardModifier, std::int32_t> steps[] = {
        {Qt::NoModifier, 12}, {Qt::NoModifier, 120}, {Qt::NoModifier, 1} /* wraps */, {Qt::ShiftModifier, 120}};
    for (const auto& [modifier, id] : steps) {
        QTest::keyClick(&Query(), Qt::Key_F3, modifier);
        EXPECT_EQ(SelectedIds(), std::vector<std::int32_t>{id});
    }
    EXPECT_EQ(Result(), U("第 3 个，共 3 个"));
    QTest::keyClick(&Query(), Qt::Key_Escape);
    EXPECT_FALSE(Bar().isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame.height() == height; }, 1000));
}

// 只显示匹配的记录 hides rows from the list only: commands act on the rows shown and selected,
// a save writes every row, and Escape shows them all again.
TEST_F(FindFilterTest, TheFilterHidesRowsFromTheListAndFromNothingElse)
{
    Take("ItemID>=5 ItemID<100");
    Bar().findChild<QCheckBox*>()->setChecked(true);
    EXPECT_EQ(RowCount(), 2);
    EXPECT_EQ(Pane("shown").text(), U("显示 2 / 5 条"));
    EXPECT_TRUE(Pane("shown").isVisible());
    Select({1}); // ID 5
    view.OnDelete();
    EXPECT_EQ(Count(), QStringLiteral("4"));
    EXPECT_EQ(RowCount(), 1);
    const QString saved = dir.filePath(QStringLiteral("filtered.dat"));
    prompter.fileAnswers.push_back(saved);
    view.OnSave();
    EXPECT_EQ(ReadDataFile(saved.toStdString(), FileKind::Item, KeySet{}.For(FileKind::Item)).Count(), 4u);
    QTest::keyClick(&Query(), Qt::Key_Escape);
    EXPECT_FALSE(Bar().OnlyMatching());
    EXPECT_FALSE(Pane("shown").isVisible());
}

// A malformed query says why in red and filters nothing: a "|" with nothing on one side (it
// would find every row), a column the kind lacks (naming the nearest), a number past 32 bits
// (quoted by its first 40 characters). Which texts are malformed is the query's own test.
TEST_F(FindFilterTest, AMalformedQuerySaysWhyInRedAndFiltersNothing)
{
    const QString empty = U(str::kFindEmptyAlternative);
    const std::pair<QString, QString> cases[] = {
        {U("|"), empty}, {U("N1 |"), empty}, {U("Levle>3"), U("没有名为“Levle”的列")},
        {U("Level>3"), U("没有名为“Level”的列；是指“NeedLevel”吗？")},
        {U("Price<") + QString(100'000, QLatin1Char('9')), U("“%1…”超出了32位整数的范围").arg(QString(40, QLatin1Char('9')))},
    };
    for (const auto& [query, said] : cases) {
        SCOPED_TRACE(query.left(20).toStdString());
        Take("N3");
        Bar().SetOnlyMatching(true);
        ASSERT_EQ(RowCount(), 1);
        Take(query);
        EXPECT_EQ(Result(), said);
        EXPECT_FALSE(Query().styleSheet().isEmpty()) << "red";
        EXPECT_EQ(RowCount(), 5);
    }
}

} // namespace
} // namespace rw::test
