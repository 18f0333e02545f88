#pragma once

// The rule that an item or monster table holds each ID once, the first record to give an ID
// keeping it; a magic table may repeat IDs. Every path that gives records IDs asks here: a
// load, a put, a column written over many rows, rows pasted or taken over, a CSV or worksheet
// read in, and recwright-cli's count of repeated IDs. UniqueIds keeps the IDs held and who
// holds each; IdBatch gives IDs to many records at once against them; IdSequence checks the
// IDs of records read one after another once all have come.

#include "data/FileKind.h"
#include "data/IdIndex.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace rw {

class UniqueIds {
public:
    // No one: a free ID, or a claim that went through.
    static constexpr std::uint32_t kNobody = IdIndex::kNone;

    // The rule holds for a kind whose records the file holds each under an ID of its own;
    // for the others every claim goes through and nothing is kept.
    explicit UniqueIds(FileKind kind) : m_enforced(AppliesTo(kind)) {}
    // Whether a kind's records hold each ID once.
    [[nodiscard]] static bool AppliesTo(FileKind kind);

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

    // Claims the IDs of owners 0 to count - 1 in that order (idOf(owner)), as a file's
    // records are loaded: kept(owner) for each that may hold its ID, which is every one where
    // the rule does not hold, and refused(owner) for each whose ID an earlier one holds.
    template <typename IdOf, typename Kept, typename Refused>
    void ClaimInOrder(std::uint32_t count, IdOf idOf, Kept kept, Refused refused)
    {
        if (!m_enforced) {
            for (std::uint32_t owner = 0; owner < count; ++owner) kept(owner);
            return;
        }
        m_index.Reserve(count);
        // IDs in no order send every claim to another part of the index: the places of the
        // IDs a little ahead are fetched while this one goes in.
        constexpr std::uint32_t kAhead = 16;
        for (std::uint32_t owner = 0; owner < count; ++owner) {
            if (owner + kAhead < count) m_index.Prefetch(idOf(owner + kAhead));
            if (m_index.Insert(idOf(owner), owner) == kNobody) {
                kept(owner);
            } else {
                refused(owner);
            }
        }
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

// The IDs of records read one after another (a CSV's or a worksheet's rows), checked once all
// have come: a record giving an ID that an earlier one gave repeats that one. One sort of
// them all costs less than an index whose every claim lands anywhere in memory, which is what
// a stream of a million rows would pay, having no IDs ahead to fetch.
class IdSequence {
public:
    // Nothing is kept where the rule does not hold.
    explicit IdSequence(FileKind kind);

    // position: where the record stands (a line), rising from one record to the next.
    void Add(std::int32_t id, std::size_t position);

    struct Repeat {
        std::int32_t id = 0;
        std::size_t position = 0;
        std::size_t first = 0; // where the record that gave the ID first stands
    };
    // Every repeat, in the order of position; the IDs added are dropped.
    [[nodiscard]] std::vector<Repeat> TakeRepeats();

private:
    bool m_enforced;
    std::vector<std::pair<std::int32_t, std::size_t>> m_ids; // ID, position
};

} // namespace rw
