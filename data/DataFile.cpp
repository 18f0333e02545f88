#include "data/DataFile.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

namespace rw {
namespace {

constexpr std::size_t kCountBytes = 4;
constexpr std::size_t kWriterPieceBytes = std::size_t{1} << 20;

// More records than the header's count can hold: no file.
[[nodiscard]] bool CountTooLarge(std::size_t count)
{
    return count > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
}

[[nodiscard]] WriteReport NotWrittenCountTooLarge()
{
    return NotWritten(std::make_error_code(std::errc::file_too_large));
}

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

// The records are hashed and deciphered a piece at a time, each piece while it is still in the
// processor's cache after arriving: one pass over memory instead of three.
constexpr std::size_t kPassBytes = std::size_t{256} << 10;

// Hashes bytes as stored, then deciphers them in place.
void HashAndDecipher(ContentHasher& hash, std::uint8_t* bytes, std::size_t n, std::uint8_t key)
{
    hash.Add(bytes, n);
    XorBytes(bytes, n, key);
}

// A monster record 0 reads back with ID 0, since the file has no room for its ID.
void ClearCountInPlaceOfId(FileKind kind, std::span<std::uint8_t> firstRecords)
{
    if (kind == FileKind::Monster && firstRecords.size() >= kCountBytes) std::fill_n(firstRecords.begin(), kCountBytes, 0);
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

// One record as the file stores it, at to: enciphered, and for a monster file's first record
// without its ID, whose place the count takes. Answers how many bytes that is.
std::size_t StoreRecord(std::uint8_t* to, std::span<const std::uint8_t> record, FileKind kind, std::size_t index,
                        std::uint8_t key)
{
    const std::size_t skip = kind == FileKind::Monster && index == 0 ? kCountBytes : 0;
    const std::size_t n = record.size() - skip;
    std::memcpy(to, record.data() + skip, n);
    XorBytes(to, n, key);
    return n;
}

// Builds the stored image of the records one chunk at a time and hands each chunk on.
template <typename Sink>
bool EmitImage(FileKind kind, std::uint8_t key, std::size_t count, const RecordSource& source, Sink&& sink)
{
    const std::size_t size = SchemaOf(kind).recordSize;
    constexpr std::size_t kChunkRecords = 4096;
    std::vector<std::uint8_t> chunk(kCountBytes + kChunkRecords * size);
    StoreInt32(chunk.data(), static_cast<std::int32_t>(count));
    std::size_t used = kCountBytes;
    std::array<std::uint8_t, kMaxRecordSize> record{};
    for (std::size_t i = 0; i < count; ++i) {
        std::fill_n(record.begin(), size, std::uint8_t{0});
        source(i, std::span<std::uint8_t>(record.data(), size));
        used += StoreRecord(chunk.data() + used, {record.data(), size}, kind, i, key);
        if (used >= kChunkRecords * size) {
            if (!sink(std::span<const std::uint8_t>(chunk.data(), used))) return false;
            used = 0;
        }
    }
    return used == 0 || sink(std::span<const std::uint8_t>(chunk.data(), used));
}

} // namespace

FileKind KindFromName(std::string_view bareName)
{
    for (FileKind kind : kAllKinds) {
        if (EqualsIgnoringAsciiCase(bareName, SchemaOf(kind).fileName)) return kind;
    }
    return FileKind::None;
}

namespace {

// The stored bytes of records in a file of that size: what follows the count, or in a monster
// file the whole of it.
[[nodiscard]] std::uint64_t StoredRecordBytes(FileKind kind, std::uint64_t fileSize)
{
    const std::uint64_t offset = RecordsOffset(kind);
    return fileSize > offset ? fileSize - offset : 0;
}

} // namespace

std::size_t WholeRecordCount(const DecodeReport& report, FileKind kind)
{
    return static_cast<std::size_t>(std::min<std::uint64_t>(
        StoredRecordBytes(kind, report.fileSize) / SchemaOf(kind).recordSize, report.recordsPresent));
}

std::uint64_t CutRecordBytes(const DecodeReport& report, FileKind kind)
{
    const std::size_t whole = WholeRecordCount(report, kind);
    if (whole == report.recordsPresent) return 0;
    return StoredRecordBytes(kind, report.fileSize) - std::uint64_t{whole} * SchemaOf(kind).recordSize;
}

std::size_t DecodedRecords::WholeCount() const { return WholeRecordCount(report, kind); }

std::uint64_t DecodedRecords::CutRecordBytes() const { return rw::CutRecordBytes(report, kind); }

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
    out.bytes = PageBuffer(static_cast<std::size_t>(layout.recordBytes));
    ContentHasher hash(layout.count);
    for (std::size_t at = 0; at < delivered; at += kPassBytes) {
        const std::size_t n = std::min(kPassBytes, delivered - at);
        std::memcpy(out.bytes.data() + at, from.data() + at, n);
        HashAndDecipher(hash, out.bytes.data() + at, n, key);
    }
    out.report.contentHash = hash.Finish();
    ClearCountInPlaceOfId(kind, out.bytes);
    return out;
}

DataFileReader::DataFileReader(const std::filesystem::path& path, FileKind kind, std::uint8_t key)
    : m_file(path, InputFile::Accept::RegularFile), m_kind(kind), m_key(key)
{
    m_report.error = m_file.Error();
    if (m_file.IsNotRegularFile()) {
        m_report.failure = LoadFailure::NotRegularFile;
        return;
    }
    if (!m_file.IsOpen()) {
        m_report.failure = LoadFailure::CannotRead;
        return;
    }
    const std::uint64_t fileSize = m_file.Stamp().size;
    m_report.fileSize = fileSize;
    std::uint8_t header[kCountBytes] = {};
    const std::optional<std::size_t> headerBytes = m_file.ReadAt(header, 0);
    if (!headerBytes) {
        m_report.failure = LoadFailure::CannotRead;
        m_report.error = m_file.Error();
        return;
    }
    const Layout layout = LayoutOf(kind, {header, *headerBytes}, fileSize);
    m_report.announcedCount = layout.count;
    if (layout.count <= 0) {
        m_report.failure = LoadFailure::NoRecords;
        return;
    }
    m_report.loaded = true;
    m_report.recordsPresent = layout.present;
    m_report.stamp = m_file.Stamp();
    m_report.trailingBytes = TrailingBytes(kind, layout.count, fileSize);
    m_recordBytes = layout.recordBytes;
    m_hash = ContentHasher(layout.count);
}

std::optional<std::size_t> DataFileReader::ReadRecords(std::span<std::uint8_t> into)
{
    const std::size_t size = SchemaOf(m_kind).recordSize;
    if (!m_report.loaded || m_ended) return 0;
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(into.size() / size * size, m_recordBytes - m_done));
    const bool first = m_done == 0;
    std::size_t got = 0;
    while (got < want) {
        const std::size_t n = std::min(kPassBytes, want - got);
        const std::optional<std::size_t> read = m_file.ReadAt(into.subspan(got, n), RecordsOffset(m_kind) + m_done);
        if (!read) {
            m_report.error = m_file.Error();
            return std::nullopt;
        }
        HashAndDecipher(m_hash, into.data() + got, *read, m_key);
        got += *read;
        m_done += *read;
        if (*read < n) {
            // The file has shrunk since it was opened: the records that arrived are all.
            m_ended = true;
            break;
        }
    }
    if (m_done == m_recordBytes) m_ended = true;
    if (m_ended) Finish();
    const std::size_t records = (got + size - 1) / size;
    std::fill(into.begin() + static_cast<std::ptrdiff_t>(got), into.begin() + static_cast<std::ptrdiff_t>(records * size),
              std::uint8_t{0});
    if (first) ClearCountInPlaceOfId(m_kind, into.first(records * size));
    return records;
}

