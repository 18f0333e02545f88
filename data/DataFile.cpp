#include "data/DataFile.h"

#include "data/AtomicFile.h"
#include "data/UniqueFd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <system_error>

namespace rw {
namespace {

constexpr std::size_t kCountBytes = 4;

[[nodiscard]] std::string SystemReason(int err) { return std::generic_category().message(err); }

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
    if (fileSize <= kCountBytes) return 0;
    const std::uint64_t stored = fileSize - RecordsOffset(kind);
    const std::uint64_t present = (stored + size - 1) / size;
    return static_cast<std::size_t>(std::min<std::uint64_t>(present, static_cast<std::uint64_t>(count)));
}

[[nodiscard]] std::int32_t CountFromHeader(std::span<const std::uint8_t> header)
{
    std::uint8_t bytes[kCountBytes] = {};
    std::copy_n(header.begin(), std::min(header.size(), kCountBytes), bytes);
    return LoadInt32(bytes);
}

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

// Deciphers the delivered bytes in place; the bytes past them stay zero. A monster record 0
// reads back with ID 0 since the file has no room for its ID.
void Decipher(DecodedRecords& out, std::size_t delivered, std::uint8_t key)
{
    XorBytes(out.bytes.data(), delivered, key);
    if (out.kind == FileKind::Monster && !out.bytes.empty()) std::fill_n(out.bytes.begin(), kCountBytes, 0);
}

// Reads up to n bytes at offset; answers how many arrived, or -1 with errno set.
[[nodiscard]] long long ReadAt(int fd, std::uint8_t* into, std::size_t n, std::uint64_t offset)
{
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(fd, into + done, n - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<long long>(done);
}

DecodedRecords NotLoaded(FileKind kind, std::int32_t count, std::string error)
{
    DecodedRecords out;
    out.kind = kind;
    out.report.announcedCount = count;
    out.report.error = std::move(error);
    return out;
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
    const std::int32_t count = CountFromHeader(file);
    if (count <= 0) return NotLoaded(kind, count, {});
    DecodedRecords out;
    out.kind = kind;
    out.report = {true, count, RecordsPresent(kind, count, file.size()), {}};
    const std::size_t total = out.report.recordsPresent * out.RecordSize();
    const auto from = file.subspan(std::min(file.size(), RecordsOffset(kind)));
    const std::size_t delivered = std::min(from.size(), total);
    // Copied, not zeroed first and then copied over: one pass fewer over the records.
    out.bytes.reserve(total);
    out.bytes.assign(from.begin(), from.begin() + static_cast<std::ptrdiff_t>(delivered));
    out.bytes.resize(total);
    Decipher(out, delivered, key);
    return out;
}

DecodedRecords ReadDataFile(const std::filesystem::path& path, FileKind kind, std::uint8_t key)
{
    // Non-blocking, so that naming a pipe cannot hang the program in open().
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.Valid()) return NotLoaded(kind, 0, SystemReason(errno));
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) return NotLoaded(kind, 0, SystemReason(errno));
    if (S_ISDIR(st.st_mode)) return NotLoaded(kind, 0, SystemReason(EISDIR));
    if (!S_ISREG(st.st_mode)) return NotLoaded(kind, 0, "not a regular file");

    std::uint8_t header[kCountBytes] = {};
    const long long headerBytes = ReadAt(fd.Get(), header, kCountBytes, 0);
    if (headerBytes < 0) return NotLoaded(kind, 0, SystemReason(errno));
    const std::int32_t count = CountFromHeader({header, static_cast<std::size_t>(headerBytes)});
    if (count <= 0) return NotLoaded(kind, count, {});

    DecodedRecords out;
    out.kind = kind;
    out.report = {true, count, RecordsPresent(kind, count, static_cast<std::uint64_t>(st.st_size)), {}};
    out.bytes.resize(out.report.recordsPresent * out.RecordSize());
    const long long delivered = ReadAt(fd.Get(), out.bytes.data(), out.bytes.size(), RecordsOffset(kind));
    if (delivered < 0) return NotLoaded(kind, count, SystemReason(errno));
    // The file may have shrunk since fstat: keep only the records that arrived.
    const auto got = static_cast<std::size_t>(delivered);
    out.report.recordsPresent = RecordsPresent(kind, count, got + RecordsOffset(kind));
    out.bytes.resize(out.report.recordsPresent * out.RecordSize());
    Decipher(out, std::min(got, out.bytes.size()), key);
    return out;
}

DecodeReport DecodeFile(const std::filesystem::path& path, FileKind kind, std::uint8_t key,
                        const RecordConsumer& consumer)
{
    DecodedRecords decoded = ReadDataFile(path, kind, key);
    for (std::size_t i = 0; i < decoded.Count(); ++i) consumer(Record(kind, decoded.RecordAt(i)));
    return decoded.report;
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
        return {false, SystemReason(EFBIG)};
    }
    AtomicFile file(path);
    EmitImage(kind, key, count, source, [&](const std::vector<std::uint8_t>& chunk) { return file.Write(chunk); });
    if (!file.Commit()) return {false, file.Error()};
    return {true, {}};
}

} // namespace rw
