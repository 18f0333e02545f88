#include "data/DataFile.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>

namespace rw {
namespace {

constexpr std::size_t kCountBytes = 4;

[[nodiscard]] bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

// Where the stored bytes of record 0 begin in the file. A monster file's count stands in the
// place of record 0's ID, so its records start at offset 0 and the count is their first bytes.
[[nodiscard]] std::size_t RecordsOffset(FileKind kind) { return kind == FileKind::Monster ? 0 : kCountBytes; }

// Records of which the file holds at least one byte of their own (a monster record 0 whose
// only bytes are the count holds none).
[[nodiscard]] std::size_t RecordsPresent(FileKind kind, std::int32_t count, std::uint64_t fileSize)
{
    const std::uint64_t size = SchemaOf(kind).recordSize;
    if (fileSize <= kCountBytes || count <= 0) return 0;
    const std::uint64_t stored = fileSize - RecordsOffset(kind);
    const std::uint64_t present = (stored + size - 1) / size;
    return static_cast<std::size_t>(std::min<std::uint64_t>(present, static_cast<std::uint64_t>(count)));
}

// The stored bytes that belong to the records the count announces.
[[nodiscard]] std::uint64_t AnnouncedBytes(FileKind kind, std::int32_t count)
{
    return count <= 0 ? 0 : static_cast<std::uint64_t>(count) * SchemaOf(kind).recordSize;
}

[[nodiscard]] std::uint64_t TrailingBytes(FileKind kind, std::int32_t count, std::uint64_t fileSize)
{
    const std::uint64_t end = RecordsOffset(kind) + AnnouncedBytes(kind, count);
    return fileSize > end && count > 0 ? fileSize - end : 0;
}

[[nodiscard]] std::int32_t CountFromHeader(std::span<const std::uint8_t> header)
{
    std::uint8_t bytes[kCountBytes] = {};
    std::copy_n(header.begin(), std::min(header.size(), kCountBytes), bytes);
    return LoadInt32(bytes);
}

// A 64-bit hash of the stored bytes, over four lanes of eight bytes so that it keeps up with
// the memory: it only has to tell whether a file has changed since it was read.
class ContentHasher {
public:
    explicit ContentHasher(std::int32_t count)
        : m_lanes{kPrime1 + kPrime2, kPrime2, static_cast<std::uint64_t>(static_cast<std::uint32_t>(count)), kPrime1}
    {
    }

    // Bytes in any pieces; the result depends only on their sequence.
    void Add(const std::uint8_t* bytes, std::size_t n)
    {
        if (n == 0) return; // bytes may be null then, and memcpy must not see it
        m_total += n;
        if (m_held > 0) {
            const std::size_t take = std::min(n, kBlock - m_held);
            std::memcpy(m_pending + m_held, bytes, take);
            m_held += take;
            bytes += take;
            n -= take;
            if (m_held < kBlock) return;
            Block(m_pending);
            m_held = 0;
        }
        for (; n >= kBlock; bytes += kBlock, n -= kBlock) Block(bytes);
        std::memcpy(m_pending, bytes, n);
        m_held = n;
    }

    [[nodiscard]] std::uint64_t Finish() const
    {
        std::uint64_t h = m_total * kPrime1;
        for (const std::uint64_t lane : m_lanes) h = Round(h, lane);
        for (std::size_t i = 0; i < m_held; ++i) h = Round(h, m_pending[i]);
        h ^= h >> 33;
        h *= kPrime2;
        return h ^ (h >> 29);
    }

private:
    static constexpr std::size_t kBlock = 32;
    static constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
    static constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;

    [[nodiscard]] static std::uint64_t Round(std::uint64_t lane, std::uint64_t word)
    {
        return std::rotl(lane + word * kPrime2, 31) * kPrime1;
    }
    void Block(const std::uint8_t* bytes)
    {
        for (std::size_t lane = 0; lane < 4; ++lane) {
            std::uint64_t word;
            std::memcpy(&word, bytes + 8 * lane, 8);
            m_lanes[lane] = Round(m_lanes[lane], word);
        }
    }

    std::uint64_t m_lanes[4];
    std::uint8_t m_pending[kBlock] = {};
    std::size_t m_held = 0;
    std::uint64_t m_total = 0;
};

// Eight bytes at a time: a million-record file is 184 MB of this.
void XorBytes(std::uint8_t* bytes, std::size_t n, std::uint8_t key)
{
    const std::uint64_t wide = 0x0101010101010101ull * key;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, 8);
        word ^= wide;
        std::memcpy(bytes + i, &word, 8);
    }
    for (; i < n; ++i) bytes[i] ^= key;
}

