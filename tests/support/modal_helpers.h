#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace lexaloom::testing {

// Runs `drive` on the modal window of type W once it shows; the test's call that
// opens it returns when `drive` has closed it (or it is closed after `drive`).
template <typename W> void whenModalOpens(std::function<void(W *)> drive)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, drive] {
        auto *window = qobject_cast<W *>(QApplication::activeModalWidget());
        if (!window)
            return;
        timer->stop();
        timer->deleteLater();
        drive(window);
        if (window->isVisible())
            window->close();
    });
    timer->start();
}

} // namespace lexaloom::testing
