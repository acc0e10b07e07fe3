#include "modal_helpers.h"
#include "gui_test_registry.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QTest>

using lexaloom::testing::whenModalOpens;

// The helper every window test drives its dialogs with.
class TestModalHelpers : public QObject {
    Q_OBJECT

private slots:
    void drivesTheModalItWaitsFor()
    {
        QString seen;
        whenModalOpens<QMessageBox>([&](QMessageBox *box) {
            seen = box->text();
            box->accept();
        });
        QMessageBox box(QMessageBox::Question, QStringLiteral("Question"), QStringLiteral("Really?"));
        box.exec();
        QCOMPARE(seen, QStringLiteral("Really?"));
    }

    // Another modal than the awaited one: the test is told its title and goes on.
    void aModalLeftOpenFailsWithinTheDeadline()
    {
        QStringList timeouts;
        bool driven = false;
        whenModalOpens<QFileDialog>([&](QFileDialog *) { driven = true; }, 200,
                                    [&](const QString &message) { timeouts << message; });
        QElapsedTimer clock;
        clock.start();
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Unexpected"), QStringLiteral("Nobody answers me."),
                        QMessageBox::Ok);
        box.exec();
        QVERIFY(!driven);
        QCOMPARE(timeouts, QStringList{QStringLiteral(
                               "The expected QFileDialog did not open within 200 ms; open modal: \"Unexpected\"")});
    }

    // The wait of a test that ended without its modal must not drive the next test's.
    void aWaitStopsWithItsTest_data()
    {
        QTest::addColumn<bool>("arm");
        QTest::newRow("arms a wait that never sees its window") << true;
        QTest::newRow("opens a box the earlier wait must leave alone") << false;
    }
    void aWaitStopsWithItsTest()
    {
        QFETCH(bool, arm);
        static bool staleDriveRan = false;
        if (arm) {
            whenModalOpens<QMessageBox>([](QMessageBox *box) {
                staleDriveRan = true;
                box->reject();
            });
            return;
        }
        QTimer::singleShot(100, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->done(QMessageBox::Ok);
        });
        QMessageBox box(QMessageBox::Information, QStringLiteral("Later"), QStringLiteral("Mine."));
        box.exec();
        QVERIFY(!staleDriveRan);
    }
};

LEXALOOM_GUI_TEST(TestModalHelpers)
#include "test_modal_helpers.moc"
