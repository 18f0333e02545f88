#pragma once

// The rule that an item or monster table holds each ID once; a magic table may repeat IDs.
// Every path that gives records IDs asks here: a load, a put, a column written over many
// rows, rows pasted or taken over, a CSV or worksheet read in. UniqueIds keeps the IDs held
// and who holds each; IdBatch gives IDs to many records at once against them.

#include "data/FileKind.h"
#include "data/IdIndex.h"

#include <cstddef>
#include <cstdint>
#include <functional>

namespace rw {

class UniqueIds {
public:
    // No one: a free ID, or a claim that went through.
    static constexpr std::uint32_t kNobody = IdIndex::kNone;

    // The rule holds for a kind whose records the file holds each under an ID of its own;
    // for the others every claim goes through and nothing is kept.
    explicit UniqueIds(FileKind kind);

    [[nodiscard]] bool Enforced() const { return m_enforced; }
    // Who holds id: kNobody when no one does, or the rule does not hold.
    [[nodiscard]] std::uint32_t HolderOf(std::int32_t id) const { return m_enforced ? m_index.Find(id) : kNobody; }
    // Whether another than owner holds id. kNobody as owner: a record that holds nothing yet.
    [[nodiscard]] bool Refuses(std::int32_t id, std::uint32_t owner) const
    {
        const std::uint32_t holder = HolderOf(id);
        return holder != kNobody && holder != owner;
    }
    // owner takes id unless another holds it already: answers that one, nothing changed, or
    // kNobody when id is owner's now. owner: anything but kNobody.
    std::uint32_t Claim(std::int32_t id, std::uint32_t owner) { return m_enforced ? m_index.Insert(id, owner) : kNobody; }
    // id is held by no one from now on.
    void Release(std::int32_t id)
    {
        if (m_enforced) m_index.Erase(id);
    }

    // Room for count IDs without growing.
    void Reserve(std::size_t count)
    {
        if (m_enforced) m_index.Reserve(count);
    }
    // A claim of id a little later will find its place fetched already.
    void Prefetch(std::int32_t id) const
    {
        if (m_enforced) m_index.Prefetch(id);
    }
    [[nodiscard]] std::size_t Size() const { return m_index.Size(); }

private:
    friend class IdBatch;
    explicit UniqueIds(bool enforced) : m_enforced(enforced) {}

    bool m_enforced;
    IdIndex m_index;
};

// IDs given to many records at once (a column written over rows, rows pasted or taken over),
// against those a table holds: an ID is refused when a record the batch leaves alone holds
// it, or when an earlier record of the batch took it.
class IdBatch {
public:
    // A record outside the batch holds the ID.
    static constexpr std::uint32_t kHeldOutside = UniqueIds::kNobody - 1;
    // Whether the batch writes over the record of held that holds an ID now, so that the ID
    // is free for the batch; none: the batch writes new records only.
    using Rewrites = std::function<bool(std::uint32_t holder)>;

    // held outlives the batch and does not change while it lasts.
    explicit IdBatch(const UniqueIds& held, Rewrites rewrites = nullptr);

    // The member-th record of the batch (counted from 0) takes id: kNobody when it may,
    // kHeldOutside, or the earlier member that took it.
    std::uint32_t Claim(std::int32_t id, std::uint32_t member);

private:
    const UniqueIds& m_held;
    Rewrites m_rewrites;
    UniqueIds m_taken;
};

} // namespace rw
