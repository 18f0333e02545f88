#pragma once

// A record's name field holds a fixed number of GBK bytes. The name box keeps within them the
// way a classic edit box with a text limit does: an edit that would overflow keeps as much of
// what was typed or pasted as fits, in whole characters, and characters GBK cannot write are
// dropped. A text set from outside (a loaded name) is left as it is, even when too long.

#include <QString>
#include <QStringView>
#include <QValidator>

#include <string>

namespace rw {

struct GbkFit {
    QString text;      // the characters kept
    std::string bytes; // their GBK bytes
};

// The longest run of whole characters from the start of text whose GBK bytes fit in maxBytes;
// characters without a GBK form are left out.
[[nodiscard]] GbkFit FitGbk(QStringView text, int maxBytes);

class GbkNameValidator : public QValidator {
    Q_OBJECT

public:
    explicit GbkNameValidator(int maxBytes, QObject* parent = nullptr);

    // Call before the box's text is set from outside: that text is taken as it stands.
    void Reset(const QString& text);

    State validate(QString& input, int& pos) const override;

private:
    int m_maxBytes;
    // The box's text after the last edit, to tell what an edit inserted.
    mutable QString m_last;
};

} // namespace rw
