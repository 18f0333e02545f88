#include "ui/GbkNameLimit.h"

#include "text/GbkCodec.h"

#include <QLineEdit>

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

GbkNameLimit::GbkNameLimit(QLineEdit& box, int maxBytes)
    : QObject(&box), m_box(box), m_maxBytes(maxBytes), m_before(box.text())
{
    // The box tells of an edit before it tells of the change; a change it tells of after a
    // text was cut to fit still carries the uncut text, so the box's own text is taken.
    connect(&box, &QLineEdit::textChanged, this, [this] { m_before = m_box.text(); });
    connect(&box, &QLineEdit::textEdited, this, &GbkNameLimit::OnEdited);
}

void GbkNameLimit::OnEdited(const QString& text)
{
    // The edit replaced the middle of the text before it: the characters before and after the
    // edit are the ones both texts share at their ends.
    const qsizetype shorter = std::min(text.size(), m_before.size());
    qsizetype prefix = 0;
    while (prefix < shorter && text[prefix] == m_before[prefix]) ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && text[text.size() - 1 - suffix] == m_before[m_before.size() - 1 - suffix]) {
        ++suffix;
    }
    // Never split a surrogate pair between the kept ends and the inserted text.
    if (prefix > 0 && text[prefix - 1].isHighSurrogate()) --prefix;
    if (suffix > 0 && text[text.size() - suffix].isLowSurrogate()) --suffix;

    const QStringView head = QStringView(text).left(prefix);
    const QStringView tail = QStringView(text).right(suffix);
    const QStringView inserted = QStringView(text).mid(prefix, text.size() - prefix - suffix);
    const GbkFit kept = FitGbk(inserted, m_maxBytes - GbkSize(head) - GbkSize(tail));
    if (kept.text.size() == inserted.size()) return;
    m_box.setText(head.toString() + kept.text + tail.toString());
    m_box.setCursorPosition(static_cast<int>(prefix + kept.text.size()));
}

} // namespace rw
