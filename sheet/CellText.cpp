#include "sheet/CellText.h"

#include "sheet/SheetLimits.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace rw {
namespace {

[[nodiscard]] int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The code point of "_xHHHH_" at text[at], or -1.
[[nodiscard]] long EscapeAt(std::string_view text, std::size_t at)
{
    if (at + 7 > text.size() || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_') return -1;
    long value = 0;
    for (std::size_t i = at + 2; i < at + 6; ++i) {
        const int digit = HexValue(text[i]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

void AppendUtf8(unsigned long code, std::string& out)
{
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

void AppendEscape(unsigned long code, std::string& out)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out.append("_x");
    for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kDigits[(code >> shift) & 0xF]);
    out.push_back('_');
}

} // namespace

std::optional<CellReference> ParseCellReference(std::string_view reference)
{
    CellReference cell;
    std::size_t i = 0;
    for (; i < reference.size() && reference[i] >= 'A' && reference[i] <= 'Z'; ++i) {
        cell.column = cell.column * 26 + static_cast<std::uint32_t>(reference[i] - 'A' + 1);
        if (cell.column > sheet_limits::kMaxColumns) return std::nullopt;
    }
    if (i == 0 || i == reference.size()) return std::nullopt;
    for (; i < reference.size(); ++i) {
        if (reference[i] < '0' || reference[i] > '9') return std::nullopt;
        cell.row = cell.row * 10 + static_cast<std::uint64_t>(reference[i] - '0');
        if (cell.row > sheet_limits::kMaxRows) return std::nullopt;
    }
    if (cell.row == 0) return std::nullopt;
    return cell;
}

std::string_view WholeNumberText(std::string_view value, std::string& scratch)
{
    double number = 0;
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, number);
    if (error != std::errc() || stop != end || !std::isfinite(number) || number != std::trunc(number)) return value;
    // Beyond 2^63 no double is an ID or a field anyway: left as written, it is refused.
    if (std::fabs(number) >= 9.2e18) return value;
    char digits[24];
    char* last = std::to_chars(digits, digits + sizeof digits, static_cast<long long>(number)).ptr; // -0 too gives "0"
    scratch.assign(digits, last);
    return scratch;
}

void AppendCellEscaped(std::string_view text, std::string& out)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 && c != '\t' && c != '\n') {
            AppendEscape(c, out);
        } else if (c == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBF &&
                   static_cast<unsigned char>(text[i + 2]) >= 0xBE) {
            AppendEscape(0xFFFE + (static_cast<unsigned char>(text[i + 2]) - 0xBE), out); // U+FFFE, U+FFFF
            i += 2;
        } else if (c == '_' && EscapeAt(text, i) >= 0) {
            out.append("_x005F_");
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
}

void AppendCellUnescaped(std::string_view text, std::string& out)
{
    std::size_t from = 0;
    for (std::size_t at = text.find("_x"); at != std::string_view::npos; at = text.find("_x", at)) {
        const long code = EscapeAt(text, at);
        // Lone surrogates have no UTF-8 form: such an escape stays as it is.
        if (code < 0 || (code >= 0xD800 && code <= 0xDFFF)) {
            ++at;
            continue;
        }
        out.append(text.substr(from, at - from));
        AppendUtf8(static_cast<unsigned long>(code), out);
        at += 7;
        from = at;
    }
    out.append(text.substr(from));
}

bool MayHoldEscapes(std::string_view text) { return text.find("_x") != std::string_view::npos; }

} // namespace rw
