// SPDX-License-Identifier: MIT
#include "app/update/VersionChecker.h"
#include "common/SettingsKeys.h"
#include "platform/core/Bundle.h"
#include "platform/settings/UserDefaults.h"
#include "tests/doubles/RecordingWorkspace.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ModalAnswer.h"
#include "tests/support/TemporaryHome.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

class VersionCheckerTest : public ::testing::Test
{
protected:
    // The standard settings keep what they read for the whole process: one home for all.
    static void SetUpTestSuite()
    {
        Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
        home = new TemporaryHome;
    }
    static void TearDownTestSuite()
    {
        delete home;
        home = nullptr;
    }

    static qint64 storedDay()
    {
        return UserDefaults::standardUserDefaults().integerForKey(DefNextCheckVersionDay);
    }
    static void storeDay(qint64 day)
    {
        UserDefaults::standardUserDefaults().setInteger(day, DefNextCheckVersionDay);
    }

    VersionChecker checkerFor(const LoopbackHttpServer &server, std::uint32_t version = 0x403)
    {
        return VersionChecker(QString::fromLatin1(server.address().mid(7)),
                              QStringLiteral("Brisko"), version, 7);
    }

    static TemporaryHome *home;
    const QDate today{2026, 12, 8};
};

TemporaryHome *VersionCheckerTest::home = nullptr;

TEST_F(VersionCheckerTest, AutomaticChecksAreScheduledOnceAnIntervalAndTheFirstOnlySchedules)
{
    const qint64 day = VersionChecker::dayNumber(today);
    EXPECT_EQ(VersionChecker::dayNumber(QDate(1, 1, 1)), 1);
    VersionChecker checker(QStringLiteral("example.test"), QStringLiteral("Brisko"), 0x403, 7);

    UserDefaults::standardUserDefaults().removeObjectForKey(DefNextCheckVersionDay);
    EXPECT_FALSE(checker.needAutoVersionCheck(today)) << "the first launch only schedules";
    EXPECT_EQ(storedDay(), day + 7);

    EXPECT_FALSE(checker.needAutoVersionCheck(today.addDays(6)));
    EXPECT_EQ(storedDay(), day + 7) << "a day before it is due changes nothing";

    EXPECT_TRUE(checker.needAutoVersionCheck(today.addDays(7)));
    EXPECT_EQ(storedDay(), day + 14);

    storeDay(day - 30); // a long time without launching
    EXPECT_TRUE(checker.needAutoVersionCheck(today));
    EXPECT_EQ(storedDay(), day + 7);
    EXPECT_FALSE(checker.needAutoVersionCheck(today)) << "one check a day at most";
}

TEST_F(VersionCheckerTest, ThePublishedVersionIsFetchedOnceAndAFailureIsAskedAgain)
{
    LoopbackHttpServer site;
    ASSERT_TRUE(site.isListening());
    VersionChecker checker = checkerFor(site);

    site.setAnswer(404, "not here");
    EXPECT_EQ(checker.latestVersion(), 0u);
    EXPECT_FALSE(checker.hasNewer());
    EXPECT_EQ(site.requestTargets().size(), 2) << "a failure is not kept";
    EXPECT_EQ(site.requestTargets().first(), QByteArray("/brisko/version"));

    site.setAnswer(200, "404\n");
    EXPECT_TRUE(checker.hasNewer());
    EXPECT_EQ(checker.latestVersionString(), QStringLiteral("4.0.4"));
    EXPECT_EQ(checker.currentVersionString(), QStringLiteral("4.0.3"));
    const auto asked = site.requestTargets().size();
    site.setAnswer(200, "0x500");
    EXPECT_EQ(checker.latestVersion(), 0x404u) << "a known version is kept";
    EXPECT_EQ(site.requestTargets().size(), asked);
    checker.clearCache();
    EXPECT_EQ(checker.latestVersion(), 0x500u);

    site.setAnswer(200, "403");
    checker.clearCache();
    EXPECT_FALSE(checker.hasNewer()) << "the same version is not newer";
}

