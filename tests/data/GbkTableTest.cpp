// The written-out table must give what Qt's converter, which it was made from, gives for every
// code: a Qt or ICU of another version that maps a code anew shows here.

#include "text/GbkCodec.h"
#include "text/GbkTable.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <gtest/gtest.h>

namespace rw {
namespace {

std::u16string ByConverter(std::string_view bytes)
{
    QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// Qt built without ICU (as for Windows here) has no GBK converter to compare with.
#define RW_NEEDS_GBK_CONVERTER()                                                                   \
    if (!QStringDecoder("GBK").isValid()) GTEST_SKIP() << "this Qt has no GBK converter (no ICU)"

std::u16string ByTable(std::string_view bytes)
{
    std::u16string out;
    GbkTable::Instance().AppendUtf16(bytes, out);
    return out;
}

TEST(GbkTable, DecodesEveryOneAndTwoByteCodeAsTheConverter)
{
    RW_NEEDS_GBK_CONVERTER();
    for (int a = 0; a < 256; ++a) {
        const std::string one(1, static_cast<char>(a));
        // The converter drops a lead byte at the end of its input; the table shows it.
        const std::u16string expected = (a >= 0x81 && a <= 0xFE) ? u"\uFFFD" : ByConverter(one);
        ASSERT_EQ(ByTable(one), expected) << a;
        for (int b = 0; b < 256; ++b) {
            const std::string two{static_cast<char>(a), static_cast<char>(b)};
            std::u16string expectedTwo = ByConverter(two);
            if (b >= 0x81 && b <= 0xFE && expectedTwo.size() == 1 + (a >= 0x81 && a <= 0xFE ? 1 : 0)) {
                expectedTwo += u"\uFFFD"; // a trailing lead byte after a single character
            }
            ASSERT_EQ(ByTable(two), expectedTwo) << a << " " << b;
        }
    }
}

TEST(GbkTable, EncodesEveryCharacterAsTheConverter)
{
    RW_NEEDS_GBK_CONVERTER();
    const GbkCodec& codec = GbkCodec::Instance();
    for (unsigned u = 1; u < 0x10000; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF) continue;
        const char16_t unit = static_cast<char16_t>(u);
        QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
        const QByteArray bytes = encoder.encode(QStringView(&unit, 1));
        const bool mapped = !encoder.hasError() && ByConverter({bytes.constData(), static_cast<std::size_t>(bytes.size())}) == std::u16string(1, unit);
        const std::optional<std::string> ours = codec.Encode(QStringView(&unit, 1));
        ASSERT_EQ(ours.has_value(), mapped) << std::hex << u;
        if (mapped) {
            ASSERT_EQ(*ours, bytes.toStdString()) << std::hex << u;
        }
    }
}

} // namespace
} // namespace rw
