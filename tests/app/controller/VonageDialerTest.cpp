// SPDX-License-Identifier: MIT
#include "controller/VonageDialer.h"
#include "LoopbackHttpServer.h"
#include "SettingsKeys.h"
#include "TemporaryHome.h"
#include "settings/UserDefaults.h"
#include "utility/ClickToCallService.h"

#include <QEvent>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

/// Notes the label's text each time it is painted.
class PaintedTexts final : public QObject
{
public:
    explicit PaintedTexts(QLabel &label)
        : _label(label)
    {
        label.installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &_label && event->type() == QEvent::Paint)
            texts.append(_label.text());
        return false;
    }
    QStringList texts;

private:
    QLabel &_label;
};

// The request holds the event loop: a status line that only changed its text would still read
// what it read before while the call is placed.
TEST(VonageDialer, TheStatusLineIsPaintedSayingDialingBeforeTheServiceAnswers)
{
    TemporaryHome home;
    LoopbackHttpServer service;
    ASSERT_TRUE(service.isListening());
    ClickToCallService::setServiceAddress(QString::fromLatin1(service.address()));
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    defaults.setObject(QStringLiteral("ann"), DefVonageName);
    defaults.setObject(QStringLiteral("15550001111"), DefSelectedVonageNumber);
    service.setAnswer(200, "000 call placed");

    QLabel statusLine(QStringLiteral("Brisko"));
    statusLine.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&statusLine));
    PaintedTexts painted(statusLine);
    VonageDialer dialer(statusLine);
    dialer.dialWithVonage(QStringLiteral("555 0100"));
    EXPECT_EQ(painted.texts, QStringList{QStringLiteral("Dialing ...")});
    EXPECT_EQ(statusLine.text(), QString());
    ASSERT_EQ(service.requestTargets().size(), 1);
    EXPECT_TRUE(service.requestTargets().first().contains("tonumber=5550100"))
        << service.requestTargets().first().constData();

    ClickToCallService::setServiceAddress(QString());
    for (const QString &key : {DefVonageName, DefSelectedVonageNumber})
        defaults.removeObjectForKey(key);
}

} // namespace
