// SPDX-License-Identifier: MIT
#include "app/controller/VonageDialer.h"
#include "common/SettingsKeys.h"
#include "common/utility/ClickToCallService.h"
#include "platform/settings/UserDefaults.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TemporaryHome.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>

namespace {

// A service that takes its time must not hold the window, the hot key or the bus: the dial
// returns at once with "Dialing ..." said, and the outcome follows from the event loop.
TEST(VonageDialer, SaysDialingAtOnceAndTheOutcomeWhenTheServiceAnswers)
{
    TemporaryHome home;
    LoopbackHttpServer service;
    ASSERT_TRUE(service.isListening());
    ClickToCallService::setServiceAddress(QString::fromLatin1(service.address()));
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    defaults.setObject(QStringLiteral("ann"), DefVonageName);
    defaults.setObject(QStringLiteral("15550001111"), DefSelectedVonageNumber);
    service.setAnswer(200, "000 call placed");

    QStringList said;
    VonageDialer dialer([&said](const QString &text) { said.append(text); });
    dialer.dialWithVonage(QStringLiteral("555 0100"));
    EXPECT_EQ(said, QStringList{QStringLiteral("Dialing ...")});
    EXPECT_TRUE(waitUntil([&] { return said.size() == 2; }));
    EXPECT_EQ(said, (QStringList{QStringLiteral("Dialing ..."), QString()}));
    ASSERT_EQ(service.requestTargets().size(), 1);
    EXPECT_TRUE(service.requestTargets().first().contains("tonumber=5550100"))
        << service.requestTargets().first().constData();

    ClickToCallService::setServiceAddress(QString());
    for (const QString &key : {DefVonageName, DefSelectedVonageNumber})
        defaults.removeObjectForKey(key);
}

} // namespace
