// SPDX-License-Identifier: MIT
#include "platform/notifications/DistributedNotificationCenter.h"
#include "tests/e2e/support/PrivateBusTest.h"

#include <QDBusObjectPath>
#include <QDBusSignature>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int Timeout = 10000;
const QString PeerPath =
    QStringLiteral(BRISKO_BINARY_DIR "/tests/platform/notifications/brisko-notification-peer");
const QString Name = QStringLiteral("com.ambertide.Brisko");

class DistributedNotificationCenterTest : public PrivateBusTest
{
protected:
    void SetUp() override
    {
        PrivateBusTest::SetUp();
        if (HasFatalFailure())
            return;
        center = std::make_unique<DistributedNotificationCenter>();
        ASSERT_TRUE(center->isAvailable()) << qPrintable(center->unavailableReason());
    }

    /// A peer observing in its own process, ready to hear.
    std::unique_ptr<ChildProcess> observer(const QString &name, const QString &object, int count)
    {
        auto peer = std::make_unique<ChildProcess>(
            PeerPath, QStringList{QStringLiteral("observe"), name, object, QString::number(count)});
        EXPECT_TRUE(peer->started());
        EXPECT_TRUE(peer->waitForLine(QStringLiteral("ready"), Timeout))
            << "observer did not get ready: " << qPrintable(peer->standardError());
        return peer;
    }

    static QJsonObject parse(const std::optional<QString> &line)
    {
        return line ? QJsonDocument::fromJson(line->toUtf8()).object() : QJsonObject();
    }

    std::unique_ptr<DistributedNotificationCenter> center;
    QObject context;
};

TEST_F(DistributedNotificationCenterTest, AnotherProcessHearsNameObjectAndNestedUserInfo)
{
    auto peer = observer(Name, QStringLiteral("*"), 1);
    const QDateTime when(QDate(2026, 3, 1), QTime(12, 30, 5), Qt::UTC);
    const QVariantMap userInfo{
        {QStringLiteral("identifier"), QStringLiteral("about")},
        {QStringLiteral("count"), 3},
        {QStringLiteral("when"), when},
        {QStringLiteral("nested"),
         QVariantMap{{QStringLiteral("list"), QVariantList{1, QStringLiteral("two"), true}},
                     {QStringLiteral("deeper"), QVariantMap{{QStringLiteral("x"), 1.5}}}}},
        {QStringLiteral("broken"), QVariant()},
    };
    ASSERT_TRUE(center->postNotification(Name, QStringLiteral("SetTab"), userInfo));

    const QJsonObject heard = parse(peer->readLine(Timeout));
    ASSERT_FALSE(heard.isEmpty()) << "the peer heard nothing: "
                                  << qPrintable(peer->standardError());
    EXPECT_EQ(heard[QStringLiteral("name")].toString(), Name);
    EXPECT_EQ(heard[QStringLiteral("object")].toString(), QStringLiteral("SetTab"));
    const QJsonObject info = heard[QStringLiteral("userInfo")].toObject();
    EXPECT_EQ(info[QStringLiteral("identifier")].toString(), QStringLiteral("about"));
    EXPECT_EQ(info[QStringLiteral("count")].toInt(), 3);
    EXPECT_EQ(QDateTime::fromString(info[QStringLiteral("when")].toString(), Qt::ISODateWithMs),
              when);
    const QJsonObject nested = info[QStringLiteral("nested")].toObject();
    EXPECT_EQ(nested[QStringLiteral("list")].toArray(),
              (QJsonArray{1, QStringLiteral("two"), true}));
    EXPECT_EQ(nested[QStringLiteral("deeper")].toObject()[QStringLiteral("x")].toDouble(), 1.5);
    // The invalid value is left out instead of taking the sender down.
    EXPECT_FALSE(info.contains(QStringLiteral("broken")));
}

TEST_F(DistributedNotificationCenterTest, ObserversHearOnlyTheirNameAndObject)
{
    QStringList heard;
    center->addObserver(&context, Name, QStringLiteral("Refresh"),
                        [&](const DistributedNotification &n) { heard << n.object; });
    QStringList any;
    center->addObserver(&context, Name, QString(),
                        [&](const DistributedNotification &n) { any << n.object; });
    ASSERT_TRUE(center->flush());

    for (const auto &[name, object] :
         {std::pair{Name, QStringLiteral("Resume")},
          std::pair{QStringLiteral("org.example.Other"), QStringLiteral("Refresh")},
          std::pair{Name, QStringLiteral("Refresh")}}) {
        ChildProcess poster(PeerPath, {QStringLiteral("post"), name, object});
        ASSERT_TRUE(poster.waitForFinished(Timeout) && poster.exitCode() == 0)
            << qPrintable(poster.standardError());
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return any.size() == 2; }, Timeout))
        << "heard " << qPrintable(any.join(QLatin1Char(',')));
    EXPECT_EQ(any, (QStringList{QStringLiteral("Resume"), QStringLiteral("Refresh")}));
    EXPECT_EQ(heard, QStringList{QStringLiteral("Refresh")});
}

