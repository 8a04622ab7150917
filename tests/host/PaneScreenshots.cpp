// SPDX-License-Identifier: MIT
// Pictures of the preference pane's three tabs in the host's window, with the real
// application running, and of its two sheets (the hot key recorder, the click-to-call
// account), for people to judge. Meant for Xvfb with QT_QPA_PLATFORM=xcb (see Screenshot.h
// for where they go).
#include "LoopbackHttpServer.h"
#include "PreferencesHost.h"
#include "PreferencesWindow.h"
#include "Screenshot.h"
#include "TemporaryHome.h"
#include "WaitUntil.h"
#include "notifications/ControlCommands.h"
#include "notifications/DistributedNotificationCenter.h"
#include "support/TestProcesses.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr int Timeout = 30000;

// Real programs start here, on a machine that may be busy.
bool eventually(const std::function<bool()> &probe, int timeoutMs = Timeout)
{
    return waitUntil(probe, timeoutMs);
}

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
    std::function<void()> whenUp = [&] {
        auto *sheet = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!sheet || sheet->objectName() != sheetName || !sheet->isVisible())
            return QTimer::singleShot(20, whenUp);
        if (!QTest::qWaitForWindowExposed(sheet))
            return;
        fill(sheet, [&] {
            picture = withSheet(Screenshot::grabbed(*window), Screenshot::grabbed(*sheet));
        });
    };
    QTimer::singleShot(0, whenUp);
    QTest::mouseClick(window->findChild<QPushButton *>(QString::fromLatin1(button)),
                      Qt::LeftButton);
    return picture;
}

TEST(PaneScreenshots, GeneralPreferencesAndAbout)
{
    if (QFileInfo(QStringLiteral("/opt/Brisko.app")).isDir())
        GTEST_SKIP() << "/opt/Brisko.app exists; the pane would end every Brisko of this user";
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";
    TemporaryHome home;
    qputenv("BRISKO_PREFPANE_PATH", BRISKO_BINARY_DIR);
    ChildProcess application(QStringLiteral(BRISKO_APP_BUNDLE_PATH "/Contents/Linux/Brisko"), {});

    PreferencesHost host;
    bool shown = false;
    host.showPane(QStringLiteral("com.ambertide.BriskoPane"),
                  [&](bool ok, const QString &) { shown = ok; });
    ASSERT_TRUE(eventually([&] { return shown; }));
    PreferencesWindow *window = host.window();
    auto *runState = window->findChild<QLabel *>(QStringLiteral("appRunStateLabel"));
    auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("tabView"));
    ASSERT_TRUE(runState && tabs);
    ASSERT_TRUE(eventually([&] { return runState->text() == QLatin1String("Brisko is running"); }))
        << "the application did not answer";

    const char *names[] = {"pane-general.png", "pane-preferences.png", "pane-about.png"};
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        const QString name = QString::fromLatin1(names[tab]);
        EXPECT_TRUE(Screenshot::save(Screenshot::onBackdrop(Screenshot::grabbed(*window)), name))
            << "could not write " << qPrintable(name);
    }

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
    EXPECT_TRUE(Screenshot::save(Screenshot::onBackdrop(Screenshot::grabbed(*window)),
                                 QStringLiteral("pane-click-to-call.png")));

    DistributedNotificationCenter::defaultCenter().postNotification(
        ControlCommands::NotificationName, ControlCommands::Shutdown);
    DistributedNotificationCenter::defaultCenter().flush();
    EXPECT_TRUE(application.waitForFinished(10000));
}

} // namespace
