// SPDX-License-Identifier: MIT
// Pictures of the preference pane's three tabs, of its first one in German, and of its two
// sheets (the hot key recorder, the click-to-call account), in the host's window with the
// real application running, for people to judge. Meant for Xvfb with QT_QPA_PLATFORM=xcb (see
// Screenshot.h for where they go).
#include "host/PreferencesHost.h"
#include "host/PreferencesWindow.h"
#include "platform/notifications/ControlCommands.h"
#include "platform/notifications/DistributedNotificationCenter.h"
#include "tests/e2e/support/TestProcesses.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ModalAnswer.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TemporaryHome.h"
#include "tests/support/WaitUntil.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

constexpr int Timeout = 30000;

/// The window with `sheet` hanging from the top of it, as a sheet shows on the desktop.
QImage withSheet(QImage window, const QImage &sheet)
{
    QPainter painter(&window);
    const QPoint at((window.width() - sheet.width()) / 2, 0);
    painter.drawImage(at, sheet);
    painter.setPen(QColor(0, 0, 0, 110));
    painter.drawRect(QRect(at, sheet.size()).adjusted(0, -1, -1, -1));
    return window;
}

/// Presses `button` in the window, lets `fill` work on the sheet it opens, and returns the
/// window with the sheet once `fill` is done; `fill` then ends the sheet.
QImage
pictureOfSheet(QWidget *window, const char *button, const QString &sheetName,
               const std::function<void(QDialog *sheet, const std::function<void()> &)> &fill)
{
    QImage picture;
    answerNextModal<QDialog>(
        [&](QDialog *sheet) {
            if (!QTest::qWaitForWindowExposed(sheet))
                return sheet->reject();
            fill(sheet, [&] {
                picture = withSheet(Screenshot::grabbed(*window), Screenshot::grabbed(*sheet));
            });
        },
        sheetName);
    QTest::mouseClick(window->findChild<QPushButton *>(QString::fromLatin1(button)),
                      Qt::LeftButton);
    return picture;
}

/// The pane shown by the host, with the real application running so the pane says so.
class PaneScreenshots : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QFileInfo(QStringLiteral("/opt/Brisko.app")).isDir())
            GTEST_SKIP() << "/opt/Brisko.app exists; the pane would end every Brisko of this user";
        ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";
        qputenv("BRISKO_PREFPANE_PATH", BRISKO_BINARY_DIR);
        application = std::make_unique<ChildProcess>(
            QStringLiteral(BRISKO_APP_BUNDLE_PATH "/Contents/Linux/Brisko"), QStringList());
    }
    void TearDown() override
    {
        if (!application)
            return;
        DistributedNotificationCenter::defaultCenter().postNotification(
            ControlCommands::NotificationName, ControlCommands::Shutdown);
        DistributedNotificationCenter::defaultCenter().flush();
        EXPECT_TRUE(application->waitForFinished(10000));
    }

    /// Shows the pane and waits until it says that `running` is the application's state.
    void showPane(const QString &running)
    {
        host.showPane(QStringLiteral("com.ambertide.BriskoPane"),
                      [&](bool ok, const QString &) { shown = ok; });
        ASSERT_TRUE(waitUntil([&] { return shown; }, Timeout));
        window = host.window();
        runState = window->findChild<QLabel *>(QStringLiteral("appRunStateLabel"));
        tabs = window->findChild<QTabWidget *>(QStringLiteral("tabView"));
        ASSERT_TRUE(runState && tabs);
        ASSERT_TRUE(waitUntil([&] { return runState->text() == running; }, Timeout))
            << "the application did not answer: " << qPrintable(runState->text());
    }

    void save(int tab, const char *name)
    {
        tabs->setCurrentIndex(tab);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        EXPECT_TRUE(Screenshot::save(Screenshot::onBackdrop(Screenshot::grabbed(*window)),
                                     QString::fromLatin1(name)))
            << "could not write " << name;
    }

    PrivateSessionBus bus;
    TemporaryHome home;
    std::unique_ptr<ChildProcess> application;
    PreferencesHost host;
    bool shown = false;
    PreferencesWindow *window = nullptr;
    QLabel *runState = nullptr;
    QTabWidget *tabs = nullptr;
};

TEST_F(PaneScreenshots, GeneralPreferencesAndAbout)
{
    ASSERT_NO_FATAL_FAILURE(showPane(QStringLiteral("Brisko is running")));
    const char *names[] = {"pane-general.png", "pane-preferences.png", "pane-about.png"};
    for (int tab = 0; tab < tabs->count(); ++tab)
        save(tab, names[tab]);
}

TEST_F(PaneScreenshots, GeneralInGerman)
{
    // The language a German desktop session asks for; the pane loads its catalogue from its
    // bundle for it.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_NO_FATAL_FAILURE(showPane(QStringLiteral("Brisko läuft")));
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("&Allgemein"));
    save(0, "pane-general-de.png");
}

TEST_F(PaneScreenshots, TheRecorderAndTheVonageAccount)
{
    ASSERT_NO_FATAL_FAILURE(showPane(QStringLiteral("Brisko is running")));
    // The recorder with Super+Shift+K typed, cancelled so nothing is stored.
    tabs->setCurrentIndex(0);
    const QImage recorder =
        pictureOfSheet(window, "changeHotKeyButton", QStringLiteral("KeyComboPanel"),
                       [](QDialog *sheet, const std::function<void()> &take) {
                           auto *capture =
                               sheet->findChild<QPushButton *>(QStringLiteral("keyBroadcaster"));
                           // K on a PC keyboard, as the X server numbers it.
                           QKeyEvent press(QEvent::KeyPress, Qt::Key_K,
                                           Qt::MetaModifier | Qt::ShiftModifier, 45, 0, 0);
                           QApplication::sendEvent(capture, &press);
                           take();
                           sheet->findChild<QPushButton *>(QStringLiteral("cancelButton"))->click();
                       });
    EXPECT_TRUE(Screenshot::save(Screenshot::onBackdrop(recorder),
                                 QStringLiteral("pane-hot-key-recorder.png")));

    // The account sheet, then the caller numbers a service of the test's own gives.
    LoopbackHttpServer service;
    service.setAnswer(200, "5550100,5550199,");
    qputenv("BRISKO_CLICK_TO_CALL_ADDRESS", service.address());
    tabs->setCurrentIndex(1);
    const QImage account = pictureOfSheet(
        window, "vonageAccountButton", QStringLiteral("vonageSetupWindow"),
        [](QDialog *sheet, const std::function<void()> &take) {
            QTest::keyClicks(sheet->findChild<QLineEdit *>(QStringLiteral("vonageNameField")),
                             QStringLiteral("ann.lee"));
            QTest::keyClicks(sheet->findChild<QLineEdit *>(QStringLiteral("vonagePasswordField")),
                             QStringLiteral("secret"));
            take();
            sheet->findChild<QPushButton *>(QStringLiteral("vonageOkButton"))->click();
        });
    qunsetenv("BRISKO_CLICK_TO_CALL_ADDRESS");
    EXPECT_TRUE(Screenshot::save(Screenshot::onBackdrop(account),
                                 QStringLiteral("pane-vonage-account.png")));
    save(1, "pane-click-to-call.png");
}

} // namespace