void DataFileReader::Finish()
{
    m_report.recordsPresent = RecordsPresent(m_kind, m_report.announcedCount, m_done + RecordsOffset(m_kind));
    m_report.contentHash = m_hash.Finish();
}

DecodedRecords ReadDataFile(const std::filesystem::path& path, FileKind kind, std::uint8_t key,
                            std::uint64_t memoryLimit)
{
    DataFileReader reader(path, kind, key);
    DecodedRecords out;
    out.kind = kind;
    out.report = reader.Report();
    if (!out.report.loaded) return out;
    if (reader.RecordBytes() > memoryLimit) {
        return NotLoaded(kind, LoadFailure::TooLarge, out.report.announcedCount, out.report.fileSize);
    }
    try {
        out.bytes = PageBuffer(static_cast<std::size_t>(reader.RecordBytes()));
    } catch (const std::bad_alloc&) {
        return NotLoaded(kind, LoadFailure::TooLarge, out.report.announcedCount, out.report.fileSize);
    }
    const std::optional<std::size_t> got = reader.ReadRecords(out.bytes);
    if (!got) return NotLoaded(kind, LoadFailure::CannotRead, out.report.announcedCount, out.report.fileSize, reader.Report().error);
    out.report = reader.Report();
    out.bytes.resize(out.report.recordsPresent * out.RecordSize());
    return out;
}

