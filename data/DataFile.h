#pragma once

// The enciphered data file: a signed 32-bit count, then fixed-size records with every byte
// XORed by the kind's key. In a monster file the count takes the place of record 0's ID.

#include "system/ContentHasher.h"
#include "data/FileKind.h"
#include "system/PageBuffer.h"
#include "system/Platform.h"
#include "data/Record.h"
#include "system/SideThread.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace rw {

// The kind selected by a bare file name, compared whole and without regard to letter case;
// None for any other name, a name with a folder in front included.
[[nodiscard]] FileKind KindFromName(std::string_view bareName);

// Why a file was not loaded.
enum class LoadFailure : std::uint8_t {
    None,
    CannotRead,     // the system refused to open or read it: DecodeReport::error says why
    NotRegularFile, // a folder, a device, a pipe or a socket
    NoRecords,      // the count in its header is zero or less
    TooLarge,       // its records need more memory than the program may use
};

struct DecodeReport {
    bool loaded = false;
    LoadFailure failure = LoadFailure::None;
    std::error_code error;           // the system's reason, for CannotRead
    std::int32_t announcedCount = 0; // the count in the file's header
    std::size_t recordsPresent = 0;  // records of which the file holds at least one byte
    std::uint64_t fileSize = 0;
    FileStamp stamp;                 // of the file read (not for DecodeBytes)
    // Bytes after the last record the count announces: never loaded, so never saved again.
    std::uint64_t trailingBytes = 0;
    // What was read (the header and the records' stored bytes), to tell later whether
    // another program has changed the file: see FingerprintDataFile.
    std::uint64_t contentHash = 0;

    // The header promised more records than the file holds.
    [[nodiscard]] bool Truncated() const
    {
        return loaded && announcedCount > 0 && recordsPresent < static_cast<std::size_t>(announcedCount);
    }
};

// Of the records a file of kind holds a byte of, those it holds whole; and the bytes it holds
// of the record it ends inside, 0 when there is none (a record read whole or as zeros beyond).
[[nodiscard]] std::size_t WholeRecordCount(const DecodeReport& report, FileKind kind);
[[nodiscard]] std::uint64_t CutRecordBytes(const DecodeReport& report, FileKind kind);

// A decoded file's records, deciphered and back to back in file order.
struct DecodedRecords {
    DecodeReport report;
    FileKind kind = FileKind::None;
    PageBuffer bytes; // report.recordsPresent × record size

    [[nodiscard]] std::size_t RecordSize() const { return SchemaOf(kind).recordSize; }
    [[nodiscard]] std::size_t Count() const { return report.recordsPresent; }
    // Of them, those the file holds whole: a file cut short may end inside the last one, whose
    // missing bytes are zeros here.
    [[nodiscard]] std::size_t WholeCount() const;
    // The bytes the file holds of the record it ends inside; 0 when there is none.
    [[nodiscard]] std::uint64_t CutRecordBytes() const;
    [[nodiscard]] std::span<const std::uint8_t> RecordAt(std::size_t i) const
    {
        return std::span<const std::uint8_t>(bytes).subspan(i * RecordSize(), RecordSize());
    }
};

// Decodes a whole file image held in memory.
[[nodiscard]] DecodedRecords DecodeBytes(std::span<const std::uint8_t> file, FileKind kind, std::uint8_t key);

// Reads a data file's records a piece at a time, deciphered, for a pass that need not hold
// them all: memory stays that of the pieces whatever the file's size.
class DataFileReader {
public:
    DataFileReader(const std::filesystem::path& path, FileKind kind, std::uint8_t key);

    // What the file's header and size say, before any record is read: loaded when there are
    // records to read, else why not. Once ReadRecords has reached the end, recordsPresent is
    // what arrived (a file may shrink while it is read) and contentHash is set.
    [[nodiscard]] const DecodeReport& Report() const { return m_report; }
    [[nodiscard]] FileKind Kind() const { return m_kind; }
    // The stored bytes of the records the report announces as present.
    [[nodiscard]] std::uint64_t RecordBytes() const { return m_recordBytes; }

    // Fills into with the next records, as many whole ones as it has room for, and answers
    // how many; 0 at the end. A last record the file holds only part of is filled up with
    // zeros. Empty when the system could not read: Report().error says why.
    [[nodiscard]] std::optional<std::size_t> ReadRecords(std::span<std::uint8_t> into);

private:
    void Finish();

