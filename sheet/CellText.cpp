#include "sheet/CellText.h"

#include "sheet/SheetLimits.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace rw {
namespace {

constexpr long kMaxExponent = 400;
constexpr std::size_t kMaxWholeDigits = 19;

[[nodiscard]] bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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
    // Decided on the decimal text itself, not on a double: "2.00000000000000001" is no whole
    // number, though the double nearest to it is 2.
    std::size_t i = 0;
    const bool negative = i < value.size() && value[i] == '-';
    if (negative) ++i;
    std::string_view whole;    // the digits before the point
    std::string_view fraction; // and after it
    const std::size_t wholeFrom = i;
    while (i < value.size() && IsDigit(value[i])) ++i;
    whole = value.substr(wholeFrom, i - wholeFrom);
    if (i < value.size() && value[i] == '.') {
        const std::size_t fractionFrom = ++i;
        while (i < value.size() && IsDigit(value[i])) ++i;
        fraction = value.substr(fractionFrom, i - fractionFrom);
    }
    if (whole.empty() && fraction.empty()) return value;
    long exponent = 0;
    if (i < value.size() && (value[i] == 'E' || value[i] == 'e')) {
        ++i;
        const bool below = i < value.size() && value[i] == '-';
        if (i < value.size() && (value[i] == '-' || value[i] == '+')) ++i;
        if (i == value.size()) return value;
        for (; i < value.size() && IsDigit(value[i]); ++i) {
            exponent = exponent * 10 + (value[i] - '0');
            // Far past any whole number of 64 bits, and past every double: left as written.
            if (exponent > kMaxExponent) return value;
        }
        if (below) exponent = -exponent;
    }
    if (i != value.size()) return value;

    // The digits with the point moved by the exponent: those left of it make the number, and
    // every one right of it must be a zero.
    std::string digits(whole);
    digits.append(fraction);
    const long point = static_cast<long>(whole.size()) + exponent;
    for (long k = std::max(point, 0L); k < static_cast<long>(digits.size()); ++k) {
        if (digits[static_cast<std::size_t>(k)] != '0') return value;
    }
    std::string integer;
    for (long k = 0; k < point; ++k) {
        integer.push_back(k < static_cast<long>(digits.size()) ? digits[static_cast<std::size_t>(k)] : '0');
    }
    const std::size_t first = integer.find_first_not_of('0');
    if (first == std::string::npos) {
        scratch = "0"; // -0 too
        return scratch;
    }
    // Beyond 64 bits no number is an ID or a field anyway: left as written, it is refused.
    if (integer.size() - first > kMaxWholeDigits) return value;
    scratch.assign(negative ? "-" : "");
    scratch.append(integer, first);
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
