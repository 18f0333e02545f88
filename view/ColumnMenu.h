#pragma once

// The menu that hides and shows the record list's columns (its header's context menu, and
// 查看 ▸ 显示的列): a column's entry toggles it and the menu stays open, so that several are
// hidden or shown in one visit; any other entry closes it as menus do.

#include <QMenu>

namespace rw {

class ColumnMenu : public QMenu {
    Q_OBJECT
public:
    using QMenu::QMenu;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Toggles action when it is a column's entry; false for any other.
    bool Toggle(QAction* action);
};

} // namespace rw
