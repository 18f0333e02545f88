#pragma once

// Hands pieces of output to a sink on a second thread, so that the next piece is made while
// the last one is written: exporting a large table costs the larger of the two, not the sum.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace rw {

class BackgroundWriter {
public:
    using Sink = std::function<bool(std::string_view)>;

    explicit BackgroundWriter(Sink sink);
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;
    ~BackgroundWriter(); // waits for the pieces already handed over

    // Copies the piece and queues it; waits while several are queued. False once the sink
    // has refused a piece.
    bool Put(std::string_view piece);
    // Waits until everything is written; true when the sink took every piece.
    bool Finish();

private:
    void Run();

    static constexpr std::size_t kMaxQueued = 4;
    Sink m_sink;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::string> m_queue;
    std::vector<std::string> m_spare; // written pieces, kept for their capacity
    bool m_closing = false;
    bool m_failed = false;
    std::thread m_thread;
};

} // namespace rw
