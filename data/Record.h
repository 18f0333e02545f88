#pragma once

#include "data/RecordBytes.h"
#include "data/Schema.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace rw {

// One whole record image of its kind's size. Every byte is kept, the hidden ones included, so
// that a record read from a file and written back unchanged is the same to the byte.
class Record {
public:
    explicit Record(FileKind kind); // all zero bytes
    // Copies at most the kind's size from bytes; the rest stays zero.
    Record(FileKind kind, std::span<const std::uint8_t> bytes);

    [[nodiscard]] FileKind Kind() const { return m_kind; }
    [[nodiscard]] const RecordSchema& Schema() const { return SchemaOf(m_kind); }
    [[nodiscard]] std::size_t Size() const { return Schema().recordSize; }
    [[nodiscard]] std::span<const std::uint8_t> Bytes() const { return {m_bytes.data(), Size()}; }
    [[nodiscard]] std::span<std::uint8_t> Bytes() { return {m_bytes.data(), Size()}; }

    [[nodiscard]] std::int32_t Id() const { return LoadInt32(m_bytes.data()); }
    void SetId(std::int32_t id) { StoreInt32(m_bytes.data(), id); }

    // The ID (column 0) or an int32 field (column 2 and on).
    [[nodiscard]] std::int32_t Value(int column) const;
    void SetValue(int column, std::int32_t value);

    // The name's bytes by the read rule (code page 936 text).
    [[nodiscard]] std::string_view Name() const { return ReadShortName(Schema(), m_bytes.data()); }
    // The write rule: the field is cleared, the bytes copied to its start and the length byte
    // set to their count. A name longer than the capacity is refused (false, nothing changed).
    bool SetName(std::string_view name);
    // A name typed by a person (at most capacity - 1 bytes, no zero among them): its bytes and
    // one zero at the start of the field, whose bytes after that keep what they held; the
    // length byte counts the bytes before the field's first zero.
    void SetTypedName(std::string_view name);

    friend bool operator==(const Record& a, const Record& b)
    {
        return a.m_kind == b.m_kind && std::equal(a.Bytes().begin(), a.Bytes().end(), b.Bytes().begin());
    }

private:
    FileKind m_kind;
    std::array<std::uint8_t, kMaxRecordSize> m_bytes{};
};

} // namespace rw
