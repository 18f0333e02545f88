#include "data/UniqueIds.h"

#include "data/Schema.h"

#include <algorithm>
#include <utility>

namespace rw {

bool UniqueIds::AppliesTo(FileKind kind) { return IsDataKind(kind) && SchemaOf(kind).uniqueIds; }

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

IdSequence::IdSequence(FileKind kind) : m_enforced(UniqueIds::AppliesTo(kind)) {}

void IdSequence::Add(std::int32_t id, std::size_t position)
{
    if (m_enforced) m_ids.emplace_back(id, position);
}

std::vector<IdSequence::Repeat> IdSequence::TakeRepeats()
{
    std::vector<Repeat> repeats;
    // Positions rise in the order the IDs came, so a table already in ID order, as most are, is
    // sorted as it stands.
    const auto byId = [](const auto& a, const auto& b) { return a.first < b.first; };
    if (!std::is_sorted(m_ids.begin(), m_ids.end(), byId)) std::stable_sort(m_ids.begin(), m_ids.end(), byId);
    std::size_t first = 0; // where the run of equal IDs began
    for (std::size_t i = 1; i < m_ids.size(); ++i) {
        if (m_ids[i].first != m_ids[first].first) {
            first = i;
            continue;
        }
        repeats.push_back({m_ids[i].first, m_ids[i].second, m_ids[first].second});
    }
    m_ids = {};
    std::sort(repeats.begin(), repeats.end(), [](const Repeat& a, const Repeat& b) { return a.position < b.position; });
    return repeats;
}

} // namespace rw
