#pragma once

// What the user is told about a save: what a save over a file loaded with loss would not
// keep, and why the backup before a save over the opened file could not be made.

#include "data/Backup.h"
#include "data/LoadLoss.h"

#include <QString>

namespace rw {

// The question before such a save, naming each thing lost; path as the user sees it.
[[nodiscard]] QString LossQuestion(const LoadLoss& loss, const QString& path);

// Why the save did not happen; table and backup as the user sees them.
[[nodiscard]] QString BackupFailure(const BackupReport& report, const QString& table, const QString& backup);

} // namespace rw
