#include "cli/BackgroundWriter.h"

namespace rw {

BackgroundWriter::BackgroundWriter(Sink sink) : m_sink(std::move(sink)), m_thread([this] { Run(); })
{
    // The writing thread then never allocates: memory running out there could only abort the
    // program, where on this thread it ends the command with a message.
    std::lock_guard lock(m_mutex);
    m_spare.reserve(kMaxQueued + 2);
}

BackgroundWriter::~BackgroundWriter() { Finish(); }

bool BackgroundWriter::Put(std::string_view piece)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_queue.size() < kMaxQueued || m_failed; });
    if (m_failed) return false;
    std::string copy;
    if (!m_spare.empty()) {
        copy = std::move(m_spare.back());
        m_spare.pop_back();
    }
    copy.assign(piece);
    m_queue.push_back(std::move(copy));
    m_changed.notify_all();
    return true;
}

bool BackgroundWriter::Finish()
{
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
        m_changed.notify_all();
    }
    if (m_thread.joinable()) m_thread.join();
    return !m_failed;
}

void BackgroundWriter::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] { return !m_queue.empty() || m_closing; });
        if (m_queue.empty()) return;
        std::string piece = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        const bool ok = m_failed || m_sink(piece);
        lock.lock();
        if (!ok) m_failed = true;
        m_spare.push_back(std::move(piece));
        m_changed.notify_all();
    }
}

} // namespace rw
