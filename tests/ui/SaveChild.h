#pragma once

// One save of the editor's in a process of its own: the window test program started again
// with kSaveChildOption PATH HOW opens PATH, deletes its first record and saves over it with
// Ctrl+S (HOW "ctrl-s") or 保存 (HOW "save"), so that a test can send that process a real
// signal, limit its files or write PATH meanwhile. It says every message the editor showed on
// standard error, each on a line after kSaidPrefix, and answers 0 when the table was saved, 1 when not, 2 when PATH did not open.

#include <QString>

namespace rw::test {

inline constexpr char kSaveChildOption[] = "--save-child";
inline constexpr char kSaidPrefix[] = "said: ";

[[nodiscard]] int RunSaveChild(const QString& path, const QString& how);

} // namespace rw::test