// Hashes the delivered bytes as stored, then deciphers them in place; the bytes past them
// stay zero. A monster record 0 reads back with ID 0 since the file has no room for its ID.
void Decipher(DecodedRecords& out, std::size_t delivered, std::uint8_t key)
{
    ContentHasher hash(out.report.announcedCount);
    hash.Add(out.bytes.data(), delivered);
    out.report.contentHash = hash.Finish();
    XorBytes(out.bytes.data(), delivered, key);
    if (out.kind == FileKind::Monster && !out.bytes.empty()) std::fill_n(out.bytes.begin(), kCountBytes, 0);
}

DecodedRecords NotLoaded(FileKind kind, LoadFailure failure, std::int32_t count = 0, std::uint64_t fileSize = 0,
                         std::error_code error = {})
{
    DecodedRecords out;
    out.kind = kind;
    out.report.failure = failure;
    out.report.announcedCount = count;
    out.report.fileSize = fileSize;
    out.report.error = error;
    return out;
}

// The header and what follows it up to the records' stored bytes, as a load finds them.
struct Layout {
    std::int32_t count = 0;
    std::size_t present = 0;
    std::uint64_t recordBytes = 0; // present × record size
};

[[nodiscard]] Layout LayoutOf(FileKind kind, std::span<const std::uint8_t> header, std::uint64_t fileSize)
{
    Layout layout;
    layout.count = CountFromHeader(header);
    layout.present = RecordsPresent(kind, layout.count, fileSize);
    layout.recordBytes = static_cast<std::uint64_t>(layout.present) * SchemaOf(kind).recordSize;
    return layout;
}

// Builds the stored image of the records one chunk at a time and hands each chunk on.
template <typename Sink>
bool EmitImage(FileKind kind, std::uint8_t key, std::size_t count, const RecordSource& source, Sink&& sink)
{
    const std::size_t size = SchemaOf(kind).recordSize;
    constexpr std::size_t kChunkRecords = 4096;
    std::vector<std::uint8_t> chunk;
    chunk.reserve(kCountBytes + kChunkRecords * size);
    std::uint8_t header[kCountBytes];
    StoreInt32(header, static_cast<std::int32_t>(count));
    chunk.insert(chunk.end(), header, header + kCountBytes);
    std::array<std::uint8_t, kMaxRecordSize> record{};
    for (std::size_t i = 0; i < count; ++i) {
        std::fill_n(record.begin(), size, std::uint8_t{0});
        source(i, std::span<std::uint8_t>(record.data(), size));
        XorBytes(record.data(), size, key);
        const std::size_t skip = (kind == FileKind::Monster && i == 0) ? kCountBytes : 0;
        chunk.insert(chunk.end(), record.begin() + static_cast<std::ptrdiff_t>(skip),
                     record.begin() + static_cast<std::ptrdiff_t>(size));
        if (chunk.size() >= kChunkRecords * size) {
            if (!sink(chunk)) return false;
            chunk.clear();
        }
    }
    return chunk.empty() || sink(chunk);
}

} // namespace

FileKind KindFromName(std::string_view bareName)
{
    for (FileKind kind : kAllKinds) {
        if (EqualsIgnoringAsciiCase(bareName, SchemaOf(kind).fileName)) return kind;
    }
    return FileKind::None;
}

DecodedRecords DecodeBytes(std::span<const std::uint8_t> file, FileKind kind, std::uint8_t key)
{
    const Layout layout = LayoutOf(kind, file, file.size());
    if (layout.count <= 0) return NotLoaded(kind, LoadFailure::NoRecords, layout.count, file.size());
    DecodedRecords out;
    out.kind = kind;
    out.report.loaded = true;
    out.report.announcedCount = layout.count;
    out.report.recordsPresent = layout.present;
    out.report.fileSize = file.size();
    out.report.trailingBytes = TrailingBytes(kind, layout.count, file.size());
    const auto from = file.subspan(std::min(file.size(), RecordsOffset(kind)));
    const std::size_t delivered = std::min<std::size_t>(from.size(), layout.recordBytes);
    // Copied, not zeroed first and then copied over: one pass fewer over the records.
    out.bytes.reserve(layout.recordBytes);
    out.bytes.assign(from.begin(), from.begin() + static_cast<std::ptrdiff_t>(delivered));
    out.bytes.resize(layout.recordBytes);
    Decipher(out, delivered, key);
    return out;
}

