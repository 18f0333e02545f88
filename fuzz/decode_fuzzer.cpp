// The decoder over any bytes: first byte the kind, second the key, the rest the file.

#include "fuzz/FuzzCheck.h"
#include "data/DataFile.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace rw;
    if (size < 2) return 0;
    const FileKind kind = FileKindFromInt(data[0] % 3);
    const std::uint8_t key = data[1];
    const std::span<const std::uint8_t> file(data + 2, size - 2);

    const DecodedRecords decoded = DecodeBytes(file, kind, key);
    if (!decoded.report.loaded) {
        Require(decoded.Count() == 0 && decoded.bytes.empty() && decoded.report.announcedCount <= 0);
        return 0;
    }
    const std::size_t recordSize = SchemaOf(kind).recordSize;
    Require(decoded.report.announcedCount > 0);
    Require(decoded.Count() <= static_cast<std::size_t>(decoded.report.announcedCount));
    Require(decoded.bytes.size() == decoded.Count() * recordSize);
    Require(decoded.Count() * recordSize <= file.size() + recordSize);
    if (kind == FileKind::Monster && decoded.Count() > 0) Require(LoadInt32(decoded.RecordAt(0).data()) == 0);

    // Encoding the records again and decoding that gives the same records; a file that held
    // exactly its count's records comes back byte for byte.
    const std::vector<std::uint8_t> image = EncodeBytes(kind, key, decoded.Count(), [&](std::size_t i, std::span<std::uint8_t> r) {
        const auto from = decoded.RecordAt(i);
        std::copy(from.begin(), from.end(), r.begin());
    });
    const DecodedRecords again = DecodeBytes(image, kind, key);
    Require(again.Count() == decoded.Count() && again.bytes == decoded.bytes);
    const std::size_t exact = decoded.Count() * recordSize + (kind == FileKind::Monster ? 0 : 4);
    if (!decoded.report.Truncated() && file.size() == exact) Require(std::equal(image.begin(), image.end(), file.begin(), file.end()));
    return 0;
}
