#include "data/BulkChange.h"

#include <algorithm>
#include <limits>

namespace rw {

std::optional<std::int32_t> BulkChangedValue(const BulkChange& change, std::int32_t now)
{
    RationalResult wanted;
    switch (change.operation) {
    case BulkOperation::Set: wanted.value = change.value; break;
    case BulkOperation::Add: wanted.value = std::int64_t{now} + change.value; break;
    case BulkOperation::Multiply: wanted = Multiply(now, change.factor); break;
    // Divided, not multiplied by a rounded inverse: 7 / 2 is 3.5 and so 4.
    case BulkOperation::Divide: wanted = Divide(now, change.factor); break;
    }
    if (!wanted.Ok()) return std::nullopt;
    const Int128 rounded = RoundedHalfAwayFromZero(wanted.value);
    if (rounded < std::numeric_limits<std::int32_t>::min() || rounded > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

std::vector<std::size_t> MembersSharingIds(const UniqueIds& held, const IdBatch::Rewrites& rewrites,
                                           std::span<const std::int32_t> ids)
{
    std::vector<std::size_t> members;
    IdBatch batch(held, rewrites);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const std::uint32_t taken = batch.Claim(ids[i], static_cast<std::uint32_t>(i));
        if (taken == IdBatch::kHeldOutside) {
            members.push_back(i);
        } else if (taken != UniqueIds::kNobody) {
            members.insert(members.end(), {std::size_t{taken}, i});
        }
    }
    std::sort(members.begin(), members.end());
    members.erase(std::unique(members.begin(), members.end()), members.end());
    return members;
}

} // namespace rw
