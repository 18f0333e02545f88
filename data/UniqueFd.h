#pragma once

#include <unistd.h>

#include <utility>

namespace rw {

// Owns a POSIX file descriptor; closing it is the owner's last word on the file.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    ~UniqueFd() { Reset(); }

    [[nodiscard]] int Get() const { return m_fd; }
    [[nodiscard]] bool Valid() const { return m_fd >= 0; }
    // Closes now and reports whether the close succeeded (a write may only fail here).
    bool Close()
    {
        if (m_fd < 0) return true;
        return ::close(std::exchange(m_fd, -1)) == 0;
    }

private:
    void Reset()
    {
        if (m_fd >= 0) ::close(std::exchange(m_fd, -1));
    }
    int m_fd = -1;
};

} // namespace rw
