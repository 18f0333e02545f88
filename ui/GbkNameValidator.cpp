#include "ui/GbkNameValidator.h"

#include "text/GbkCodec.h"

#include <algorithm>
#include <limits>

namespace rw {
namespace {

// Bytes of the characters that GBK can write; the others count for nothing, as they will be
// dropped when the name is stored.
[[nodiscard]] int GbkSize(QStringView text)
{
    return static_cast<int>(FitGbk(text, std::numeric_limits<int>::max()).bytes.size());
}

} // namespace

GbkFit FitGbk(QStringView text, int maxBytes)
{
    GbkFit fit;
    const GbkCodec& codec = GbkCodec::Instance();
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        const QStringView character = text.mid(i, length);
        i += length;
        const std::optional<std::string> bytes = codec.Encode(character);
        if (!bytes) continue;
        if (fit.bytes.size() + bytes->size() > static_cast<std::size_t>(std::max(maxBytes, 0))) break;
        fit.text += character;
        fit.bytes += *bytes;
    }
    return fit;
}

GbkNameValidator::GbkNameValidator(int maxBytes, QObject* parent) : QValidator(parent), m_maxBytes(maxBytes) {}

void GbkNameValidator::Reset(const QString& text)
{
    m_last = text;
}

QValidator::State GbkNameValidator::validate(QString& input, int& pos) const
{
    if (input == m_last) return Acceptable;

    // The edit replaced the middle of the last text: the characters before it and after it are
    // the ones both texts share at their ends.
    const qsizetype shorter = std::min(input.size(), m_last.size());
    qsizetype prefix = 0;
    while (prefix < shorter && input[prefix] == m_last[prefix]) ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && input[input.size() - 1 - suffix] == m_last[m_last.size() - 1 - suffix]) {
        ++suffix;
    }
    // Never split a surrogate pair between the kept ends and the inserted text.
    if (prefix > 0 && input[prefix - 1].isHighSurrogate()) --prefix;
    if (suffix > 0 && input[input.size() - suffix].isLowSurrogate()) --suffix;

    const QStringView head = QStringView(input).left(prefix);
    const QStringView tail = QStringView(input).right(suffix);
    const QStringView inserted = QStringView(input).mid(prefix, input.size() - prefix - suffix);
    const GbkFit kept = FitGbk(inserted, m_maxBytes - GbkSize(head) - GbkSize(tail));
    if (kept.text.size() != inserted.size()) {
        input = head.toString() + kept.text + tail.toString();
        pos = static_cast<int>(prefix + kept.text.size());
    }
    m_last = input;
    return Acceptable;
}

} // namespace rw