TEST_F(DistributedNotificationCenterTest, NestedValuesFromAnotherProcessArrivePlain)
{
    QList<DistributedNotification> heard;
    center->addObserver(&context, Name, QStringLiteral("Nested"),
                        [&](const DistributedNotification &n) { heard << n; });
    ASSERT_TRUE(center->flush());
    ChildProcess poster(PeerPath, {QStringLiteral("post"), Name, QStringLiteral("Nested"),
                                   QStringLiteral(R"({"a":{"b":[1,{"c":"d"}]},"s":"t"})")});
    ASSERT_TRUE(poster.waitForFinished(Timeout) && poster.exitCode() == 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !heard.isEmpty(); }, Timeout))
        << "nothing arrived within 10 s";
    const QVariantMap info = heard.first().userInfo;
    EXPECT_EQ(info.value(QStringLiteral("s")).toString(), QStringLiteral("t"));
    const QVariant a = info.value(QStringLiteral("a"));
    ASSERT_EQ(a.metaType().id(), QMetaType::QVariantMap);
    const QVariant b = a.toMap().value(QStringLiteral("b"));
    ASSERT_EQ(b.metaType().id(), QMetaType::QVariantList);
    ASSERT_EQ(b.toList().size(), 2);
    EXPECT_EQ(b.toList()[0].toInt(), 1);
    ASSERT_EQ(b.toList()[1].metaType().id(), QMetaType::QVariantMap);
    EXPECT_EQ(b.toList()[1].toMap().value(QStringLiteral("c")).toString(), QStringLiteral("d"));
}

// Qt empties an object path or signature it finds malformed, and an empty one fails the whole
// signal; the value must go, not the notification.
TEST_F(DistributedNotificationCenterTest, MalformedBusValuesAreLeftOutAndTheRestArrives)
{
    QList<DistributedNotification> heard;
    center->addObserver(&context, Name, QStringLiteral("Paths"),
                        [&](const DistributedNotification &n) { heard << n; });
    ASSERT_TRUE(center->flush());
    ASSERT_TRUE(center->postNotification(
        Name, QStringLiteral("Paths"),
        {{QStringLiteral("badPath"),
          QVariant::fromValue(QDBusObjectPath(QStringLiteral("not/absolute")))},
         {QStringLiteral("noPath"), QVariant::fromValue(QDBusObjectPath())},
         {QStringLiteral("badSignature"),
          QVariant::fromValue(QDBusSignature(QStringLiteral("((")))},
         {QStringLiteral("path"),
          QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/example/A")))},
         {QStringLiteral("signature"),
          QVariant::fromValue(QDBusSignature(QStringLiteral("a{sv}")))},
         {QStringLiteral("text"), QStringLiteral("kept")}}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !heard.isEmpty(); }, Timeout))
        << "the notification never arrived";
    const QVariantMap info = heard.first().userInfo;
    EXPECT_EQ(info.value(QStringLiteral("text")).toString(), QStringLiteral("kept"));
    EXPECT_EQ(info.value(QStringLiteral("path")).toString(), QStringLiteral("/org/example/A"));
    EXPECT_EQ(info.value(QStringLiteral("signature")).toString(), QStringLiteral("a{sv}"));
    EXPECT_FALSE(info.contains(QStringLiteral("badPath")));
    EXPECT_FALSE(info.contains(QStringLiteral("noPath")));
    EXPECT_FALSE(info.contains(QStringLiteral("badSignature")));
}

TEST_F(DistributedNotificationCenterTest, HandlersMayRemoveObserversAndEndedContextsHearNothing)
{
    int first = 0;
    int second = 0;
    auto transient = std::make_unique<QObject>();
    DistributedNotificationCenter::ObserverId secondId = 0;
    center->addObserver(&context, Name, QString(), [&](const DistributedNotification &) {
        ++first;
        center->removeObserver(secondId);
    });
    secondId = center->addObserver(&context, Name, QString(),
                                   [&](const DistributedNotification &) { ++second; });
    int ended = 0;
    center->addObserver(transient.get(), Name, QString(),
                        [&](const DistributedNotification &) { ++ended; });
    transient.reset();

    ASSERT_TRUE(center->postNotification(Name, QStringLiteral("One")));
    ASSERT_TRUE(center->postNotification(Name, QStringLiteral("Two")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return first == 2; }, Timeout));
    EXPECT_EQ(second, 0);
    EXPECT_EQ(ended, 0);
}

TEST(DistributedNotificationUserInfo, OnlyWhatTheBusCarriesIsSent)
{
    const QDate date(2026, 1, 2);
    const QVariantMap cleaned = DistributedNotificationCenter::cleanedUserInfo({
        {QStringLiteral("invalid"), QVariant()},
        {QStringLiteral("null"), QVariant::fromValue(nullptr)},
        {QStringLiteral("date"), date},
        {QStringLiteral("url"), QUrl(QStringLiteral("https://example.org/a b"))},
        {QStringLiteral("float"), 0.5f},
        {QStringLiteral("list"), QVariantList{QVariant(), 1}},
        {QStringLiteral("map"), QVariantMap{{QStringLiteral("gone"), QVariant()}}},
        {QStringLiteral("text"), QStringLiteral("x")},
    });
    EXPECT_FALSE(cleaned.contains(QStringLiteral("invalid")));
    EXPECT_FALSE(cleaned.contains(QStringLiteral("null")));
    EXPECT_EQ(cleaned.value(QStringLiteral("date")), QVariant(QStringLiteral("2026-01-02")));
    EXPECT_EQ(cleaned.value(QStringLiteral("url")).metaType().id(), QMetaType::QString);
    EXPECT_EQ(cleaned.value(QStringLiteral("float")).metaType().id(), QMetaType::Double);
    EXPECT_EQ(cleaned.value(QStringLiteral("list")).toList(), QVariantList{1});
    EXPECT_TRUE(cleaned.value(QStringLiteral("map")).toMap().isEmpty());
    EXPECT_EQ(cleaned.value(QStringLiteral("text")), QVariant(QStringLiteral("x")));
}

} // namespace
