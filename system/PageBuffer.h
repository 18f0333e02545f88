#pragma once

// An owning block of bytes for the large data of the program: a file's records, the indexes
// and sort keys of a table of a million rows, the chunks of a CSV. From kLargeBytes on, its
// memory comes from AllocatePages, which asks the system for large pages; below that from the
// ordinary heap. New bytes are zero either way. Moved, never copied by accident.

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

namespace rw {

class PageBuffer {
public:
    // From this size on a buffer holds at least one whole large page.
    static constexpr std::size_t kLargeBytes = std::size_t{4} << 20;

    PageBuffer() = default;
    // size bytes, all zero. Throws std::bad_alloc when the memory cannot be had.
    explicit PageBuffer(std::size_t size);
    [[nodiscard]] static PageBuffer CopyOf(std::span<const std::uint8_t> bytes);
    PageBuffer(PageBuffer&& other) noexcept;
    PageBuffer& operator=(PageBuffer&& other) noexcept;
    PageBuffer(const PageBuffer&) = delete;
    PageBuffer& operator=(const PageBuffer&) = delete;
    ~PageBuffer();

    // Container-like, so that spans and ranges take it as they take a vector.
    [[nodiscard]] std::uint8_t* data() { return m_bytes; }
    [[nodiscard]] const std::uint8_t* data() const { return m_bytes; }
    [[nodiscard]] std::size_t size() const { return m_size; }
    [[nodiscard]] bool empty() const { return m_size == 0; }
    [[nodiscard]] std::size_t capacity() const { return m_capacity; }
    [[nodiscard]] std::uint8_t* begin() { return m_bytes; }
    [[nodiscard]] std::uint8_t* end() { return m_bytes + m_size; }
    [[nodiscard]] const std::uint8_t* begin() const { return m_bytes; }
    [[nodiscard]] const std::uint8_t* end() const { return m_bytes + m_size; }
    [[nodiscard]] std::uint8_t& operator[](std::size_t i) { return m_bytes[i]; }
    [[nodiscard]] std::uint8_t operator[](std::size_t i) const { return m_bytes[i]; }

    // Shrinking keeps the memory for a later growth; growing past the capacity moves the bytes
    // to a new block. Bytes that come into the size are zero.
    void resize(std::size_t size);
    // Size and capacity 0; the memory goes back.
    void Release();

    // The bytes as an array of T (trivially copyable), as many whole ones as they hold.
    template <typename T>
    [[nodiscard]] std::span<T> As()
    {
        static_assert(std::is_trivially_copyable_v<T>);
        return {reinterpret_cast<T*>(m_bytes), m_size / sizeof(T)};
    }
    template <typename T>
    [[nodiscard]] std::span<const T> As() const
    {
        static_assert(std::is_trivially_copyable_v<T>);
        return {reinterpret_cast<const T*>(m_bytes), m_size / sizeof(T)};
    }

private:
    std::uint8_t* m_bytes = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

[[nodiscard]] bool operator==(const PageBuffer& a, std::span<const std::uint8_t> b);

} // namespace rw
