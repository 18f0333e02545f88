#pragma once

// How the 编辑 menu names the steps of the edit history: "撤销 修改 Price".

#include "table/EditSteps.h"

#include <QString>

namespace rw {

[[nodiscard]] QString StepName(const StepLabel& label, FileKind kind);

} // namespace rw
