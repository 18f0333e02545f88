#pragma once

// What the editor keeps of a name a person types, and recwright-cli update of a name a script
// gives: the longest run of whole characters from the start whose GBK bytes fit the field.

#include <cstddef>
#include <string>
#include <string_view>

namespace rw {

struct GbkFitUnits {
    std::u16string text; // the characters kept
    std::string bytes;   // their GBK bytes
};

// Characters without a GBK form (a lone surrogate, a character beyond the basic plane, one
// GBK lacks) are left out; the text stops before the first character that would pass maxBytes.
[[nodiscard]] GbkFitUnits FitGbkUtf16(std::u16string_view text, std::size_t maxBytes);

} // namespace rw
