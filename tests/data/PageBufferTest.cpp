#include "system/PageBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace rw {
namespace {

// Below and from the size at which the memory comes from the system's pages, a buffer starts
// zero, keeps its bytes through a growth past its capacity, zeroes what comes back into its
// size after a shrink, and moves without copying.
TEST(PageBuffer, KeepsItsBytesAndZeroesWhatIsNew)
{
    struct Case { std::size_t size; std::size_t shrinkTo; std::size_t growTo; };
    const Case cases[] = {
        {0, 0, 10},
        {100, 10, 50},
        {PageBuffer::kLargeBytes - 1, 1000, PageBuffer::kLargeBytes + 4096},
        {PageBuffer::kLargeBytes, PageBuffer::kLargeBytes / 2, PageBuffer::kLargeBytes},
        {PageBuffer::kLargeBytes + 1, 3, 3 * PageBuffer::kLargeBytes + 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        PageBuffer buffer(c.size);
        ASSERT_EQ(buffer.size(), c.size);
        EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t b) { return b == 0; }));
        for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<std::uint8_t>(i % 251 + 1);

        buffer.resize(c.shrinkTo);
        EXPECT_EQ(buffer.capacity(), c.size);
        buffer.resize(c.growTo);
        ASSERT_EQ(buffer.size(), c.growTo);
        EXPECT_GE(buffer.capacity(), c.growTo);
        for (std::size_t i = 0; i < buffer.size(); ++i) {
            ASSERT_EQ(buffer[i], i < c.shrinkTo ? i % 251 + 1 : 0) << "byte " << i;
        }

        const std::uint8_t* bytes = buffer.data();
        PageBuffer moved = std::move(buffer);
        EXPECT_EQ(moved.data(), bytes);
        EXPECT_TRUE(buffer.empty() && buffer.capacity() == 0); // NOLINT(bugprone-use-after-move)
        EXPECT_TRUE(moved == PageBuffer::CopyOf(moved));
        moved.Release();
        EXPECT_TRUE(moved.empty() && moved.data() == nullptr);
    }
}

} // namespace
} // namespace rw
