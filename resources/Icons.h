#pragma once

// The program's icons, drawn by resources/icons/make_icons.py.

#include <QIcon>

namespace rw {

// Icon 128: the program's picture (the about box shows it), 16 and 32 pixels.
[[nodiscard]] QIcon ProgramIcon();
// Icon 131: the main window's and the about box's title-bar icon, 16 pixels.
[[nodiscard]] QIcon WindowIcon();

} // namespace rw
