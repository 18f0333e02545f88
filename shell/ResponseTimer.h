#pragma once

// How long the window takes to answer the user, for measuring the program as a person uses
// it: from a Return key or a mouse button let go to the end of the record list's next paint,
// written to standard error. Only there when RECWRIGHT_RESPONSE_LOG is set in the
// environment; it watches every event then, so it is for measuring, not for everyday use.

#include <QElapsedTimer>
#include <QObject>

namespace rw {

class ResponseTimer : public QObject {
    Q_OBJECT
public:
    // Watches the application's events when the environment asks for it; else does nothing.
    static void InstallIfAsked(QObject* application);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ResponseTimer(QObject* parent);
    void Report();

    QElapsedTimer m_clock;
    qint64 m_startNs = -1;          // of the input waiting for a paint, or -1
    unsigned long m_inputStamp = 0; // its time stamp: one input reaches several widgets in turn
    const char* m_what = "";
};

} // namespace rw
