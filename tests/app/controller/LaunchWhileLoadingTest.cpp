// SPDX-License-Identifier: MIT
// The controller of this binary launches while its contacts are held back at the start of
// their load, as a large address book on a slow disk would hold them.
#include "app/controller/AppController.h"
#include "app/hotkey/HotKeyCenter.h"
#include "app/search/RKAddressBook.h"
#include "common/SettingsKeys.h"
#include "platform/addressbook/AddressBook.h"
#include "platform/core/Bundle.h"
#include "platform/notifications/DistributedNotificationCenter.h"
#include "platform/settings/UserDefaults.h"
#include "tests/e2e/support/TestProcesses.h"
#include "tests/support/TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSemaphore>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

QSemaphore loadMayGo;

class HeldBackLoadEnvironment final : public ::testing::Environment
{
public:
    void SetUp() override
    {
        bus = std::make_unique<PrivateSessionBus>();
        ASSERT_TRUE(bus->isRunning()) << "dbus-daemon did not start a session bus";
        home = std::make_unique<TemporaryHome>();
        Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
        const QString contacts = home->path() + QStringLiteral("/contacts");
        QDir().mkpath(contacts);
        const QDir fixtures(QStringLiteral(BRISKO_TEST_DATA_DIR "/controller"));
        for (const QString &name : fixtures.entryList({QStringLiteral("*.vcf")}, QDir::Files))
            QFile::copy(fixtures.filePath(name), contacts + QLatin1Char('/') + name);
        AddressBook::setSourcePaths({contacts});
        AddressBook::setLoadStartObserver([] { loadMayGo.acquire(); });

        controller = std::make_unique<AppController>();
        controller->awakeFromNib();
        UserDefaults::standardUserDefaults().setBool(false, DefShowSplash);
        controller->applicationDidFinishLaunching();
    }

    void TearDown() override
    {
        loadMayGo.release(100);
        AddressBook::sharedAddressBook().waitForLoad();
        AddressBook::setLoadStartObserver({});
        controller.reset();
        DistributedNotificationCenter::defaultCenter().flush();
        bus.reset();
    }

    std::unique_ptr<PrivateSessionBus> bus;
    std::unique_ptr<TemporaryHome> home;
    std::unique_ptr<AppController> controller;
};

HeldBackLoadEnvironment *const environment = static_cast<HeldBackLoadEnvironment *>(
    ::testing::AddGlobalTestEnvironment(new HeldBackLoadEnvironment));

} // namespace

TEST(LaunchWhileLoading, TheHotKeyWorksAtOnceAndWhatIsTypedMeanwhileIsSearchedOnceTheContactsAreIn)
{
    AppController &controller = *environment->controller;
    ASSERT_TRUE(AddressBook::sharedAddressBook().isLoading());
    EXPECT_TRUE(HotKeyCenter::sharedCenter()->keyComboForName(QStringLiteral("HotKey")).has_value())
        << "the launch waited for the contacts before taking the hot key";

    controller.showSearchWindow();
    EXPECT_TRUE(controller.mainWindow()->isVisible());
    EXPECT_EQ(controller.matchesLabel()->text(), QStringLiteral("Loading contacts…"));
    QTest::keyClicks(controller.searchField(), QStringLiteral("smith"));
    EXPECT_EQ(controller.matchesLabel()->text(), QStringLiteral("Loading contacts…"));
    EXPECT_FALSE(controller.matchingPersons().has_value());

    loadMayGo.release();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return controller.matchesLabel()->text() == QStringLiteral("3 matches"); }, 10000))
        << "the text typed during the load was not searched once the contacts were in; status: "
        << qPrintable(controller.matchesLabel()->text());
    EXPECT_EQ(controller.searchField()->text(), QStringLiteral("smith"));

    controller.searchField()->clear();
    EXPECT_EQ(controller.matchesLabel()->text(), QStringLiteral("Brisko"));
}
