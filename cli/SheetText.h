#pragma once

#include "sheet/SheetResult.h"

#include <string>

namespace rw {

// The message for a worksheet that could not be written or read, starting with its name.
[[nodiscard]] std::string DescribeSheetFailure(const std::string& file, const SheetResult& result);

} // namespace rw
