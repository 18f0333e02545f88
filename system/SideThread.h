#pragma once

// A second thread for one piece of work at a time, beside the caller's own: started, then
// waited for. Made once and kept, so that a piece costs a wake-up rather than a new thread.

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace rw {

class SideThread {
public:
    SideThread();
    SideThread(const SideThread&) = delete;
    SideThread& operator=(const SideThread&) = delete;
    // Waits for a piece still running, then ends the thread.
    ~SideThread();

    // Whether the machine has a second processor for it: on one, the work is better done in turn.
    [[nodiscard]] static bool Worthwhile();

    // Runs work on the thread; the last piece must have been waited for.
    void Start(std::function<void()> work);
    // Waits until the piece has run; what it threw is thrown here.
    void Wait();

    // Waits for the piece started last however the scope it was started in is left, so that
    // the piece never uses what that scope lets go. What the piece threw is thrown by Wait().
    class Waiting {
    public:
        explicit Waiting(SideThread& side) : m_side(side) {}
        Waiting(const Waiting&) = delete;
        Waiting& operator=(const Waiting&) = delete;
        ~Waiting();
        void Wait();

    private:
        SideThread& m_side;
        bool m_waited = false;
    };

private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::function<void()> m_work;
    bool m_busy = false;
    bool m_closing = false;
    std::exception_ptr m_thrown;
    std::thread m_thread;
};

} // namespace rw
