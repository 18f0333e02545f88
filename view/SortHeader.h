#pragma once

// The list's column header: reacts to left clicks only and shows the sort arrow (SortArrows.h)
// to the right of the sorted column's title, and the current cell's column by a bold title.

#include <QHeaderView>
#include <QFontMetrics>
#include <QPixmap>

#include <array>
#include <functional>

namespace rw {

class SortHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit SortHeader(QWidget* parent = nullptr);

    // The arrow in column, up for ascending; -1 shows none. A column the table lacks shows none.
    void SetSortArrow(int column, bool ascending);
    [[nodiscard]] int ArrowColumn() const { return m_arrowColumn; }
    [[nodiscard]] bool ArrowAscending() const { return m_ascending; }
    // Where the arrow of column is drawn, in header coordinates (empty when it shows none).
    [[nodiscard]] QRect ArrowRect(int column) const;
    // The current cell's column (-1: none), whose title shows in bold.
    void SetCurrentColumn(int column);
    [[nodiscard]] int CurrentColumn() const { return m_currentColumn; }
    // The width that shows the column's title whole, in bold and with the arrow beside it.
    [[nodiscard]] int FittingWidth(int column) const;
    // What a column's tooltip says.
    void SetToolTips(std::function<QString(int column)> tips) { m_tips = std::move(tips); }

protected:
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;

private:
    // The title's room in a section of that rect, and how wide the title is drawn.
    [[nodiscard]] QRect LabelRect(const QRect& section, int logicalIndex) const;
    [[nodiscard]] QString ShownTitle(const QRect& section, int logicalIndex) const;
    [[nodiscard]] QRect ArrowRectIn(const QRect& section, int logicalIndex) const;
    // The title's font's metrics: bold for the current column.
    [[nodiscard]] QFontMetrics TitleMetrics(int logicalIndex) const;

    std::array<QPixmap, 2> m_arrows; // up, down
    std::function<QString(int)> m_tips;
    int m_arrowColumn = -1;
    int m_currentColumn = -1;
    bool m_ascending = true;
};

} // namespace rw
