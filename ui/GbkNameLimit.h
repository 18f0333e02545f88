#pragma once

// A record's name field holds a fixed number of GBK bytes. A name box keeps within them the
// way a classic edit box with a text limit does: an edit that would overflow keeps as much of
// what was typed or pasted as fits, in whole characters, and characters GBK cannot write are
// dropped. A text set from outside (a loaded name) is taken as it is, even when too long.

#include <QObject>
#include <QString>
#include <QStringView>

#include <string>

class QLineEdit;

namespace rw {

struct GbkFit {
    QString text;      // the characters kept
    std::string bytes; // their GBK bytes
};

// The longest run of whole characters from the start of text whose GBK bytes fit in maxBytes;
// characters without a GBK form are left out.
[[nodiscard]] GbkFit FitGbk(QStringView text, int maxBytes);

class GbkNameLimit : public QObject {
    Q_OBJECT

public:
    // Watches box, whose child it becomes.
    GbkNameLimit(QLineEdit& box, int maxBytes);

private:
    void OnEdited(const QString& text);

    QLineEdit& m_box;
    int m_maxBytes;
    QString m_before; // the box's text before the edit being looked at
};

} // namespace rw
