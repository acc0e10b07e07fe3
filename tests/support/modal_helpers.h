#pragma once

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
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

// Right-clicks `tree` and picks `caption` from the menu that opens; the menu's
// captions (and its picture, when asked) are handed back.
inline QStringList chooseFromPopup(QTreeWidget *tree, const QString &caption, QImage *picture = nullptr)
{
    QStringList captions;
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        for (QAction *a : menu->actions()) {
            if (!a->isSeparator())
                captions << a->text() + (a->isEnabled() ? QString() : QStringLiteral(" (off)"));
        }
        if (picture)
            *picture = menu->grab().toImage();
        for (QAction *a : menu->actions()) {
            if (a->text() == caption) {
                menu->setActiveAction(a);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        }
        menu->close();
    });
    const QPoint at(20, 8);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
    QApplication::sendEvent(tree->viewport(), &event);
    return captions;
}

} // namespace lexaloom::testing