    InputFile m_file;
    FileKind m_kind;
    std::uint8_t m_key;
    DecodeReport m_report;
    std::uint64_t m_recordBytes = 0;
    std::uint64_t m_done = 0; // stored bytes read so far
    bool m_ended = false;
    ContentHasher m_hash{0};
};

// Reads and decodes a file. Only what the file holds is read and allocated, whatever count
// its header announces, and nothing at all when that is more than memoryLimit bytes. Every
// failure comes back as not loaded with its reason; nothing is thrown.
[[nodiscard]] DecodedRecords ReadDataFile(const std::filesystem::path& path, FileKind kind, std::uint8_t key,
                                          std::uint64_t memoryLimit = MemoryLimit());

// What a data file holds now, in the terms of a DecodeReport taken when it was read.
struct DataFileFingerprint {
    std::uint64_t size = 0;
    std::uint64_t contentHash = 0;
    friend bool operator==(const DataFileFingerprint&, const DataFileFingerprint&) = default;
};
[[nodiscard]] inline DataFileFingerprint FingerprintOf(const DecodeReport& report)
{
    return {report.fileSize, report.contentHash};
}
// The fingerprint of a data file's bytes given in order, a piece at a time: the one a read of
// the same bytes takes, for a copy of the file to be checked against what was read.
class DataFileFingerprinter {
public:
    explicit DataFileFingerprinter(FileKind kind) : m_kind(kind) {}
    void Add(std::span<const std::uint8_t> bytes);
    [[nodiscard]] DataFileFingerprint Finish();

private:
    void Start(std::size_t headerBytes);
    void Hash(const std::uint8_t* bytes, std::size_t n);

    FileKind m_kind;
    std::uint8_t m_header[4] = {};
    std::optional<ContentHasher> m_hash; // once more than the header has come
    std::uint64_t m_size = 0;
    std::uint64_t m_hashedEnd = 0; // where the bytes the header's count announces end
};
// Reads the file again, in pieces, without keeping it; empty when it cannot be read.
[[nodiscard]] std::optional<DataFileFingerprint> FingerprintDataFile(const std::filesystem::path& path, FileKind kind);

// What stands under a name now, against what a read of it found.
enum class SinceRead : std::uint8_t {
    Same,
    // Another program has written it since (changed, grown or shrunk, or replaced by another
    // file), or it can no longer be read, and so nothing says it has not.
    Changed,
    // Nothing stands there, or a folder does: no records that a save would lose.
    Gone,
};
// The one rule by which a save over a file it read tells that another program has written the
// file meanwhile: the editor's save, which asks first, and recwright-cli update, which refuses.
[[nodiscard]] SinceRead CompareWithRead(const std::filesystem::path& path, FileKind kind, const DataFileFingerprint& read);

// Fills record i; the span arrives zeroed and has the kind's size.
using RecordSource = std::function<void(std::size_t index, std::span<std::uint8_t> record)>;

struct WriteReport {
    bool written = false;
    std::string error;               // the system's reason when not written
    std::error_code code;            // the same reason, for words of the program's own
    DataFileFingerprint fingerprint; // of what was written
};
// A write that failed for error.
[[nodiscard]] WriteReport NotWritten(const std::error_code& error);

// The file image for count records.
[[nodiscard]] std::vector<std::uint8_t> EncodeBytes(FileKind kind, std::uint8_t key, std::size_t count,
                                                    const RecordSource& source);

// Writes a temporary file beside the target, flushes it to disk and renames it over the
// target, so the previous file survives any failure intact.
WriteReport EncodeFile(const std::filesystem::path& path, FileKind kind, std::uint8_t key, std::size_t count,
                       const RecordSource& source);

// A data file written whole beside its target and flushed to disk, which takes the target's
// place only at Commit: so that a writer can make sure of everything else first (that the
// target still holds what it read, that its report went out) and replace the target last.
// Dropped without a Commit, it leaves the target as it was and nothing behind.
class PendingDataFile {
public:
    PendingDataFile(const std::filesystem::path& path, FileKind kind, std::uint8_t key, std::size_t count,
                    const RecordSource& source);
    PendingDataFile(const PendingDataFile&) = delete;
    PendingDataFile& operator=(const PendingDataFile&) = delete;

