#pragma once

#include "data/DecimalText.h"
#include "data/FileKind.h"
#include "data/Schema.h"

#include <array>
#include <cassert>
#include <cstdint>
#include <optional>
#include <string_view>

namespace rw {

// The three one-byte XOR keys, held in the order magic, monster, item.
struct KeySet {
    std::array<std::uint8_t, 3> keys{kMagicSchema.initialKey, kMonsterSchema.initialKey, kItemSchema.initialKey};

    [[nodiscard]] std::uint8_t For(FileKind kind) const { return keys[Slot(kind)]; }
    void Set(FileKind kind, std::uint8_t key) { keys[Slot(kind)] = key; }

    friend bool operator==(const KeySet&, const KeySet&) = default;

private:
    [[nodiscard]] static std::size_t Slot(FileKind kind)
    {
        assert(IsDataKind(kind));
        switch (kind) {
        case FileKind::Magic: return 0;
        case FileKind::Monster: return 1;
        default: return 2;
        }
    }
};

// A key as a person or a command line gives it: a whole number from 0 to 255, blanks or tabs
// around it allowed.
[[nodiscard]] inline std::optional<std::uint8_t> ParseKey(std::string_view text)
{
    const std::optional<std::int32_t> value = ParseStrictInt32(text);
    if (!value || *value < 0 || *value > 255) return std::nullopt;
    return static_cast<std::uint8_t>(*value);
}

} // namespace rw
