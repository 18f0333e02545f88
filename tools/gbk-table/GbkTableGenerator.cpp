// Asks Qt's GBK converter (ICU behind it) for every one- and two-byte code and every UTF-16
// unit, and prints the answers as the C++ source of text/GbkTableData.cpp. The program's own
// table then needs no converter at run time, and gives the converter's answers on any system.

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* kCodecName = "GBK";
constexpr int kFirstLead = 0x81;
constexpr int kLastLead = 0xFE;
constexpr int kFirstTrail = 0x40;
constexpr int kTrails = 0x100 - kFirstTrail;
constexpr char16_t kReplacement = u'\uFFFD';
constexpr std::uint16_t kNoCode = 0xFFFF;

[[nodiscard]] bool IsLead(int b) { return b >= kFirstLead && b <= kLastLead; }

// What the converter makes of bytes as one character; U+FFFD when it makes anything else
// (nothing, two characters, or the replacement followed by the trail byte read afresh).
[[nodiscard]] char16_t DecodeOne(const QByteArray& bytes)
{
    QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return text.size() == 1 && !decoder.hasError() ? text.front().unicode() : kReplacement;
}

// The code the converter gives a unit, kept only where it decodes back to that unit.
[[nodiscard]] std::uint16_t EncodeOne(char16_t unit)
{
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(QStringView(&unit, 1));
    if (encoder.hasError() || bytes.isEmpty() || bytes.size() > 2 || DecodeOne(bytes) != unit) return kNoCode;
    const auto b0 = static_cast<unsigned char>(bytes.at(0));
    return bytes.size() == 1 ? b0 : static_cast<std::uint16_t>(b0 << 8 | static_cast<unsigned char>(bytes.at(1)));
}

void PrintArray(const char* declaration, const std::vector<std::uint32_t>& values, const char* format, int perLine)
{
    std::printf("%s = {\n", declaration);
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::printf(i % static_cast<std::size_t>(perLine) == 0 ? "    " : " ");
        std::printf(format, values[i]);
        std::printf(",");
        if ((i + 1) % static_cast<std::size_t>(perLine) == 0 || i + 1 == values.size()) std::printf("\n");
    }
    std::printf("};\n");
}

} // namespace

int main()
{
    if (!QStringDecoder(kCodecName).isValid() || !QStringEncoder(kCodecName).isValid()) {
        std::fputs("gbk-table: this Qt has no GBK converter (Qt must be built with ICU)\n", stderr);
        return 1;
    }
    std::vector<std::uint32_t> single(256);
    for (int b = 0; b < 256; ++b) single[static_cast<std::size_t>(b)] = IsLead(b) ? kReplacement : DecodeOne(QByteArray(1, static_cast<char>(b)));

    std::vector<std::uint32_t> pairs;
    for (int lead = kFirstLead; lead <= kLastLead; ++lead) {
        for (int trail = kFirstTrail; trail <= 0xFF; ++trail) {
            const char bytes[] = {static_cast<char>(lead), static_cast<char>(trail)};
            pairs.push_back(DecodeOne(QByteArray(bytes, 2)));
        }
    }

    // The reverse as the table derives it from the codes: each unit takes the first code
    // (single bytes, then pairs in order) that decodes to it. Only where the converter
    // disagrees is its answer written out.
    std::vector<std::uint16_t> derived(0x10000, kNoCode);
    for (int a = 0; a < 0x80; ++a) derived[static_cast<std::size_t>(a)] = static_cast<std::uint16_t>(a);
    for (int b = 0x80; b < 256; ++b) {
        const auto u = static_cast<char16_t>(single[static_cast<std::size_t>(b)]);
        if (u != kReplacement && derived[u] == kNoCode) derived[u] = static_cast<std::uint16_t>(b);
    }
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const auto u = static_cast<char16_t>(pairs[i]);
        const auto code = static_cast<std::uint16_t>((kFirstLead + static_cast<int>(i) / kTrails) << 8 | (kFirstTrail + static_cast<int>(i) % kTrails));
        if (u != kReplacement && derived[u] == kNoCode) derived[u] = code;
    }
    std::vector<std::uint32_t> exceptions; // unit << 16 | code, by unit
    for (std::uint32_t u = 0x80; u < 0x10000; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF) continue;
        const std::uint16_t code = EncodeOne(static_cast<char16_t>(u));
        if (code != derived[u]) exceptions.push_back(u << 16 | code);
    }

    std::printf("// Made by tools/gbk-table from Qt's GBK converter (ICU); do not edit. To make it again:\n"
                "// scripts/make-gbk-table.sh\n\n"
                "#include \"text/GbkTableData.h\"\n\n"
                "namespace rw::gbk {\n\n");
    PrintArray("const std::array<char16_t, 256> kSingle", single, "0x%04X", 12);
    std::printf("\n");
    PrintArray("const std::array<char16_t, kPairCount> kPairs", pairs, "0x%04X", 12);
    std::printf("\n");
    std::printf("namespace {\n");
    const std::string exceptionArray = "const std::array<std::uint32_t, " + std::to_string(exceptions.size()) + "> kExceptionArray";
    PrintArray(exceptionArray.c_str(), exceptions, "0x%08X", 8);
    std::printf("} // namespace\n\nconst std::span<const std::uint32_t> kEncodeExceptions = kExceptionArray;\n");
    std::printf("\n} // namespace rw::gbk\n");
    std::fprintf(stderr, "gbk-table: %zu encode exceptions\n", exceptions.size());
    return 0;
}
