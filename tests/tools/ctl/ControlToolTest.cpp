// SPDX-License-Identifier: MIT
#include "tools/ctl/ControlTool.h"
#include "platform/notifications/ControlCommands.h"
#include "platform/notifications/DistributedNotificationCenter.h"
#include "tests/e2e/support/PrivateBusTest.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int Timeout = 10000;
const QString Ctl = QStringLiteral(BRISKO_BINARY_DIR "/bin/brisko-ctl");
const QString Peer =
    QStringLiteral(BRISKO_BINARY_DIR "/tests/platform/notifications/brisko-notification-peer");
const QString Name = ControlCommands::NotificationName;

class ControlToolTest : public PrivateBusTest
{
};

TEST_F(ControlToolTest, PostSendsTheCommandWithPairsAsUserInfo)
{
    ChildProcess observer(
        Peer, {QStringLiteral("observe"), Name, QStringLiteral("*"), QStringLiteral("1")});
    ASSERT_TRUE(observer.waitForLine(QStringLiteral("ready"), Timeout))
        << qPrintable(observer.standardError());

    ChildProcess ctl(Ctl, {QStringLiteral("post"), QStringLiteral("SetTab"),
                           QStringLiteral("identifier=about"), QStringLiteral("note=a=b c")});
    ASSERT_TRUE(ctl.waitForFinished(Timeout));
    EXPECT_EQ(ctl.exitCode(), 0) << qPrintable(ctl.standardError());

    const auto line = observer.readLine(Timeout);
    ASSERT_TRUE(line.has_value()) << "the observer heard nothing";
    const QJsonObject heard = QJsonDocument::fromJson(line->toUtf8()).object();
    EXPECT_EQ(heard[QStringLiteral("name")].toString(), Name);
    EXPECT_EQ(heard[QStringLiteral("object")].toString(), QStringLiteral("SetTab"));
    EXPECT_EQ(heard[QStringLiteral("userInfo")].toObject(),
              (QJsonObject{{QStringLiteral("identifier"), QStringLiteral("about")},
                           {QStringLiteral("note"), QStringLiteral("a=b c")}}));
}

TEST_F(ControlToolTest, MonitorPrintsEachControlNotificationOnItsOwnLine)
{
    ChildProcess monitor(Ctl, {QStringLiteral("monitor")});
    ASSERT_TRUE(monitor.waitForError(QStringLiteral("monitoring"), Timeout))
        << qPrintable(monitor.standardError());

    DistributedNotificationCenter center;
    center.postNotification(Name, ControlCommands::SetTab,
                            {{QStringLiteral("identifier"), QStringLiteral("preferences")},
                             {QStringLiteral("nested"), QVariantMap{{QStringLiteral("n"), 1}}}});
    center.postNotification(QStringLiteral("org.example.Other"), QStringLiteral("Elsewhere"));
    center.postNotification(Name, QStringLiteral("Line\nBreak"));
    center.postNotification(Name, ControlCommands::Refresh);
    ASSERT_TRUE(center.flush());

    EXPECT_EQ(monitor.readLine(Timeout),
              QStringLiteral(R"(SetTab identifier=preferences nested={"n":1})"));
    // A command with a line break must not split the one-line-per-notification output.
    EXPECT_EQ(monitor.readLine(Timeout), QStringLiteral(R"("Line\nBreak")"));
    EXPECT_EQ(monitor.readLine(Timeout), QStringLiteral("Refresh"));
}

TEST_F(ControlToolTest, PingSucceedsOnlyWhenTheApplicationAnswers)
{
    {
        ChildProcess ctl(Ctl, {QStringLiteral("ping")});
        ASSERT_TRUE(ctl.waitForFinished(Timeout));
        EXPECT_EQ(ctl.exitCode(), 1);
        EXPECT_EQ(ctl.readLine(0), QStringLiteral("Brisko is not running."));
    }
    ChildProcess responder(Peer, {QStringLiteral("respond"), ControlCommands::ControlDidStart,
                                  ControlCommands::AppDidLaunch});
    ASSERT_TRUE(responder.waitForLine(QStringLiteral("ready"), Timeout))
        << qPrintable(responder.standardError());
    ChildProcess ctl(Ctl, {QStringLiteral("ping")});
    ASSERT_TRUE(ctl.waitForFinished(Timeout));
    EXPECT_EQ(ctl.exitCode(), 0) << qPrintable(ctl.standardError());
    EXPECT_EQ(ctl.readLine(0), QStringLiteral("Brisko is running."));
}

