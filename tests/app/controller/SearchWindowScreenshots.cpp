// SPDX-License-Identifier: MIT
// Pictures of the search window in its three forms, over the sample address book, for people
// to judge. Meant for Xvfb with QT_QPA_PLATFORM=xcb; BRISKO_SCREENSHOT_DIR says where the
// PNGs go (the build tree when unset).
#include "SettingsKeys.h"
#include "TemporaryHome.h"
#include "addressbook/AddressBook.h"
#include "controller/AppController.h"
#include "controller/SearchField.h"
#include "core/Bundle.h"
#include "notifications/DistributedNotificationCenter.h"
#include "settings/UserDefaults.h"
#include "support/TestProcesses.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString screenshotDir()
{
    const QString configured = qEnvironmentVariable("BRISKO_SCREENSHOT_DIR");
    const QString dir =
        configured.isEmpty() ? QStringLiteral(BRISKO_BINARY_DIR "/screenshots") : configured;
    QDir().mkpath(dir);
    return dir;
}

// The search window over a desktop-like backdrop, so its translucency and corners show.
void saveOnBackdrop(QWidget *window, const QString &name)
{
    const QImage image =
        window->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int margin = 40;
    QImage backdrop(image.size() / image.devicePixelRatio() + QSize(2 * margin, 2 * margin),
                    QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&backdrop);
    QLinearGradient gradient(0, 0, backdrop.width(), backdrop.height());
    gradient.setColorAt(0, QColor(38, 84, 124));
    gradient.setColorAt(1, QColor(150, 90, 160));
    painter.fillRect(backdrop.rect(), gradient);
    painter.drawImage(QPoint(margin, margin), image);
    painter.end();
    const QString path = screenshotDir() + QLatin1Char('/') + name;
    ASSERT_TRUE(backdrop.save(path)) << "could not write " << path.toStdString();
}

TEST(SearchWindowScreenshots, CollapsedWithCountAndExpandedWithCard)
{
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";
    TemporaryHome home;
    Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
    AddressBook::setSourcePaths(
        {QStringLiteral(BRISKO_APP_BUNDLE_PATH "/Contents/Resources/SampleContacts")});
    AppController &controller = AppController::sharedController();
    controller.awakeFromNib();
    UserDefaults::standardUserDefaults().setBool(false, DefShowSplash);
    controller.applicationDidFinishLaunching();

    QWidget *window = controller.mainWindow();
    controller.showSearchWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(window->size(), QSize(300, 62));
    saveOnBackdrop(window, QStringLiteral("search-window.png"));

    QTest::keyClicks(controller.searchField(), QStringLiteral("smith"));
    EXPECT_EQ(window->size(), QSize(300, 62));
    saveOnBackdrop(window, QStringLiteral("search-window-matches.png"));

    QTest::keyClick(controller.searchField(), Qt::Key_Return);
    EXPECT_EQ(window->size(), QSize(550, 413));
    saveOnBackdrop(window, QStringLiteral("search-window-card.png"));
    DistributedNotificationCenter::defaultCenter().flush();
}

} // namespace
