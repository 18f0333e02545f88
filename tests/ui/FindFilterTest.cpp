// The find bar's query belongs to the table it was made on, and its counts follow the table.

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
        frame.show();
        view.ShowFindBar();
    }
    FindBar& Bar() { return *view.findChild<FindBar*>(); }
    QLineEdit& Query() { return *Bar().findChild<QLineEdit*>(); }
    [[nodiscard]] QString Result() { return Bar().findChild<QLabel*>(QStringLiteral("result"))->text(); }
    void Take(const char* query)
    {
        Query().setText(U(query));
        view.Finder()->ApplyQuery();
    }
    // After the changes of the moment are done, as the window shows them.
    void Settle() { QCoreApplication::processEvents(); }
    void Rename(std::int32_t id, const char* name) { EditCell(RowOfId(id), kNameColumn, U(name)); }
    // Through the add dialog: one past the largest ID.
    void Add(const char* name)
    {
        view.OnAdd();
        Box(kNameColumn).setText(U(name));
        Commit();
    }
};

// Another file: no filter, the text kept but not taken, every row in the list.
TEST_F(FindFilterTest, AnotherFileStopsTheFilterAndKeepsTheTextUntaken)
{
    Take("N1");
    Bar().SetOnlyMatching(true);
    ASSERT_EQ(view.List()->model()->rowCount(), 3);
    Open({.kind = FileKind::Monster, .ids = {0, 1, 2, 3}});
    EXPECT_FALSE(Bar().OnlyMatching());
    EXPECT_EQ(view.List()->model()->rowCount(), 4);
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

    // A condition on a column the new kind lacks filters nothing there until it is taken.
    Take("Stdmode>0");
    Bar().SetOnlyMatching(true);
    Open({.ids = {7}});
    EXPECT_EQ(view.List()->model()->rowCount(), 1);
    EXPECT_FALSE(Bar().OnlyMatching());
}

// The count beside the bar and the status bar's "显示 n / N 条" follow every change: an edit,
// its undo, a row the filter lets go.
TEST_F(FindFilterTest, TheCountsFollowEveryEdit)
{
    Take("N1");
    EXPECT_EQ(Result(), U("共 3 个"));
    const struct {
        std::function<void()> change;
        const char* count;
        int shown;
    } steps[] = {
        {[&] { Add("N1x"); }, "共 4 个", 4},
        {[&] { Rename(12, "zz"); }, "共 3 个", 3}, // N12 goes from the list
        {[&] { Undo(); }, "共 4 个", 4},
        {[&] { view.List()->selectRow(0), view.OnDelete(); }, "共 3 个", 3},
    };
    Bar().SetOnlyMatching(true);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.count);
        step.change();
        Settle();
        EXPECT_EQ(Result(), U(step.count));
        EXPECT_EQ(view.List()->model()->rowCount(), step.shown);
        EXPECT_EQ(Pane("shown").text(), U("显示 %1 / %2 条").arg(step.shown).arg(Count()));
    }
}

// A "|" with nothing on one side would find every row: the bar says so in red, as for any
// malformed query, and filters nothing.
TEST_F(FindFilterTest, AnEmptyAlternativeIsMalformed)
{
    Bar().SetOnlyMatching(true);
    for (const char* query : {"|", "||", " | ", "N1 |", "| N1"}) {
        SCOPED_TRACE(query);
        Take("N3");
        ASSERT_EQ(view.List()->model()->rowCount(), 1);
        Take(query);
        EXPECT_EQ(Result(), U(str::kFindEmptyAlternative));
        EXPECT_FALSE(Query().styleSheet().isEmpty()) << "red";
        EXPECT_EQ(view.List()->model()->rowCount(), 5);
    }
}

} // namespace
} // namespace rw::test
