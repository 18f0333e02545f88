#include "data/DataFile.h"

#include <gtest/gtest.h>

namespace rw {
namespace {

TEST(Codec, MonsterCountOverlapsFirstId)
{
    std::vector<std::int32_t> ids{5, 6};
    const auto image = EncodeBytes(FileKind::Monster, 241, 2, [&](std::size_t i, std::span<std::uint8_t> r) {
        StoreInt32(r.data(), ids[i]);
    });
    ASSERT_EQ(image.size(), 504u);
    const auto decoded = DecodeBytes(image, FileKind::Monster, 241);
    ASSERT_TRUE(decoded.report.loaded);
    ASSERT_EQ(decoded.Count(), 2u);
    EXPECT_EQ(LoadInt32(decoded.RecordAt(0).data()), 0);
    EXPECT_EQ(LoadInt32(decoded.RecordAt(1).data()), 6);
}

} // namespace
} // namespace rw
