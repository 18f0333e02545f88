#include "shell/ResponseTimer.h"

#include "resources/Strings.h"
#include "view/RecordList.h"

#include <QEvent>
#include <QKeyEvent>
#include <QTimer>

#include <cstdio>

namespace rw {

void ResponseTimer::InstallIfAsked(QObject* application)
{
    if (qEnvironmentVariableIsEmpty("RECWRIGHT_RESPONSE_LOG")) return;
    application->installEventFilter(new ResponseTimer(application));
}

ResponseTimer::ResponseTimer(QObject* parent) : QObject(parent) { m_clock.start(); }

bool ResponseTimer::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool returnKey = type == QEvent::KeyPress && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                                                        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
    if (returnKey || type == QEvent::MouseButtonRelease) {
        const auto stamp = static_cast<unsigned long>(static_cast<QInputEvent*>(event)->timestamp());
        if (m_startNs < 0 || stamp != m_inputStamp) {
            m_startNs = m_clock.nsecsElapsed();
            m_inputStamp = stamp;
            m_what = returnKey ? str::kResponseReturn : str::kResponseClick;
        }
    } else if (type == QEvent::Paint && m_startNs >= 0 && qobject_cast<RecordList*>(watched->parent()) != nullptr) {
        // The paint has not happened yet: the report waits until the event loop is free again,
        // after the paint and after the window has been updated.
        QTimer::singleShot(0, this, &ResponseTimer::Report);
    }
    return QObject::eventFilter(watched, event);
}

void ResponseTimer::Report()
{
    if (m_startNs < 0) return;
    const double ms = static_cast<double>(m_clock.nsecsElapsed() - m_startNs) / 1e6;
    std::fprintf(stderr, str::kResponseLogFormat, m_what, ms);
    std::fflush(stderr);
    m_startNs = -1;
}

} // namespace rw
