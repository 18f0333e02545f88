// Sorting by a click on a column header, and the arrow that shows it.

#include "view/SortHeader.h"
#include "tests/ui/UiTestSupport.h"

#include <QStyle>
#include <QTest>

namespace rw::test {
namespace {

constexpr QRgb kDarkGreen = qRgb(0, 128, 0);
constexpr QRgb kLightGreen = qRgb(0, 255, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kMagenta = qRgb(255, 0, 255);

class SortHeaderTest : public FrameFixture {
protected:
    SortHeader& header = *view.List()->Header();

    void Click(int column, Qt::MouseButton button = Qt::LeftButton)
    {
        const int x = header.sectionViewportPosition(column) + header.sectionSize(column) / 2;
        QTest::mouseClick(header.viewport(), button, {}, QPoint(x, header.height() / 2));
    }
    [[nodiscard]] QImage Shot() const { return header.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    [[nodiscard]] int LightGreenIn(const QImage& shot, int column) const
    {
        int count = 0;
        const int left = header.sectionViewportPosition(column);
        for (int x = left; x < left + header.sectionSize(column) && x < shot.width(); ++x) {
            for (int y = 0; y < shot.height(); ++y) count += shot.pixel(x, y) == kLightGreen;
        }
        return count;
    }
    // The sort arrow's picture at its place: rows widen from the apex, dark green on the
    // left, white on the right and at the apex, light green between, nothing magenta around.
    void ExpectArrow(int column, bool ascending)
    {
        const QImage shot = Shot();
        const QRect at = header.ArrowRect(column);
        ASSERT_EQ(at.size(), QSize(9, 5));
        const int left = header.sectionViewportPosition(column);
        const QString title = Model().headerData(column, Qt::Horizontal).toString();
        // After the title, where the title fits beside it; a wider font (Windows') cuts it short instead.
        const int titleWidth = header.fontMetrics().horizontalAdvance(title);
        constexpr int kGap = 6; // between title and arrow
        if (titleWidth + kGap + at.width() <= header.sectionSize(column) - 2 * header.style()->pixelMetric(QStyle::PM_HeaderMargin)) {
            EXPECT_GE(at.left(), left + titleWidth);
        }
        EXPECT_LT(at.right(), left + header.sectionSize(column));
        for (int row = 0; row < 5; ++row) {
            const int y = at.top() + (ascending ? row : 4 - row);
            const int first = at.left() + 4 - row, last = at.left() + 4 + row;
            EXPECT_EQ(shot.pixel(last, y), kWhite) << row;
            if (row > 0) {
                EXPECT_EQ(shot.pixel(first, y), kDarkGreen) << row;
            }
            for (int x = first + 1; x < last; ++x) EXPECT_EQ(shot.pixel(x, y), kLightGreen) << row;
            if (row < 4) {
                EXPECT_NE(shot.pixel(first - 1, y), kMagenta) << row;
            }
        }
        for (int c = 0; c < Model().columnCount(); ++c) {
            if (c != column) {
                EXPECT_EQ(LightGreenIn(shot, c), 0) << c;
            }
        }
    }
};

// The first selected row stays on its record (the model's test follows every selected and
// current cell through sorts); a load takes the arrow away.
TEST_F(SortHeaderTest, LeftClicksSortAndMoveTheArrowOtherButtonsChangeNothing)
{
    Open({.ids = {10, 9, 100, -1}});
    frame.show();
    EXPECT_EQ(header.ArrowColumn(), -1);
    Select({1, 2}); // 9 and 100
    view.List()->selectionModel()->setCurrentIndex(Model().index(2, 0), QItemSelectionModel::NoUpdate);
    struct Step { int column; Qt::MouseButton button; int arrowColumn; bool ascending; std::vector<std::int32_t> ids; };
    const Step steps[] = {
        {kIdColumn, Qt::LeftButton, kIdColumn, true, {-1, 9, 10, 100}},
        {kIdColumn, Qt::LeftButton, kIdColumn, false, {100, 10, 9, -1}},
        {kIdColumn, Qt::RightButton, kIdColumn, false, {100, 10, 9, -1}},
        {kNameColumn, Qt::MiddleButton, kIdColumn, false, {100, 10, 9, -1}},
        {kNameColumn, Qt::LeftButton, kNameColumn, true, {-1, 10, 100, 9}}, // "N-1" < "N10" < "N100" < "N9"
        {kIdColumn, Qt::LeftButton, kIdColumn, true, {-1, 9, 10, 100}},
    };
    for (const Step& step : steps) {
        Click(step.column, step.button);
        EXPECT_EQ(header.ArrowColumn(), step.arrowColumn);
        EXPECT_EQ(header.ArrowAscending(), step.ascending);
        EXPECT_EQ(Ids(), step.ids);
        ExpectArrow(step.arrowColumn, step.ascending);
        EXPECT_EQ(RowOfId(SelectedIds().at(0)), std::min(RowOfId(9), RowOfId(100)));
    }

    // A load removes the arrow but keeps the column and direction for the next click.
    prompter.answers = {Answer::Discard};
    Open({.kind = FileKind::Magic, .ids = {5, 4, 6}});
    EXPECT_EQ(header.ArrowColumn(), -1);
    const QImage shot = Shot();
    for (int c = 0; c < Model().columnCount(); ++c) EXPECT_EQ(LightGreenIn(shot, c), 0) << c;
    Click(kIdColumn);
    ExpectArrow(kIdColumn, false);
    EXPECT_EQ(Ids(), (std::vector<std::int32_t>{6, 5, 4}));
}

} // namespace
} // namespace rw::test
