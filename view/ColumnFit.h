#pragma once

// How wide a column of the record list must be to show its title and every value of the table
// whole: a number is never cut to "2147483…". Linear in the rows; a name is measured among the
// longest few, a number by the most digits any row's value has.

#include "table/RecordTable.h"

namespace rw {

class RecordList;

[[nodiscard]] int FittingColumnWidth(const RecordList& list, const RecordTable& table, int column);

} // namespace rw
