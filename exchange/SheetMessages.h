#pragma once

// Why a workbook could not be written or read, in the user's words.

#include "sheet/SheetResult.h"

#include <QString>

namespace rw {

[[nodiscard]] QString SheetFailureText(const SheetResult& result);

} // namespace rw
