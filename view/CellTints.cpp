#include "view/CellTints.h"

#include "data/Schema.h"

#include <QColor>

namespace rw {
namespace {

const QColor kChangedCellColor(255, 236, 153);
const QColor kAddedRowColor(204, 238, 204);
const QColor kAddedMarkColor(0, 150, 0);
const QColor kComparedCellColor(190, 215, 255);

} // namespace

QVariant CellTint(int column, const CellMarks& marks, int role)
{
    const bool idCell = column == kIdColumn;
    if (role == Qt::DecorationRole) return idCell && marks.rowAdded ? QVariant(kAddedMarkColor) : QVariant();
    if (role != Qt::BackgroundRole) return {};
    if (marks.differs) return kComparedCellColor;
    if (marks.changed) return kChangedCellColor;
    if (idCell && marks.rowAdded) return kAddedRowColor;
    return {};
}

} // namespace rw
