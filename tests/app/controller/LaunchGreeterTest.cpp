// SPDX-License-Identifier: MIT
#include "app/controller/LaunchGreeter.h"
#include "app/chrome/SplashWindow.h"
#include "app/hotkey/HotKeyNotices.h"
#include "tests/app/controller/ControllerPartTest.h"
#include "tests/support/ModalAnswer.h"
#include "tests/support/WaitUntil.h"

#include <QMessageBox>

#include <gtest/gtest.h>

namespace {

TEST(LaunchGreeting, SharePromptAfterAHundredActivationsOnceAndNeverWithTheSplash)
{
    using G = LaunchGreeter::Greeting;
    EXPECT_EQ(LaunchGreeter::launchGreeting(101, false, true), G::SharePrompt);
    EXPECT_EQ(LaunchGreeter::launchGreeting(101, false, false), G::SharePrompt);
    EXPECT_EQ(LaunchGreeter::launchGreeting(100, false, true), G::Splash);
    EXPECT_EQ(LaunchGreeter::launchGreeting(101, true, true), G::Splash);
    EXPECT_EQ(LaunchGreeter::launchGreeting(101, true, false), G::Nothing);
    EXPECT_EQ(LaunchGreeter::launchGreeting(0, false, false), G::Nothing);
}

class Greeter : public ControllerPartTest
{
protected:
    void SetUp() override
    {
        ControllerPartTest::SetUp();
        host.hotKey = KeyCombo(49, KeyCombo::controlKey | KeyCombo::optionKey);
        defaults.setBool(true, DefShowSplash);
        QObject::connect(&check, &UpdateCheck::launchCheckDidEnd, &greeter,
                         &LaunchGreeter::greetWhenDue);
    }
    void TearDown() override
    {
        for (const QString &key : {DefShowSplash, DefActivationCount, DefHasPromptedToShare})
            defaults.removeObjectForKey(key);
        ControllerPartTest::TearDown();
    }

    bool splashIsUp() const { return greeter.splashWindow()->isVisible(); }

    LaunchGreeter greeter{host, check};
};

TEST_F(Greeter, TheSplashShowsTheHotKeyAndWhyItFailsOnceTheLaunchHasFinished)
{
    host.failure = HotKeyFailure{HotKeyFailure::Cause::Taken, QString()};
    greeter.greetWhenDue();
    EXPECT_FALSE(splashIsUp()) << "greeted before the launch had finished";

    greeter.launchDidFinish();
    ASSERT_TRUE(splashIsUp());
    EXPECT_TRUE(greeter.splashWindow()->text().contains(host.hotKey.description()))
        << qPrintable(greeter.splashWindow()->text());
    EXPECT_EQ(greeter.splashWindow()->note(), HotKeyNotices::splashNote(*host.failure));

    greeter.splashWindow()->hide();
    greeter.greetWhenDue();
    EXPECT_FALSE(splashIsUp()) << "greeted twice";
}

TEST_F(Greeter, TheGreetingWaitsForTheLaunchCheckAndForAnOpenAlert)
{
    // A launch check out with a site that holds its answer.
    makeLaunchCheckDue();
    site.setAnswer(200, "403");
    site.setSilent(true);
    check.checkAutomatically();
    ASSERT_TRUE(check.isLaunchCheckPending());
    host.openAlerts = 1;

    greeter.launchDidFinish();
    EXPECT_FALSE(splashIsUp()) << "greeted while the launch check was out";
    site.releaseHeldRequests();
    ASSERT_TRUE(waitUntil([this] { return !check.isLaunchCheckPending(); }));
    EXPECT_FALSE(splashIsUp()) << "greeted over an open alert";

    host.openAlerts = 0;
    greeter.greetWhenDue();
    EXPECT_TRUE(splashIsUp());
}

TEST_F(Greeter, AnEstablishedUserIsAskedToShareOnceAndThenSeesNoSplash)
{
    defaults.setInteger(101, DefActivationCount);
    QString asked;
    int openWhileUp = -1;
    answerNextModal<QMessageBox>([&](QMessageBox *panel) {
        asked = panel->text();
        openWhileUp = host.openAlerts;
        panel->reject();
    });
    greeter.launchDidFinish();
    EXPECT_EQ(asked, QStringLiteral("Thank you for choosing Brisko"));
    EXPECT_EQ(openWhileUp, 1);
    EXPECT_EQ(host.openAlerts, 0);
    EXPECT_EQ(host.activations, 1) << "the application did not come forward after the prompt";
    EXPECT_FALSE(splashIsUp());
    EXPECT_TRUE(defaults.boolForKey(DefHasPromptedToShare));
    EXPECT_TRUE(UserDefaults::persistentDomainForName(defaults.domain())
                    .value(DefHasPromptedToShare)
                    .toBool())
        << "the prompt would come again at the next launch";
}

} // namespace
