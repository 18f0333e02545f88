#include "data/Record.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace rw {

Record::Record(FileKind kind) : m_kind(kind)
{
    assert(IsDataKind(kind));
}

Record::Record(FileKind kind, std::span<const std::uint8_t> bytes) : Record(kind)
{
    std::copy_n(bytes.begin(), std::min(bytes.size(), Size()), m_bytes.begin());
}

std::int32_t Record::Value(int column) const
{
    assert(Schema().Column(column).IsNumeric());
    return ReadColumnValue(Schema(), m_bytes.data(), column);
}

void Record::SetValue(int column, std::int32_t value)
{
    assert(Schema().Column(column).IsNumeric());
    StoreInt32(m_bytes.data() + Schema().Column(column).offset, value);
}

bool Record::SetName(std::string_view name)
{
    if (name.size() > Schema().nameCapacity) return false;
    WriteShortName(Schema(), m_bytes.data(), name);
    return true;
}

void Record::SetTypedName(std::string_view name)
{
    const RecordSchema& schema = Schema();
    assert(name.size() <= static_cast<std::size_t>(schema.TypedNameCapacity()));
    std::uint8_t* field = m_bytes.data() + schema.nameOffset;
    std::copy(name.begin(), name.end(), field);
    field[name.size()] = 0;
    const auto* zero = static_cast<const std::uint8_t*>(std::memchr(field, 0, name.size() + 1));
    m_bytes[schema.nameLengthOffset] = static_cast<std::uint8_t>(zero - field);
}

} // namespace rw
