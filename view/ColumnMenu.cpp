#include "view/ColumnMenu.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace rw {

bool ColumnMenu::Toggle(QAction* action)
{
    if (action == nullptr || !action->isCheckable() || !action->isEnabled()) return false;
    action->trigger();
    return true;
}

void ColumnMenu::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && Toggle(actionAt(event->position().toPoint()))) return;
    QMenu::mouseReleaseEvent(event);
}

void ColumnMenu::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) && Toggle(activeAction())) return;
    QMenu::keyPressEvent(event);
}

} // namespace rw
