#pragma once

// The list's colours. Cells changed since the file was loaded or saved are tinted; an added
// row's ID cell too, and marked. Cells that differ from the file compared with have a tint
// of their own, which outranks the others while it shows.

#include "table/RecordTableModel.h"

#include <QVariant>

namespace rw {

// A cell's BackgroundRole or DecorationRole (a CellColouring of the model); none for others.
[[nodiscard]] QVariant CellTint(int column, const CellMarks& marks, int role);

} // namespace rw
