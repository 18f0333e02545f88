#include "view/CellEditor.h"

#include "ui/GbkNameLimit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>
#include <QLineEdit>
#include <QPersistentModelIndex>

namespace rw {
namespace {

constexpr char kCellProperty[] = "cell";

} // namespace

CellEditor::CellEditor(Commit commit, NameLimit nameLimit, AfterEdit afterEdit, QObject* parent)
    : QStyledItemDelegate(parent), m_commit(std::move(commit)), m_nameLimit(std::move(nameLimit)),
      m_afterEdit(std::move(afterEdit))
{
}

void CellEditor::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (!view || view->currentIndex() != index) return;
    // Whole rows are selected, so the cell a paste or an edit goes to needs a mark of its own.
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->setPen(QPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Highlight), 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
    painter->restore();
}

QWidget* CellEditor::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    auto* box = new QLineEdit(parent);
    box->setFrame(false);
    if (const int limit = m_nameLimit(index.column()); limit > 0) new GbkNameLimit(*box, limit);
    // The cell goes with its editor: rows may move while it is open.
    box->setProperty(kCellProperty, QVariant::fromValue(QPersistentModelIndex(index)));
    return box;
}

void CellEditor::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    static_cast<QLineEdit*>(editor)->setText(index.data(Qt::DisplayRole).toString());
}

void CellEditor::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    // The quiet way in: the editor lost the focus, and a text that is no good is dropped.
    (void)m_commit(index, static_cast<QLineEdit*>(editor)->text(), false);
}

bool CellEditor::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                           const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid()) return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = index.data(Qt::DisplayRole).toString();
    const QStyle* style = view ? view->style() : QApplication::style();
    const QRect room = style->subElementRect(QStyle::SE_ItemViewItemText, &item, view);
    // The whole text when it does not fit, and what the model has to say of the cell (the
    // value in the file compared with).
    QString tip = item.fontMetrics.horizontalAdvance(text) > room.width() ? text : QString();
    if (const QString note = index.data(Qt::ToolTipRole).toString(); !note.isEmpty()) {
        tip = tip.isEmpty() ? note : tip + QLatin1Char('\n') + note;
    }
    if (tip.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(event->globalPos(), tip, view, item.rect);
    }
    return true;
}

bool CellEditor::CommitLoudly(QWidget* editor)
{
    auto* box = static_cast<QLineEdit*>(editor);
    m_reporting = true;
    const bool accepted = m_commit(box->property(kCellProperty).value<QPersistentModelIndex>(), box->text(), true);
    m_reporting = false;
    if (!accepted) {
        box->setFocus();
        box->selectAll();
    }
    return accepted;
}

bool CellEditor::eventFilter(QObject* object, QEvent* event)
{
    auto* editor = qobject_cast<QWidget*>(object);
    if (!editor) return QStyledItemDelegate::eventFilter(object, event);
    // A refusal's message box takes the focus for a moment; the editor stays open meanwhile.
    if (m_reporting && (event->type() == QEvent::FocusOut || event->type() == QEvent::Hide)) return false;
    if (event->type() != QEvent::KeyPress) return QStyledItemDelegate::eventFilter(object, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    RecordList::EditMove move = RecordList::EditMove::Down;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: move = RecordList::EditMove::Down; break;
    case Qt::Key_Tab: move = RecordList::EditMove::Next; break;
    case Qt::Key_Backtab: move = RecordList::EditMove::Previous; break;
    default: return QStyledItemDelegate::eventFilter(object, event);
    }
    // Where the cell stood: the edit may take its row out of a filtered list.
    const auto cell = editor->property(kCellProperty).value<QPersistentModelIndex>();
    const int row = cell.row();
    const int column = cell.column();
    if (!CommitLoudly(editor)) return true;
    const bool rowGone = !cell.isValid() || cell.row() != row;
    emit closeEditor(editor, NoHint);
    if (m_afterEdit) m_afterEdit(row, column, rowGone, move);
    return true;
}

} // namespace rw
