#pragma once

// The program's icons, drawn by resources/icons/make_icons.py.

#include <QIcon>

namespace rw {

// The program's picture (the about box shows it), 16 and 32 pixels: icons/icon128-*.png.
[[nodiscard]] QIcon ProgramIcon();
// The main window's and the about box's title-bar icon, 16 pixels: icons/icon131-16x16.png.
[[nodiscard]] QIcon WindowIcon();

} // namespace rw