void DataFileFingerprinter::Start(std::size_t headerBytes)
{
    const std::int32_t count = CountFromHeader({m_header, headerBytes});
    m_hash.emplace(count);
    m_hashedEnd = RecordsOffset(m_kind) + AnnouncedBytes(m_kind, count);
}

// Of bytes at m_size on, those the header's count announces.
void DataFileFingerprinter::Hash(const std::uint8_t* bytes, std::size_t n)
{
    const std::uint64_t from = std::max<std::uint64_t>(m_size, RecordsOffset(m_kind));
    const std::uint64_t to = std::min<std::uint64_t>(m_size + n, m_hashedEnd);
    if (from < to) m_hash->Add(bytes + (from - m_size), static_cast<std::size_t>(to - from));
    m_size += n;
}

void DataFileFingerprinter::Add(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty()) return;
    // A read hashes no record bytes of a file no longer than its header: the header is held
    // until a byte after it comes.
    if (!m_hash) {
        const std::size_t take = std::min(bytes.size(), static_cast<std::size_t>(kCountBytes - m_size));
        std::copy_n(bytes.begin(), take, m_header + m_size);
        if (take == bytes.size()) {
            m_size += take;
            return;
        }
        Start(kCountBytes);
        m_size = 0;
        Hash(m_header, kCountBytes);
        bytes = bytes.subspan(take);
    }
    Hash(bytes.data(), bytes.size());
}

DataFileFingerprint DataFileFingerprinter::Finish()
{
    if (!m_hash) {
        const std::uint64_t size = m_size;
        Start(static_cast<std::size_t>(size));
        m_size = size;
    }
    return {m_size, m_hash->Finish()};
}

std::optional<DataFileFingerprint> FingerprintDataFile(const std::filesystem::path& path, FileKind kind)
{
    InputFile file(path, InputFile::Accept::RegularFile);
    if (!file.IsOpen()) return std::nullopt;
    DataFileFingerprinter fingerprint(kind);
    std::vector<std::uint8_t> chunk(std::size_t{1} << 20);
    for (std::uint64_t at = 0;;) {
        const std::optional<std::size_t> got = file.ReadAt(chunk, at);
        if (!got) return std::nullopt;
        if (*got == 0) break;
        fingerprint.Add({chunk.data(), *got});
        at += *got;
    }
    return fingerprint.Finish();
}

SinceRead CompareWithRead(const std::filesystem::path& path, FileKind kind, const DataFileFingerprint& read)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error) || std::filesystem::is_directory(path, error)) return SinceRead::Gone;
    const std::optional<DataFileFingerprint> now = FingerprintDataFile(path, kind);
    return now && *now == read ? SinceRead::Same : SinceRead::Changed;
}

std::vector<std::uint8_t> EncodeBytes(FileKind kind, std::uint8_t key, std::size_t count, const RecordSource& source)
{
    std::vector<std::uint8_t> image;
    image.reserve(kCountBytes + count * SchemaOf(kind).recordSize);
    EmitImage(kind, key, count, source, [&](std::span<const std::uint8_t> chunk) {
        image.insert(image.end(), chunk.begin(), chunk.end());
        return true;
    });
    return image;
}

WriteReport EncodeFile(const std::filesystem::path& path, FileKind kind, std::uint8_t key, std::size_t count,
                       const RecordSource& source)
{
    PendingDataFile file(path, kind, key, count, source);
    return file.Commit();
}

PendingDataFile::PendingDataFile(const std::filesystem::path& path, FileKind kind, std::uint8_t key, std::size_t count,
                                 const RecordSource& source)
    : m_file(path)
{
    if (CountTooLarge(count)) {
        m_error = std::make_error_code(std::errc::file_too_large);
        return;
    }
    // The fingerprint a later load of this file would take, so that a save over the open
    // file counts as what was loaded from then on.
    DataFileFingerprinter fingerprint(kind);
    EmitImage(kind, key, count, source, [&](std::span<const std::uint8_t> chunk) {
        fingerprint.Add(chunk);
        return m_file.Write(chunk);
    });
    m_ready = m_file.Flush();
    m_fingerprint = fingerprint.Finish();
}

