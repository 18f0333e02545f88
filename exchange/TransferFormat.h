#pragma once

// The forms a table leaves the editor in, and comes back from.

#include <cstdint>
#include <string_view>

namespace rw {

enum class TransferFormat : std::uint8_t {
    CsvUtf8Bom, // what spreadsheet programs on Chinese Windows read right
    CsvUtf8,
    CsvGbk,
    Sheet,      // an .xlsx workbook: names as text, numbers as numbers
};

// A name ending in ".xlsx" (any letter case) is a workbook whatever list entry was chosen.
[[nodiscard]] inline bool NamesWorkbook(std::string_view path)
{
    constexpr std::string_view kSuffix = ".xlsx";
    if (path.size() < kSuffix.size()) return false;
    const std::string_view end = path.substr(path.size() - kSuffix.size());
    for (std::size_t i = 0; i < kSuffix.size(); ++i) {
        const char c = end[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != kSuffix[i]) return false;
    }
    return true;
}

} // namespace rw
