#include "table/RowKeys.h"

#include <algorithm>

namespace rw {
namespace {

// The one count; kNoRowKey is never drawn. It would take four billion records loaded or
// added in one run before a key came round again.
RowKey g_nextKey = 0;

RowKey DrawKeys(std::uint32_t count)
{
    if (std::uint64_t{g_nextKey} + count >= kNoRowKey) g_nextKey = 0;
    const RowKey first = g_nextKey;
    g_nextKey += count;
    return first;
}

} // namespace

void RowKeys::Reset(std::uint32_t count)
{
    m_runs.assign(1, Run{DrawKeys(count), 0});
    m_slots = count;
}

void RowKeys::Add()
{
    if (m_runs.empty()) Reset(0);
    const Run& last = m_runs.back();
    if (last.firstKey + (m_slots - last.firstSlot) != g_nextKey) m_runs.push_back(Run{g_nextKey, m_slots});
    DrawKeys(1);
    ++m_slots;
}

RowKey RowKeys::KeyOfSlot(std::uint32_t slot) const
{
    if (slot >= m_slots) return kNoRowKey;
    const auto run = std::upper_bound(m_runs.begin(), m_runs.end(), slot,
                                      [](std::uint32_t s, const Run& r) { return s < r.firstSlot; }) - 1;
    return run->firstKey + (slot - run->firstSlot);
}

std::uint32_t RowKeys::SlotOfKey(RowKey key) const
{
    // Runs are in slot order; their keys rise too, except across a wrap of the count, so
    // each run is tried (a table has one or a few).
    for (std::size_t i = 0; i < m_runs.size(); ++i) {
        const std::uint32_t end = i + 1 < m_runs.size() ? m_runs[i + 1].firstSlot : m_slots;
        const Run& run = m_runs[i];
        if (key >= run.firstKey && key - run.firstKey < end - run.firstSlot) return run.firstSlot + (key - run.firstKey);
    }
    return kNoSlot;
}

} // namespace rw
