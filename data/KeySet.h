#pragma once

#include "data/FileKind.h"
#include "data/Schema.h"

#include <array>
#include <cassert>
#include <cstdint>

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

} // namespace rw
