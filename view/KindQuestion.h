#pragma once

// Which kind of table a file holds, asked of the user: the three kinds with their keys, the
// kind the file's name says offered first.

#include "data/FileKind.h"
#include "data/KeySet.h"
#include "data/KindFit.h"

#include <QString>

#include <optional>

class QWidget;

namespace rw {

class Prompter;

// For a file that is not a data file itself (a CSV or a workbook to import).
[[nodiscard]] std::optional<FileKind> AskFileKind(Prompter& prompter, QWidget* owner, const KeySet& keys,
                                                  const QString& path);

// For a data file whose name tells no kind: each kind is offered with what it would load of
// the file, the kind whose records fit its size proposed. A kind that does not fit is taken
// only after a warning whose default takes none, since its records would be garbage.
[[nodiscard]] std::optional<FileKind> AskDataFileKind(Prompter& prompter, QWidget* owner, const KeySet& keys,
                                                      const QString& path);

// For a file to be loaded as a kind already chosen (a recent file, whose kind was asked when it
// was first opened): at once while the kind fits it, else after the same warning.
[[nodiscard]] bool MayLoadAsKind(Prompter& prompter, QWidget* owner, const QString& path, FileKind kind);

// What a kind would load of a file: "11 条记录，正好", "11 条记录，缺 1,208 字节".
[[nodiscard]] QString FitText(const KindFit& fit);

// "物品（stditem.dat）" and the like.
[[nodiscard]] QString KindWord(FileKind kind);
// "物品" and the like.
[[nodiscard]] QString KindShortWord(FileKind kind);

} // namespace rw
