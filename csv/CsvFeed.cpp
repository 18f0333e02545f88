#include "csv/CsvFeed.h"

#include "system/SideThread.h"

#include <array>
#include <cassert>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace rw {
namespace {

// Reads of this size keep a progress bar moving and a cancel prompt, at no cost in speed.
constexpr std::size_t kReadBytes = std::size_t{1} << 20;
// Room before each read for the part of a row the importer leaves untaken, always less than a
// row may be, so that it and the read that follows it are one text.
constexpr std::size_t kRoom = CsvTokenizer::kMaxRowBytes;

} // namespace

FeedResult FeedCsv(InputFile& input, bool skipBom, RowImporter& importer,
                   const std::function<bool(std::uint64_t bytesRead)>& keepGoing)
{
    // Two buffers: while the importer takes the text in one, the next piece is read into the
    // other on a second thread, so that reading costs the importer no time.
    std::array<std::vector<char>, 2> buffers{std::vector<char>(kRoom + kReadBytes), std::vector<char>(kRoom + kReadBytes)};
    std::optional<SideThread> reader;
    if (SideThread::Worthwhile()) reader.emplace();
    const auto readInto = [&](std::vector<char>& buffer) { return input.Read({buffer.data() + kRoom, kReadBytes}); };

    std::size_t current = 0;
    std::size_t held = 0; // at the end of the room
    std::uint64_t total = 0;
    bool first = true;
    std::optional<std::size_t> got = readInto(buffers[current]);
    while (!importer.Finished()) {
        if (!got) return FeedResult::ReadFailed;
        total += *got;
        const bool atEnd = *got == 0;
        if (!atEnd && keepGoing && !keepGoing(total)) return FeedResult::Cancelled;
        std::vector<char>& buffer = buffers[current];
        std::vector<char>& other = buffers[1 - current];
        std::optional<std::size_t> next;
        std::optional<SideThread::Waiting> reading;
        if (!atEnd && reader) {
            reader->Start([&] { next = readInto(other); });
            reading.emplace(*reader);
        }

        const std::string_view text(buffer.data() + kRoom - held, held + *got);
        std::size_t used = 0;
        if (first && text.size() < kUtf8ByteOrderMark.size() && !atEnd) {
            // Too little yet to tell whether it starts with a byte order mark.
        } else {
            std::size_t bom = 0;
            if (std::exchange(first, false) && skipBom && text.starts_with(kUtf8ByteOrderMark)) bom = kUtf8ByteOrderMark.size();
            used = bom + importer.Consume(text.substr(bom), atEnd);
        }
        if (atEnd || importer.Finished()) break;
        if (reading) {
            reading->Wait();
        } else {
            next = readInto(other);
        }
        held = text.size() - used;
        assert(held < kRoom); // the importer leaves less than a row
        std::memcpy(other.data() + kRoom - held, text.data() + used, held);
        got = next;
        current = 1 - current;
    }
    return FeedResult::Done;
}

} // namespace rw
