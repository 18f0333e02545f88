#include "text/Utf8NameTranscoder.h"

#include "text/GbkTable.h"

#include <algorithm>

namespace rw {
namespace {

[[nodiscard]] bool IsAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

void Utf8NameTranscoder::AppendText(std::string_view nameBytes, std::string& out) const
{
    if (IsAscii(nameBytes)) {
        out.append(nameBytes);
        return;
    }
    GbkTable::Instance().AppendUtf8(nameBytes, out);
}

bool Utf8NameTranscoder::AppendNameBytes(std::string_view text, std::string& out) const
{
    if (IsAscii(text)) {
        out.append(text);
        return true;
    }
    return GbkTable::Instance().AppendGbkFromUtf8(text, out);
}

} // namespace rw
