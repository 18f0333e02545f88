#pragma once

// A record's name field holds a fixed number of GBK bytes. A name box keeps within them the
// way a classic edit box with a text limit does: an edit that would overflow keeps as much of
// what was typed or pasted as fits, in whole characters, and characters GBK cannot write are
// dropped. A text set from outside (a loaded name) is taken as it is, even when too long.

#include <QObject>
#include <QString>

class QLineEdit;

namespace rw {

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