    // Written and flushed; when not, Failure() says why.
    [[nodiscard]] bool Ready() const { return m_ready; }
    [[nodiscard]] WriteReport Failure() const;
    // Puts it in the target's place; once.
    [[nodiscard]] WriteReport Commit();

private:
    AtomicFile m_file;
    std::error_code m_error; // other than the file's own
    bool m_ready = false;
    DataFileFingerprint m_fingerprint;
};

// Records as a data file stores them (enciphered; a monster file's first one without its ID),
// gathered into a piece of about a megabyte for a writer to hand on whole.
class StoredRecordPiece {
public:
    StoredRecordPiece(FileKind kind, std::uint8_t key);

    // Whether another record has no room: the piece is to be handed on and cleared first.
    [[nodiscard]] bool Full() const;
    // record: one record image of the kind's size.
    void Add(std::span<const std::uint8_t> record);
    [[nodiscard]] std::span<const std::uint8_t> Bytes() const { return {m_bytes.data(), m_held}; }
    // Empties the piece; the records added so far stay counted.
    void Clear() { m_held = 0; }
    // Swaps the piece's bytes for the buffer bytes (a buffer of the same size) and answers how
    // many it holds, for a writer to write them while the piece fills again, empty; the
    // records added so far stay counted.
    [[nodiscard]] std::size_t HandOver(PageBuffer& bytes);
    // Keeps room for bytes at the start of the piece, written into it by the caller.
    [[nodiscard]] std::span<std::uint8_t> Reserve(std::size_t bytes);
    [[nodiscard]] std::size_t Count() const { return m_count; }

private:
    FileKind m_kind;
    std::uint8_t m_key;
    PageBuffer m_bytes;
    std::size_t m_held = 0;
    std::size_t m_count = 0;
};

// Writes a data file a record at a time, for an import that need not hold them all: the
// count, known only at the end, goes last into the place kept for it. Replaces the target as
// EncodeFile does, and not at all unless committed.
class DataFileWriter {
public:
    DataFileWriter(const std::filesystem::path& path, FileKind kind, std::uint8_t key);

    // The target can be written this way: a device or a pipe cannot take a count at the end.
    [[nodiscard]] bool CanWrite() const { return m_file.Ok() && m_file.CanRewrite(); }
    // record: one record image of the kind's size.
    void Append(std::span<const std::uint8_t> record);
    [[nodiscard]] std::size_t Count() const { return m_piece.Count(); }
    // Writes the count and puts the file in place; no fingerprint, which only a table that
    // stays open needs.
    [[nodiscard]] WriteReport Commit();

private:
    // Hands the piece on to be written, on the side thread where there is one, so that the
    // next piece is made meanwhile; false once a piece could not be written.
    bool Flush();
    // Waits for the piece being written; false once a piece could not be written.
    bool Settle();

    AtomicFile m_file;
    StoredRecordPiece m_piece;
    PageBuffer m_writing; // the piece being written
    bool m_written = true;
    // Last, so that it waits for the piece being written before anything it uses goes.
    std::optional<SideThread> m_side;
};

// A data file made a record at a time for an output that must have the count first and cannot
// be written over afterwards (standard output, a pipe, a device): the stored records wait in a
// SpillFile until all have come, then the whole file goes out, count first. Memory stays that
// of a piece, whatever the table's size.
class SpilledDataFile {
public:
    SpilledDataFile(FileKind kind, std::uint8_t key);

    // The spill file could be made, and has taken every record so far.
    [[nodiscard]] bool Ok() const { return m_spill.Ok(); }
    [[nodiscard]] std::string Error() const { return m_spill.Error(); }
    // record: one record image of the kind's size.
    void Append(std::span<const std::uint8_t> record);
    [[nodiscard]] std::size_t Count() const { return m_piece.Count(); }
    // The whole file to sink, a piece at a time, count first. False when the spill file failed
    // (Error() says why) or the sink refused a piece.
    [[nodiscard]] bool Emit(const std::function<bool(std::span<const std::uint8_t>)>& sink);

private:
    bool Flush();

    SpillFile m_spill;
    StoredRecordPiece m_piece;
};

} // namespace rw
