#pragma once

#include "resources/Ids.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace rw::test {

template <typename T = QWidget>
T* FindControl(const QWidget& parent, int controlId)
{
    for (T* widget : parent.findChildren<T*>()) {
        if (widget->property(ids::kControlIdProperty).toInt() == controlId) return widget;
    }
    return nullptr;
}

// Runs handle on the modal window that the next statement opens, once it is up.
inline void WhenModalOpens(std::function<void(QWidget*)> handle)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, handle = std::move(handle)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->deleteLater();
            poll->stop();
            handle(modal);
        }
    });
    poll->start(10);
}

} // namespace rw::test
