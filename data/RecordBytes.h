#pragma once

// Access to a record image in place: the table keeps a million records in one block and
// reads them through these without copying them into Record objects.

#include "data/Schema.h"

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

namespace rw {

// Little-endian whatever the host.
[[nodiscard]] inline std::int32_t LoadInt32(const std::uint8_t* p)
{
    const std::uint32_t u = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
                            (std::uint32_t{p[3]} << 24);
    return static_cast<std::int32_t>(u);
}

inline void StoreInt32(std::uint8_t* p, std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    p[0] = static_cast<std::uint8_t>(u);
    p[1] = static_cast<std::uint8_t>(u >> 8);
    p[2] = static_cast<std::uint8_t>(u >> 16);
    p[3] = static_cast<std::uint8_t>(u >> 24);
}

// The name by the read rule: the bytes up to the first zero or the end of the field, then at
// most as many as the length byte says. Never reaches past the field.
[[nodiscard]] inline std::string_view ReadShortName(const RecordSchema& schema, const std::uint8_t* record)
{
    const auto* field = reinterpret_cast<const char*>(record + schema.nameOffset);
    const void* zero = std::memchr(field, 0, schema.nameCapacity);
    std::size_t taken = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - field) : schema.nameCapacity;
    const std::size_t announced = record[schema.nameLengthOffset];
    if (announced < taken) taken = announced;
    return {field, taken};
}

// The write rule: the field is cleared, the name's bytes copied to its start and the length
// byte set to their count. Precondition: name.size() <= schema.nameCapacity.
inline void WriteShortName(const RecordSchema& schema, std::uint8_t* record, std::string_view name)
{
    std::uint8_t* field = record + schema.nameOffset;
    std::memset(field, 0, schema.nameCapacity);
    if (!name.empty()) std::memcpy(field, name.data(), name.size());
    record[schema.nameLengthOffset] = static_cast<std::uint8_t>(name.size());
}

// ID or int32 field of column k (k != 1).
[[nodiscard]] inline std::int32_t ReadColumnValue(const RecordSchema& schema, const std::uint8_t* record, int column)
{
    return LoadInt32(record + schema.Column(column).offset);
}

} // namespace rw
