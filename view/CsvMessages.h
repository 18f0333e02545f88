#pragma once

// What is wrong where in a CSV or tab-separated text, in the user's words.

#include "csv/RowImporter.h"

#include <QString>

namespace rw {

// "第12行第3列：..." for one problem the importer found.
[[nodiscard]] QString DescribeCsvIssue(const CsvIssue& issue, FileKind kind);

// Every problem kept, a line each, and how many more there were.
[[nodiscard]] QString DescribeCsvErrors(const RowImporter& importer, FileKind kind);

} // namespace rw
