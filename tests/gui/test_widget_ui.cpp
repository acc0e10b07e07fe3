#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "core/shell/manual_url.h"
#include "gui/shell/widget_ui.h"
#include "gui_test_registry.h"

using namespace lexaloom;

class TestWidgetUi final : public QObject {
    Q_OBJECT

private slots:
    void statusFieldKeepsTextSetBeforeAttach();
    void progressRanges_data();
    void progressRanges();
    void abortIsTakenOnce();
    void unopenedUrlIsReported();
    void pauseLetsTimeGoBy();
};

void TestWidgetUi::statusFieldKeepsTextSetBeforeAttach()
{
    WidgetUi ui;
    ui.setStatusText(QStringLiteral("Loading..."));
    QLabel status;
    QProgressBar progress;
    ui.attach(nullptr, &status, &progress);
    QCOMPARE(status.text(), QStringLiteral("Loading..."));
    ui.setStatusText(QStringLiteral("OK."));
    QCOMPARE(status.text(), QStringLiteral("OK."));
    QCOMPARE(ui.statusText(), QStringLiteral("OK."));
}

void TestWidgetUi::progressRanges_data()
{
    QTest::addColumn<qint64>("maximum");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<int>("wantPercent");
    QTest::newRow("int range") << qint64(1000) << qint64(250) << 25;
    QTest::newRow("beyond int") << qint64(3) * 5000000000LL << qint64(5000000000LL) << 33;
    QTest::newRow("value past the end") << qint64(100) << qint64(150) << 100;
}

void TestWidgetUi::progressRanges()
{
    QFETCH(qint64, maximum);
    QFETCH(qint64, value);
    QFETCH(int, wantPercent);
    WidgetUi ui;
    QLabel status;
    QProgressBar progress;
    ui.attach(nullptr, &status, &progress);
    ui.setProgressRange(0, maximum);
    ui.setProgressValue(value);
    QVERIFY(progress.maximum() > 0);
    QCOMPARE(100 * qint64(progress.value()) / progress.maximum(), wantPercent);
}

void TestWidgetUi::abortIsTakenOnce()
{
    WidgetUi ui;
    QVERIFY(!ui.takeAbortRequest());
    ui.requestAbort();
    QVERIFY(ui.takeAbortRequest());
    QVERIFY(!ui.takeAbortRequest());
}

// A desktop without a handler for file URLs: the user learns where the manual is.
void TestWidgetUi::unopenedUrlIsReported()
{
    WidgetUi ui;
    QStringList handed;
    bool handled = false;
    ui.setUrlOpener([&](const QUrl &url) {
        handed.append(QString::fromUtf8(url.toEncoded()));
        return handled;
    });
    QStringList shown;
    const auto answerBoxes = [&shown] {
        QTimer::singleShot(0, [&shown] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown.append(box->windowTitle() + u'|' + box->text());
                box->accept();
            }
        });
    };
    const QString manual = ManualUrl(QStringLiteral("/opt/my tools/"), manualAnchors::preferences);
    answerBoxes();
    ui.openUrl(manual);
    QCOMPARE(handed, QStringList{manual});
    QCOMPARE(shown, QStringList{QStringLiteral("Error|Can't open /opt/my tools/Lexaloom_manual_V30.html.\n\n"
                                               "The desktop has no program set for it: open the file in a web "
                                               "browser.")});
    QCOMPARE(UrlNotOpenedText(QStringLiteral("https://www.lexaloom.org/#update")),
             QStringLiteral("Can't open https://www.lexaloom.org/#update.\n\nThe desktop has no program set for "
                            "it: open the address in a web browser."));
    // Opened: nothing to say.
    handled = true;
    shown.clear();
    answerBoxes();
    ui.openUrl(manual);
    QCoreApplication::processEvents();
    QVERIFY(shown.isEmpty());
}

void TestWidgetUi::pauseLetsTimeGoBy()
{
    // The window keeps working while the pause runs, and the pause returns.
    WidgetUi ui;
    bool served = false;
    QTimer::singleShot(0, [&] { served = true; });
    ui.pause(50);
    QVERIFY(served);
    QVERIFY(ui.clock().monotonicMs() >= 0);
}

LEXALOOM_GUI_TEST(TestWidgetUi)
#include "test_widget_ui.moc"
