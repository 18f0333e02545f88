#pragma once

// The enciphered data file: a signed 32-bit count, then fixed-size records with every byte
// XORed by the kind's key. In a monster file the count takes the place of record 0's ID.

#include "data/FileKind.h"
#include "data/Record.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

// The kind selected by a bare file name, compared whole and without regard to letter case;
// None for any other name, a name with a folder in front included.
[[nodiscard]] FileKind KindFromName(std::string_view bareName);

struct DecodeReport {
    bool loaded = false;
    std::int32_t announcedCount = 0; // the count in the file's header
    std::size_t recordsPresent = 0;  // records of which the file holds at least one byte
    std::string error;               // why it was not loaded, when the system said

    // The header promised more records than the file holds.
    [[nodiscard]] bool Truncated() const
    {
        return loaded && announcedCount > 0 && recordsPresent < static_cast<std::size_t>(announcedCount);
    }
};

// A decoded file's records, deciphered and back to back in file order.
struct DecodedRecords {
    DecodeReport report;
    FileKind kind = FileKind::None;
    std::vector<std::uint8_t> bytes; // report.recordsPresent × record size

    [[nodiscard]] std::size_t RecordSize() const { return SchemaOf(kind).recordSize; }
    [[nodiscard]] std::size_t Count() const { return report.recordsPresent; }
    [[nodiscard]] std::span<const std::uint8_t> RecordAt(std::size_t i) const
    {
        return std::span<const std::uint8_t>(bytes).subspan(i * RecordSize(), RecordSize());
    }
};

// Decodes a whole file image held in memory.
[[nodiscard]] DecodedRecords DecodeBytes(std::span<const std::uint8_t> file, FileKind kind, std::uint8_t key);

// Reads and decodes a file. Only what the file holds is read and allocated, whatever count
// its header announces. Every failure (cannot open, not a regular file, read error, count of
// zero or less) comes back as not loaded; nothing is thrown.
[[nodiscard]] DecodedRecords ReadDataFile(const std::filesystem::path& path, FileKind kind, std::uint8_t key);

// The same, handing each record in file order to a consumer.
using RecordConsumer = std::function<void(const Record&)>;
DecodeReport DecodeFile(const std::filesystem::path& path, FileKind kind, std::uint8_t key,
                        const RecordConsumer& consumer);

// Fills record i; the span arrives zeroed and has the kind's size.
using RecordSource = std::function<void(std::size_t index, std::span<std::uint8_t> record)>;

struct WriteReport {
    bool written = false;
    std::string error; // the system's reason when not written
};

// The file image for count records.
[[nodiscard]] std::vector<std::uint8_t> EncodeBytes(FileKind kind, std::uint8_t key, std::size_t count,
                                                    const RecordSource& source);

// Writes a temporary file beside the target, flushes it to disk and renames it over the
// target, so the previous file survives any failure intact.
WriteReport EncodeFile(const std::filesystem::path& path, FileKind kind, std::uint8_t key, std::size_t count,
                       const RecordSource& source);

} // namespace rw
