#include "data/HexText.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace rw {
namespace {

// Every byte value at every place of a block read sixteen digits at a time and of the rest
// read one by one, in either letter case; and every character that is no digit refused
// wherever it stands.
TEST(HexText, ReadsWhatItWritesAndRefusesAnythingElse)
{
    for (const std::size_t n : {std::size_t{1}, std::size_t{8}, std::size_t{13}, std::size_t{184}}) {
        std::vector<std::uint8_t> bytes(n);
        for (int start = 0; start < 256; start += 7) {
            for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(start + 37 * i);
            std::string text(2 * n, '?');
            WriteHex(bytes.data(), n, text.data());
            std::string upper = text;
            for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            for (const std::string& digits : {text, upper}) {
                std::vector<std::uint8_t> read(n);
                ASSERT_TRUE(ReadHex(digits, read.data(), n)) << digits;
                EXPECT_EQ(read, bytes) << digits;
            }
        }
        std::vector<std::uint8_t> read(n);
        for (std::size_t at = 0; at < 2 * n; at += n / 2 + 1) {
            for (int c = 0; c < 256; ++c) {
                if (std::isxdigit(c)) continue;
                std::string digits(2 * n, 'a');
                digits[at] = static_cast<char>(c);
                EXPECT_FALSE(ReadHex(digits, read.data(), n)) << n << " " << at << " " << c;
            }
        }
        EXPECT_FALSE(ReadHex(std::string(2 * n - 1, '0'), read.data(), n));
    }
}

} // namespace
} // namespace rw
