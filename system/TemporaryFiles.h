#pragma once

// The temporary files alive now, for what removes them when the program is ended from
// outside: a signal handler on POSIX, the console control handler (a thread of its own, while
// the program goes on) on Windows. Such a handler may take no lock and allocate nothing, so
// the names lie in fixed storage, and slots are taken and given back with lock-free flags.
// For the platform files only.

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <string_view>
#include <utility>

namespace rw::platform_detail {

// Char: the system's character for names; MaxName: the longest name kept, with its NUL.
template <typename Char, std::size_t MaxName>
class TemporaryFiles {
public:
    static_assert(std::atomic<bool>::is_always_lock_free);

    // Keeps name until Release: the slot, or -1 when the name is too long or every slot is
    // taken (a file the handler then leaves behind; every other way out still removes it).
    [[nodiscard]] int Register(std::basic_string_view<Char> name)
    {
        if (name.size() >= MaxName) return -1;
        for (std::size_t i = 0; i < m_slots.size(); ++i) {
            Slot& slot = m_slots[i];
            bool expected = false;
            if (!slot.taken.compare_exchange_strong(expected, true)) continue;
            std::copy(name.begin(), name.end(), slot.name.begin());
            slot.name[name.size()] = Char{};
            slot.live.store(true, std::memory_order_release);
            return static_cast<int>(i);
        }
        return -1;
    }

    // The file is gone or is the target's now; slot becomes -1.
    void Release(int& slot)
    {
        if (slot < 0) return;
        Slot& taken = m_slots[static_cast<std::size_t>(std::exchange(slot, -1))];
        taken.live.store(false, std::memory_order_release);
        taken.taken.store(false, std::memory_order_release);
    }

    // remove(name) for every file kept now: safe in a signal handler when remove is.
    template <typename Remove>
    void RemoveAll(Remove remove)
    {
        for (Slot& slot : m_slots) {
            if (slot.live.load(std::memory_order_acquire)) remove(slot.name.data());
        }
    }

private:
    struct Slot {
        std::atomic<bool> taken{false};
        std::atomic<bool> live{false};
        std::array<Char, MaxName> name{};
    };
    std::array<Slot, 16> m_slots;
};

} // namespace rw::platform_detail
