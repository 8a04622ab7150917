// SPDX-License-Identifier: MIT
// Pictures of the search window in its three forms, over the sample address book, for people
// to judge. Meant for Xvfb with QT_QPA_PLATFORM=xcb (see Screenshot.h for where they go).
#include "app/card/MyTableView.h"
#include "app/controller/AppController.h"
#include "app/controller/SearchField.h"
#include "common/SettingsKeys.h"
#include "platform/addressbook/AddressBook.h"
#include "platform/core/Bundle.h"
#include "platform/notifications/DistributedNotificationCenter.h"
#include "platform/settings/UserDefaults.h"
#include "tests/e2e/support/TestProcesses.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TemporaryHome.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

void saveOnBackdrop(QWidget *window, const QString &name)
{
    ASSERT_TRUE(Screenshot::save(Screenshot::onBackdrop(Screenshot::grabbed(*window)), name))
        << "could not write " << name.toStdString();
}

TEST(SearchWindowScreenshots, CollapsedWithCountAndExpandedWithCard)
{
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";
    TemporaryHome home;
    Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
    AddressBook::setSourcePaths(
        {QStringLiteral(BRISKO_APP_BUNDLE_PATH "/Contents/Resources/SampleContacts")});
    AppController controller;
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
    // The X server reports the new size once the event loop runs: the move runs none.
    EXPECT_TRUE(QTest::qWaitFor([window] { return window->size() == QSize(550, 413); }))
        << "the window is " << window->width() << " × " << window->height();
    saveOnBackdrop(window, QStringLiteral("search-window-card.png"));

    // Matches by relevance, each saying why it matched: a name first, then a city, a note.
    controller.searchField()->clear();
    QTest::keyClicks(controller.searchField(), QStringLiteral("ber"));
    QTest::keyClick(controller.searchField(), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([window] { return window->size() == QSize(550, 413); }));
    const QAbstractItemModel *list = controller.matchesTableView()->model();
    ASSERT_GE(list->rowCount(), 3);
    EXPECT_EQ(list->index(0, 0).data().toString(), QStringLiteral("Pieter van der Berg"));
    EXPECT_FALSE(list->index(1, 0).data(Qt::AccessibleDescriptionRole).toString().isEmpty());
    saveOnBackdrop(window, QStringLiteral("search-window-why.png"));
    DistributedNotificationCenter::defaultCenter().flush();
}

} // namespace
