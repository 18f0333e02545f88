#include "system/SideThread.h"

#include <utility>

namespace rw {

SideThread::SideThread() : m_thread([this] { Run(); }) {}

SideThread::~SideThread()
{
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_busy; });
        m_closing = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

bool SideThread::Worthwhile() { return std::thread::hardware_concurrency() > 1; }

void SideThread::Start(std::function<void()> work)
{
    {
        std::lock_guard lock(m_mutex);
        m_work = std::move(work);
        m_busy = true;
    }
    m_changed.notify_all();
}

void SideThread::Wait()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_busy; });
    if (m_thrown) std::rethrow_exception(std::exchange(m_thrown, nullptr));
}

SideThread::Waiting::~Waiting()
{
    if (m_waited) return;
    try {
        m_side.Wait();
    } catch (...) { // the scope is left by a failure of its own, which is the one on its way
    }
}

void SideThread::Waiting::Wait()
{
    m_waited = true;
    m_side.Wait();
}

void SideThread::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_busy || m_closing; });
        if (!m_busy) return;
        std::function<void()> work = std::move(m_work);
        lock.unlock();
        std::exception_ptr thrown;
        try {
            work();
        } catch (...) {
            thrown = std::current_exception();
        }
        lock.lock();
        m_thrown = thrown;
        m_busy = false;
        m_changed.notify_all();
    }
}

} // namespace rw
