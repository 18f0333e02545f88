#include "cli/JsonText.h"

#include "text/Utf8NameTranscoder.h"

#include <charconv>

namespace rw {
namespace {

void AppendHex(std::string& out, const char* prefix, unsigned value, int digits)
{
    constexpr char kHex[] = "0123456789abcdef";
    out.append(prefix);
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out.push_back(kHex[(value >> shift) & 0xF]);
}

} // namespace

void AppendJsonString(std::string& out, std::string_view text)
{
    out.push_back('"');
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '"' || byte == '\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(byte));
            ++i;
            continue;
        }
        if (byte < 0x20 || byte == 0x7F) {
            AppendHex(out, "\\u", byte, 4);
            ++i;
            continue;
        }
        const std::size_t size = Utf8CharacterSize(text.substr(i));
        if (size == 0) {
            AppendHex(out, "\\\\x", byte, 2);
            ++i;
        } else if (size == 2 && byte == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            AppendHex(out, "\\u", static_cast<unsigned char>(text[i + 1]), 4);
            i += 2;
        } else {
            out.append(text.substr(i, size));
            i += size;
        }
    }
    out.push_back('"');
}

void AppendJsonKey(std::string& out, std::string_view key, bool first)
{
    if (!first) out.push_back(',');
    out.push_back('"');
    out.append(key);
    out.append("\":");
}

void AppendJsonNumber(std::string& out, long long value)
{
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void AppendJsonBool(std::string& out, bool value) { out.append(value ? "true" : "false"); }

} // namespace rw