TEST_F(ControlToolTest, ShowFailsWhenNoCopyRuns)
{
    ChildProcess ctl(Ctl, {QStringLiteral("show")});
    ASSERT_TRUE(ctl.waitForFinished(Timeout));
    EXPECT_EQ(ctl.exitCode(), 1);
    EXPECT_TRUE(ctl.standardError().contains(QLatin1String("Brisko is not running.")))
        << qPrintable(ctl.standardError());
}

TEST_F(ControlToolTest, BadCommandLinesExitWithUsageAndSendNothing)
{
    ChildProcess observer(Peer, {QStringLiteral("observe"), QStringLiteral("*"),
                                 QStringLiteral("*"), QStringLiteral("1")});
    ASSERT_TRUE(observer.waitForLine(QStringLiteral("ready"), Timeout))
        << qPrintable(observer.standardError());
    DistributedNotificationCenter center;
    const QList<QStringList> cases = {
        {},
        {QStringLiteral("launch")},
        {QStringLiteral("post")},
        {QStringLiteral("post"), QString()},
        {QStringLiteral("post"), QStringLiteral("Refresh"), QStringLiteral("novalue")},
        {QStringLiteral("post"), QStringLiteral("Refresh"), QStringLiteral("=value")},
        {QStringLiteral("ping"), QStringLiteral("extra")},
        {QStringLiteral("show"), QStringLiteral("extra")},
    };
    for (const QStringList &arguments : cases) {
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        EXPECT_EQ(ControlTool::run(arguments, outStream, errStream, center), 2)
            << qPrintable(arguments.join(QLatin1Char(' ')));
        EXPECT_TRUE(err.contains(QLatin1String("Usage: brisko-ctl")));
    }
    // The bus keeps one sender's messages in order: whatever the bad lines sent arrives first.
    center.postNotification(QStringLiteral("org.example.Marker"), QStringLiteral("Marker"));
    ASSERT_TRUE(center.flush());
    const auto first = observer.readLine(Timeout);
    ASSERT_TRUE(first.has_value()) << "not even the marker arrived";
    EXPECT_TRUE(first->contains(QLatin1String("\"Marker\""))) << "sent: " << qPrintable(*first);
}

TEST(ControlToolUsage, DescribeWritesPlainWordsBareAndEverythingElseAsJson)
{
    EXPECT_EQ(ControlTool::describe(QStringLiteral("Refresh"), {}), QStringLiteral("Refresh"));
    EXPECT_EQ(ControlTool::describe(QStringLiteral("SetTab"),
                                    {{QStringLiteral("b"), QStringLiteral("two words")},
                                     {QStringLiteral("a"), QStringLiteral("about")},
                                     {QStringLiteral("c"), 3},
                                     {QStringLiteral("d"), QVariantList{true, QStringLiteral("x")}},
                                     {QStringLiteral("e"), QStringLiteral("k=v")}}),
              QStringLiteral(R"(SetTab a=about b="two words" c=3 d=[true,"x"] e="k=v")"));
}

// Names, keys and values come from any program on the bus; none may drive the terminal or
// break the one-line format.
TEST(ControlToolUsage, DescribeEscapesControlCharactersAndQuotesKeysThatAreNoPlainWords)
{
    const struct
    {
        QString command;
        QVariantMap userInfo;
        const char *line;
    } cases[] = {
        {QStringLiteral("Refresh\x1b[2J"), {}, R"("Refresh\u001b[2J")"},
        {QStringLiteral("SetTab"),
         {{QStringLiteral("line\nkey"), QStringLiteral("v")}},
         R"(SetTab "line\nkey"=v)"},
        {QStringLiteral("SetTab"),
         {{QStringLiteral("k"), QStringLiteral("\x1b]0;owned\x07")}},
         R"(SetTab k="\u001b]0;owned\u0007")"},
        {QStringLiteral("SetTab"),
         {{QStringLiteral("k"), QStringLiteral("C1\u009b DEL\u007f")}},
         R"(SetTab k="C1\u009b DEL\u007f")"},
        {QStringLiteral("SetTab"),
         {{QStringLiteral("k"), QVariantList{QStringLiteral("\u009b")}}},
         R"(SetTab k=["\u009b"])"},
        {QStringLiteral("SetTab"),
         {{QStringLiteral("k"), QStringLiteral("a\tb")}},
         R"(SetTab k="a\tb")"},
        {QStringLiteral("SetTab\u202e"),
         {{QStringLiteral("k"), QStringLiteral("exe.\u202etxt \u2067x\u2069 \u200f")}},
         R"("SetTab\u202e" k="exe.\u202etxt \u2067x\u2069 \u200f")"},
    };
    for (const auto &[command, userInfo, line] : cases)
        EXPECT_EQ(ControlTool::describe(command, userInfo).toStdString(), line);
}

} // namespace
