#include "data/UniqueIds.h"

#include "data/Schema.h"

#include <utility>

namespace rw {

UniqueIds::UniqueIds(FileKind kind) : m_enforced(IsDataKind(kind) && SchemaOf(kind).uniqueIds) {}

IdBatch::IdBatch(const UniqueIds& held, Rewrites rewrites)
    : m_held(held), m_rewrites(std::move(rewrites)), m_taken(held.Enforced())
{
}

std::uint32_t IdBatch::Claim(std::int32_t id, std::uint32_t member)
{
    if (!m_held.Enforced()) return UniqueIds::kNobody;
    const std::uint32_t holder = m_held.HolderOf(id);
    if (holder != UniqueIds::kNobody && !(m_rewrites && m_rewrites(holder))) return kHeldOutside;
    return m_taken.Claim(id, member);
}

} // namespace rw
