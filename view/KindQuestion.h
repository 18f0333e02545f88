#pragma once

// Which kind of table a file holds, asked of the user: the three kinds with their keys, the
// kind the file's name says offered first.

#include "data/FileKind.h"
#include "data/KeySet.h"

#include <QString>

#include <optional>

class QWidget;

namespace rw {

class Prompter;

[[nodiscard]] std::optional<FileKind> AskFileKind(Prompter& prompter, QWidget* owner, const KeySet& keys,
                                                  const QString& path);

// "物品（stditem.dat）" and the like.
[[nodiscard]] QString KindWord(FileKind kind);

} // namespace rw