TEST_F(VersionCheckerTest, TheEnvironmentPointsTheVersionFileAtAnotherServer)
{
    LoopbackHttpServer site;
    ASSERT_TRUE(site.isListening());
    site.setAnswer(200, "404");
    qputenv("BRISKO_VERSION_CHECK_ADDRESS", site.address());
    VersionChecker checker(QStringLiteral("www.ambertide.com"), QStringLiteral("Brisko"), 0x403, 7);
    EXPECT_EQ(checker.latestVersion(), 0x404u);
    qunsetenv("BRISKO_VERSION_CHECK_ADDRESS");
    EXPECT_EQ(site.requestTargets(), QList<QByteArray>{"/brisko/version"});
}

TEST_F(VersionCheckerTest, VersionFilesAndVersionTexts)
{
    EXPECT_EQ(VersionChecker::versionFromFile("403"), 0x403u);
    EXPECT_EQ(VersionChecker::versionFromFile("  0x41a rest"), 0x41au);
    EXPECT_EQ(VersionChecker::versionFromFile("version 4"), 0u);
    EXPECT_EQ(VersionChecker::versionFromFile(""), 0u);
    EXPECT_EQ(VersionChecker::versionFromFile("ffffffffff"), 0xffffffffu);

    EXPECT_EQ(VersionChecker::parseVersionString(QStringLiteral("4")), 0x400u);
    EXPECT_EQ(VersionChecker::parseVersionString(QStringLiteral("4.1")), 0x410u);
    EXPECT_EQ(VersionChecker::parseVersionString(QStringLiteral("4.0.3")), 0x403u);
    EXPECT_EQ(VersionChecker::parseVersionString(QStringLiteral("4.x.3")), 0u);
    EXPECT_EQ(VersionChecker::parseVersionString(QStringLiteral("")), 0u);

    VersionChecker big(QStringLiteral("example.test"), QStringLiteral("Brisko"), 0x1203, 7);
    EXPECT_EQ(big.currentVersionString(), QStringLiteral("18.0.3"));
}

TEST_F(VersionCheckerTest, TheReadyMadeAlertOffersTheProductPage)
{
    auto recording = std::make_unique<RecordingWorkspace>();
    RecordingWorkspace *workspace = recording.get();
    Workspace::setShared(std::move(recording));
    LoopbackHttpServer site;
    ASSERT_TRUE(site.isListening());
    site.setAnswer(200, "404");
    VersionChecker checker = checkerFor(site);

    QStringList texts;
    const auto answer = [&texts](const QString &button) {
        answerNextModal<QMessageBox>([&texts, button](QMessageBox *panel) {
            texts << panel->text() << panel->informativeText();
            for (QAbstractButton *b : panel->buttons()) {
                if (b->text() == button)
                    b->click();
            }
        });
    };
    answer(QStringLiteral("Visit Website"));
    checker.runAlertHasNewer(true);
    answer(QStringLiteral("Visit Website"));
    checker.runAlertHasNewer(false);
    answer(QStringLiteral("Okay"));
    checker.runAlertHasNewer(false);
    // Escape means "Okay", not the button that acts.
    answerNextModal<QMessageBox>(
        [](QMessageBox *panel) { QTest::keyClick(panel, Qt::Key_Escape); });
    checker.runAlertHasNewer(false);
    checker.visitWebsite();

    EXPECT_EQ(texts, (QStringList{
                         QStringLiteral("New Version Available!"),
                         QStringLiteral("Brisko 4.0.4 is now available for download."),
                         QStringLiteral("Latest Version"),
                         QStringLiteral("You are currently running Brisko 4.0.3, the latest "
                                        "version available."),
                         QStringLiteral("Latest Version"),
                         QStringLiteral("You are currently running Brisko 4.0.3, the latest "
                                        "version available."),
                     }));
    const QString page = QString::fromLatin1(site.address()) + QStringLiteral("/brisko");
    ASSERT_EQ(workspace->requests.size(), 3);
    EXPECT_EQ(workspace->requests[0].target, page);
    EXPECT_EQ(workspace->requests[1].target, page);
    EXPECT_EQ(workspace->requests[2].target, page + QLatin1Char('/'));
    Workspace::setShared(nullptr);
}

} // namespace
