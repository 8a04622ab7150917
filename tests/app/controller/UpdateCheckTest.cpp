// SPDX-License-Identifier: MIT
#include "app/controller/UpdateCheck.h"
#include "common/utility/RKWebsite.h"
#include "tests/app/controller/ControllerPartTest.h"
#include "tests/doubles/RecordingWorkspace.h"
#include "tests/support/ModalAnswer.h"
#include "tests/support/WaitUntil.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

namespace {

class LaunchUpdateCheck : public ControllerPartTest
{
protected:
    void SetUp() override
    {
        ControllerPartTest::SetUp();
        auto recording = std::make_unique<RecordingWorkspace>();
        workspace = recording.get();
        Workspace::setShared(std::move(recording));
        makeLaunchCheckDue();
    }
    void TearDown() override
    {
        Workspace::setShared(nullptr);
        ControllerPartTest::TearDown();
    }

    RecordingWorkspace *workspace = nullptr;
};

TEST_F(LaunchUpdateCheck, AlertsOnlyWhenDueAndNewer)
{
    const qint64 today = VersionChecker::dayNumber(pinned);
    site.setAnswer(200, "404");

    defaults.setInteger(today + 1, DefNextCheckVersionDay);
    check.checkAutomatically();
    QCoreApplication::processEvents();
    EXPECT_FALSE(check.isLaunchCheckPending()) << "not due yet";
    EXPECT_EQ(defaults.integerForKey(DefNextCheckVersionDay), today + 1);

    defaults.setInteger(today, DefNextCheckVersionDay);
    QSignalSpy ended(&check, &UpdateCheck::launchCheckDidEnd);
    QString text;
    QStringList buttons;
    int openWhileUp = -1;
    answerNextModal<QMessageBox>([&](QMessageBox *panel) {
        text = panel->text();
        openWhileUp = host.openAlerts;
        for (QAbstractButton *button : panel->buttons()) {
            buttons.append(button->text());
            if (button->text() == QStringLiteral("Visit Website"))
                button->click();
        }
    });
    check.checkAutomatically();
    EXPECT_TRUE(check.isLaunchCheckPending());
    ASSERT_TRUE(waitUntil([&ended] { return ended.count() == 1; }));
    EXPECT_FALSE(check.isLaunchCheckPending());
    EXPECT_EQ(text, QStringLiteral("New Version Available!"));
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("Visit Website"), QStringLiteral("Later")}));
    EXPECT_EQ(openWhileUp, 1) << "the alert was not counted while it was up";
    EXPECT_EQ(host.openAlerts, 0);
    EXPECT_EQ(defaults.integerForKey(DefNextCheckVersionDay), today + 7);
    ASSERT_EQ(workspace->requests.size(), 1);
    EXPECT_EQ(workspace->requests.first().target,
              RKWebsite::homePageAddress() + QStringLiteral("brisko"));
}

// The user asked for the menu's check meanwhile: its alert says as much, a second one would only
// bury it.
TEST_F(LaunchUpdateCheck, StaysQuietOverAnOpenAlertOrWithNothingNewerAndStillEnds)
{
    const struct
    {
        const char *what;
        QByteArray published;
        int openAlerts;
    } cases[] = {
        {"an alert is open", "404", 1},
        {"this is the latest", "403", 0},
        {"the site answers nothing usable", "", 0},
    };
    for (const auto &c : cases) {
        check.versionChecker().clearCache();
        makeLaunchCheckDue();
        site.setAnswer(200, c.published);
        host.openAlerts = c.openAlerts;
        QSignalSpy ended(&check, &UpdateCheck::launchCheckDidEnd);
        check.checkAutomatically();
        ASSERT_TRUE(waitUntil([&ended] { return ended.count() == 1; })) << c.what;
        EXPECT_EQ(host.alertsOpened, 0) << c.what;
        EXPECT_FALSE(check.isLaunchCheckPending()) << c.what;
    }
    EXPECT_TRUE(workspace->requests.isEmpty());
}

} // namespace
