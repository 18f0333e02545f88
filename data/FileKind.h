#pragma once

#include <array>
#include <cstdint>

namespace rw {

// The number travels as-is in the commit messages between the edit dialogs and the frame,
// so the values are fixed.
enum class FileKind : std::int8_t { None = -1, Item = 0, Magic = 1, Monster = 2 };

inline constexpr std::array<FileKind, 3> kAllKinds{FileKind::Item, FileKind::Magic, FileKind::Monster};

[[nodiscard]] constexpr bool IsDataKind(FileKind kind)
{
    return kind == FileKind::Item || kind == FileKind::Magic || kind == FileKind::Monster;
}

// For values that arrive as plain integers (commit messages, command-line options).
[[nodiscard]] constexpr FileKind FileKindFromInt(int value)
{
    switch (value) {
    case 0: return FileKind::Item;
    case 1: return FileKind::Magic;
    case 2: return FileKind::Monster;
    default: return FileKind::None;
    }
}

} // namespace rw