WriteReport PendingDataFile::Failure() const { return NotWritten(m_error ? m_error : m_file.ErrorCode()); }

WriteReport PendingDataFile::Commit()
{
    if (!std::exchange(m_ready, false) || !m_file.Commit()) return Failure();
    WriteReport written;
    written.written = true;
    written.fingerprint = m_fingerprint;
    return written;
}

WriteReport NotWritten(const std::error_code& error)
{
    WriteReport report;
    report.error = SystemText(error);
    report.code = error;
    return report;
}


StoredRecordPiece::StoredRecordPiece(FileKind kind, std::uint8_t key) : m_kind(kind), m_key(key), m_bytes(kWriterPieceBytes) {}

bool StoredRecordPiece::Full() const { return m_bytes.size() - m_held < SchemaOf(m_kind).recordSize; }

void StoredRecordPiece::Add(std::span<const std::uint8_t> record)
{
    m_held += StoreRecord(m_bytes.data() + m_held, record, m_kind, m_count, m_key);
    ++m_count;
}

std::span<std::uint8_t> StoredRecordPiece::Reserve(std::size_t bytes)
{
    m_held += bytes;
    return {m_bytes.data() + m_held - bytes, bytes};
}

std::size_t StoredRecordPiece::HandOver(PageBuffer& bytes)
{
    std::swap(m_bytes, bytes);
    return std::exchange(m_held, 0);
}

DataFileWriter::DataFileWriter(const std::filesystem::path& path, FileKind kind, std::uint8_t key)
    : m_file(path), m_piece(kind, key), m_writing(kWriterPieceBytes)
{
    (void)m_piece.Reserve(kCountBytes); // the place of the count
    if (SideThread::Worthwhile()) m_side.emplace();
}

void DataFileWriter::Append(std::span<const std::uint8_t> record)
{
    if (m_piece.Full() && !Flush()) return;
    m_piece.Add(record);
}

bool DataFileWriter::Settle()
{
    if (m_side) m_side->Wait();
    return m_written;
}

bool DataFileWriter::Flush()
{
    if (!Settle()) return false;
    const std::size_t held = m_piece.HandOver(m_writing);
    const auto write = [this, held] { m_written = m_file.Write({m_writing.data(), held}); };
    if (!m_side) {
        write();
        return m_written;
    }
    m_side->Start(write);
    return true;
}

WriteReport DataFileWriter::Commit()
{
    if (CountTooLarge(m_piece.Count())) return NotWrittenCountTooLarge();
    std::uint8_t count[kCountBytes];
    StoreInt32(count, static_cast<std::int32_t>(m_piece.Count()));
    if (!Flush() || !Settle() || !m_file.Rewrite(0, count) || !m_file.Commit()) return NotWritten(m_file.ErrorCode());
    WriteReport written;
    written.written = true;
    return written;
}

SpilledDataFile::SpilledDataFile(FileKind kind, std::uint8_t key) : m_piece(kind, key) {}

void SpilledDataFile::Append(std::span<const std::uint8_t> record)
{
    if (m_piece.Full() && !Flush()) return;
    m_piece.Add(record);
}

bool SpilledDataFile::Flush()
{
    const bool written = m_spill.Write(m_piece.Bytes());
    m_piece.Clear();
    return written;
}

bool SpilledDataFile::Emit(const std::function<bool(std::span<const std::uint8_t>)>& sink)
{
    if (!Flush() || CountTooLarge(m_piece.Count())) return false;
    std::uint8_t count[kCountBytes];
    StoreInt32(count, static_cast<std::int32_t>(m_piece.Count()));
    if (!sink(count)) return false;
    std::vector<std::uint8_t> buffer(kWriterPieceBytes);
    for (std::uint64_t at = 0; at < m_spill.Size();) {
        const std::optional<std::size_t> got = m_spill.ReadAt(buffer, at);
        if (!got || *got == 0) return false;
        if (!sink(std::span<const std::uint8_t>(buffer).first(*got))) return false;
        at += *got;
    }
    return true;
}

} // namespace rw
