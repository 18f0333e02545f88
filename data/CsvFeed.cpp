#include "data/CsvFeed.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <string_view>
#include <vector>

namespace rw {
namespace {

// Room for the part of a row the importer leaves untaken (always less than a row may be)
// and a good read after it.
constexpr std::size_t kBufferBytes = 4 * CsvTokenizer::kMaxRowBytes;
// Reads of this size keep a progress bar moving and a cancel prompt, at no cost in speed.
constexpr std::size_t kReadBytes = std::size_t{1} << 20;

} // namespace

FeedResult FeedCsv(InputFile& input, bool skipBom, CsvImporter& importer,
                   const std::function<bool(std::uint64_t bytesRead)>& keepGoing)
{
    std::vector<char> buffer(kBufferBytes);
    std::size_t held = 0;
    std::uint64_t total = 0;
    bool first = true;
    while (!importer.Finished()) {
        assert(held < buffer.size() - kReadBytes); // the importer leaves less than a row
        const std::optional<std::size_t> got = input.Read({buffer.data() + held, std::min(kReadBytes, buffer.size() - held)});
        if (!got) return FeedResult::ReadFailed;
        held += *got;
        total += *got;
        const bool atEnd = *got == 0;
        if (!atEnd && keepGoing && !keepGoing(total)) return FeedResult::Cancelled;
        std::size_t bom = 0;
        if (first) {
            if (held < kUtf8ByteOrderMark.size() && !atEnd) continue;
            first = false;
            if (skipBom && std::string_view(buffer.data(), held).starts_with(kUtf8ByteOrderMark)) bom = kUtf8ByteOrderMark.size();
        }
        const std::size_t used = bom + importer.Consume({buffer.data() + bom, held - bom}, atEnd);
        if (atEnd) break;
        std::memmove(buffer.data(), buffer.data() + used, held - used);
        held -= used;
    }
    return FeedResult::Done;
}

} // namespace rw