DecodedRecords ReadDataFile(const std::filesystem::path& path, FileKind kind, std::uint8_t key,
                            std::uint64_t memoryLimit)
{
    InputFile file(path, InputFile::Accept::RegularFile);
    if (file.IsNotRegularFile()) return NotLoaded(kind, LoadFailure::NotRegularFile);
    if (!file.IsOpen()) return NotLoaded(kind, LoadFailure::CannotRead, 0, 0, file.Error());
    const std::uint64_t fileSize = file.Stamp().size;

    std::uint8_t header[kCountBytes] = {};
    const std::optional<std::size_t> headerBytes = file.ReadAt(header, 0);
    if (!headerBytes) return NotLoaded(kind, LoadFailure::CannotRead, 0, fileSize, file.Error());
    const Layout layout = LayoutOf(kind, {header, *headerBytes}, fileSize);
    if (layout.count <= 0) return NotLoaded(kind, LoadFailure::NoRecords, layout.count, fileSize);
    if (layout.recordBytes > memoryLimit) return NotLoaded(kind, LoadFailure::TooLarge, layout.count, fileSize);

    DecodedRecords out;
    out.kind = kind;
    out.report.loaded = true;
    out.report.announcedCount = layout.count;
    out.report.fileSize = fileSize;
    out.report.stamp = file.Stamp();
    out.report.trailingBytes = TrailingBytes(kind, layout.count, fileSize);
    try {
        out.bytes.resize(static_cast<std::size_t>(layout.recordBytes));
    } catch (const std::bad_alloc&) {
        return NotLoaded(kind, LoadFailure::TooLarge, layout.count, fileSize);
    }
    const std::optional<std::size_t> got = file.ReadAt(out.bytes, RecordsOffset(kind));
    if (!got) return NotLoaded(kind, LoadFailure::CannotRead, layout.count, fileSize, file.Error());
    // The file may have shrunk since it was opened: keep only the records that arrived.
    out.report.recordsPresent = RecordsPresent(kind, layout.count, *got + RecordsOffset(kind));
    out.bytes.resize(out.report.recordsPresent * out.RecordSize());
    Decipher(out, std::min(*got, out.bytes.size()), key);
    return out;
}

std::optional<DataFileFingerprint> FingerprintDataFile(const std::filesystem::path& path, FileKind kind)
{
    InputFile file(path, InputFile::Accept::RegularFile);
    if (!file.IsOpen()) return std::nullopt;
    std::uint8_t header[kCountBytes] = {};
    const std::optional<std::size_t> headerBytes = file.ReadAt(header, 0);
    if (!headerBytes) return std::nullopt;
    const Layout layout = LayoutOf(kind, {header, *headerBytes}, file.Stamp().size);
    ContentHasher hash(layout.count);
    std::vector<std::uint8_t> chunk(std::size_t{1} << 20);
    for (std::uint64_t at = 0; at < layout.recordBytes;) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), layout.recordBytes - at));
        const std::optional<std::size_t> got = file.ReadAt({chunk.data(), want}, RecordsOffset(kind) + at);
        if (!got) return std::nullopt;
        hash.Add(chunk.data(), *got);
        if (*got < want) break;
        at += *got;
    }
    return DataFileFingerprint{file.Stamp().size, hash.Finish()};
}

std::vector<std::uint8_t> EncodeBytes(FileKind kind, std::uint8_t key, std::size_t count, const RecordSource& source)
{
    std::vector<std::uint8_t> image;
    image.reserve(kCountBytes + count * SchemaOf(kind).recordSize);
    EmitImage(kind, key, count, source, [&](const std::vector<std::uint8_t>& chunk) {
        image.insert(image.end(), chunk.begin(), chunk.end());
        return true;
    });
    return image;
}

WriteReport EncodeFile(const std::filesystem::path& path, FileKind kind, std::uint8_t key, std::size_t count,
                       const RecordSource& source)
{
    if (count > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        return {false, std::make_error_code(std::errc::file_too_large).message(), {}};
    }
    AtomicFile file(path);
    // The fingerprint a later load of this file would take, so that a save over the open
    // file counts as what was loaded from then on.
    ContentHasher hash(static_cast<std::int32_t>(count));
    std::uint64_t size = 0;
    EmitImage(kind, key, count, source, [&](const std::vector<std::uint8_t>& chunk) {
        const std::size_t skip = size == 0 ? std::min(chunk.size(), RecordsOffset(kind)) : 0;
        hash.Add(chunk.data() + skip, chunk.size() - skip);
        size += chunk.size();
        return file.Write(chunk);
    });
    if (!file.Commit()) return {false, file.Error(), {}};
    return {true, {}, {size, hash.Finish()}};
}

WriteReport BackUpFile(const std::filesystem::path& file, const std::filesystem::path& copy)
{
    InputFile from(file, InputFile::Accept::RegularFile);
    if (!from.IsOpen() && from.Error() == std::errc::no_such_file_or_directory) return {true, {}, {}};
    if (!from.IsOpen()) {
        const std::error_code error = from.IsNotRegularFile() ? std::make_error_code(std::errc::invalid_argument) : from.Error();
        return {false, SystemText(error), {}};
    }
    AtomicFile to(copy);
    std::vector<std::uint8_t> chunk(std::size_t{1} << 20);
    for (std::uint64_t at = 0;;) {
        const std::optional<std::size_t> got = from.ReadAt(chunk, at);
        if (!got) return {false, SystemText(from.Error()), {}};
        if (*got == 0) break;
        if (!to.Write(std::span<const std::uint8_t>(chunk.data(), *got))) break;
        at += *got;
    }
    if (!to.Commit()) return {false, to.Error(), {}};
    return {true, {}, {}};
}

} // namespace rw
