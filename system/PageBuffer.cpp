#include "system/PageBuffer.h"

#include "system/Platform.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace rw {
namespace {

[[nodiscard]] std::uint8_t* Allocate(std::size_t capacity)
{
    if (capacity == 0) return nullptr;
    void* memory = capacity >= PageBuffer::kLargeBytes ? AllocatePages(capacity) : std::calloc(capacity, 1);
    if (memory == nullptr) throw std::bad_alloc();
    return static_cast<std::uint8_t*>(memory);
}

void Free(std::uint8_t* bytes, std::size_t capacity)
{
    if (capacity >= PageBuffer::kLargeBytes) {
        FreePages(bytes, capacity);
    } else {
        std::free(bytes);
    }
}

} // namespace

PageBuffer::PageBuffer(std::size_t size) : m_bytes(Allocate(size)), m_size(size), m_capacity(size) {}

PageBuffer PageBuffer::CopyOf(std::span<const std::uint8_t> bytes)
{
    PageBuffer copy(bytes.size());
    if (!bytes.empty()) std::memcpy(copy.m_bytes, bytes.data(), bytes.size());
    return copy;
}

PageBuffer::PageBuffer(PageBuffer&& other) noexcept
    : m_bytes(std::exchange(other.m_bytes, nullptr)),
      m_size(std::exchange(other.m_size, 0)),
      m_capacity(std::exchange(other.m_capacity, 0))
{
}

PageBuffer& PageBuffer::operator=(PageBuffer&& other) noexcept
{
    if (this != &other) {
        Release();
        m_bytes = std::exchange(other.m_bytes, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_capacity = std::exchange(other.m_capacity, 0);
    }
    return *this;
}

PageBuffer::~PageBuffer() { Release(); }

void PageBuffer::resize(std::size_t size)
{
    if (size > m_capacity) {
        PageBuffer grown(size);
        if (m_size > 0) std::memcpy(grown.m_bytes, m_bytes, m_size);
        *this = std::move(grown);
        return;
    }
    // Bytes a shrink left behind are stale, not zero.
    if (size > m_size) std::memset(m_bytes + m_size, 0, size - m_size);
    m_size = size;
}

void PageBuffer::Release()
{
    Free(std::exchange(m_bytes, nullptr), m_capacity);
    m_size = 0;
    m_capacity = 0;
}

bool operator==(const PageBuffer& a, std::span<const std::uint8_t> b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), b.size()) == 0);
}

} // namespace rw
