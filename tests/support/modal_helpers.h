#pragma once

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QImage>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>

#include <functional>
#include <memory>

namespace lexaloom::testing {

// What whenModalOpens does when its window has not shown by the deadline: by
// default the current test fails with `message`.
using ModalTimeout = std::function<void(const QString &message)>;

inline void FailCurrentTest(const QString &message)
{
    QTest::qFail(qPrintable(message), __FILE__, __LINE__);
}

// Runs `drive` on the modal window of type W once it shows; the test's call that
// opens it returns when `drive` has closed it (or it is closed after `drive`).
// When no W is the active modal within `deadlineMs`, `timeout` is told which
// window is (its title), and whatever modal is open is closed so that the test
// goes on instead of hanging. The wait belongs to the test function (and data
// row) that started it: once that one has ended, the timer stops without a word
// and nothing of the finished test is touched again.
template <typename W>
void whenModalOpens(std::function<void(W *)> drive, int deadlineMs = 20000,
                    ModalTimeout timeout = FailCurrentTest)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    const QByteArray testFunction = QTest::currentTestFunction();
    const QByteArray dataTag = QTest::currentDataTag();
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    auto timedOut = std::make_shared<bool>(false);
    QObject::connect(timer, &QTimer::timeout, [=] {
        if (QByteArray(QTest::currentTestFunction()) != testFunction
            || QByteArray(QTest::currentDataTag()) != dataTag) {
            timer->stop();
            timer->deleteLater();
            return;
        }
        QWidget *active = QApplication::activeModalWidget();
        if (auto *window = qobject_cast<W *>(active); window && !*timedOut) {
            timer->stop();
            timer->deleteLater();
            drive(window);
            if (window->isVisible())
                window->close();
            return;
        }
        if (clock->elapsed() < deadlineMs)
            return;
        if (!*timedOut) {
            *timedOut = true;
            timeout(QStringLiteral("The expected %1 did not open within %2 ms; open modal: %3")
                        .arg(QString::fromLatin1(W::staticMetaObject.className()))
                        .arg(deadlineMs)
                        .arg(active ? QStringLiteral("\"%1\"").arg(active->windowTitle())
                                    : QStringLiteral("none")));
        }
        // Close what is open, one modal a tick, until the test has its event loop back.
        if (!active) {
            timer->stop();
            timer->deleteLater();
        } else if (auto *dialog = qobject_cast<QDialog *>(active)) {
            dialog->done(QDialog::Rejected);
        } else {
            active->close();
        }
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
