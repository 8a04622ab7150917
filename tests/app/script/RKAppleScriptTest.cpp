// SPDX-License-Identifier: MIT
#include "app/script/RKAppleScript.h"
#include "app/script/TellApplication.h"
#include "tests/support/TemporaryHome.h"
#include "tests/support/WaitUntil.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>

namespace {

// Whether the process is gone or a zombie.
bool hasEnded(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close > 0 && text.mid(close + 2, 1) == "Z";
}

RKAppleScript &runner()
{
    return RKAppleScript::sharedInstance();
}

TEST(AppleScriptRunner, ReturnsTheOutputAndAnEmptyErrorOnSuccess)
{
    QVariantMap error{{QStringLiteral("stale"), true}};
    EXPECT_EQ(runner().executeScript(QStringLiteral("printf 'one\\ntwo\\n'"), &error),
              std::optional<QString>(QStringLiteral("one\ntwo")));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(runner().executeScript(QString()), std::optional<QString>(QString()));
}

TEST(AppleScriptRunner, SyntaxErrorIsReportedAndTheNextScriptRuns)
{
    TemporaryHome home;
    const QString marker = home.path() + QLatin1String("/ran");
    QVariantMap error;
    // The check catches the error before any line runs, so the marker is never made.
    EXPECT_FALSE(
        runner()
            .executeScript(QStringLiteral("touch '%1'\nif true; then echo").arg(marker), &error)
            .has_value());
    EXPECT_EQ(error.value(RKAppleScript::ErrorNumberKey).toInt(), RKAppleScript::SyntaxError);
    EXPECT_FALSE(error.value(RKAppleScript::ErrorMessageKey).toString().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(marker));

    EXPECT_EQ(runner().executeScript(QStringLiteral("echo fine"), &error),
              std::optional<QString>(QStringLiteral("fine")));
    EXPECT_TRUE(error.isEmpty());
}

TEST(AppleScriptRunner, FailingScriptGivesItsStatusAndMessage)
{
    QVariantMap error;
    EXPECT_FALSE(
        runner().executeScript(QStringLiteral("echo partial; echo broken >&2; exit 7"), &error));
    EXPECT_EQ(error.value(RKAppleScript::ErrorNumberKey).toInt(), 7);
    EXPECT_EQ(error.value(RKAppleScript::ErrorMessageKey).toString(), QStringLiteral("broken"));
    EXPECT_FALSE(runner().executeScript(QStringLiteral("echo a") + QChar(0) + QStringLiteral("b")));
}

TEST(AppleScriptRunner, TimeOutKillsTheScriptAndEverythingItStarted)
{
    TemporaryHome home;
    const QString pidFile = home.path() + QLatin1String("/child.pid");
    QVariantMap error;
    const std::optional<QString> result = runner().executeScript(
        QStringLiteral("sleep 60 & echo $! > '%1'; wait").arg(pidFile), &error, 1);
    EXPECT_FALSE(result.has_value());
    EXPECT_EQ(error.value(RKAppleScript::ErrorNumberKey).toInt(), RKAppleScript::TimeoutError);

    QFile file(pidFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the script never wrote its child's pid";
    const qint64 child = file.readAll().trimmed().toLongLong();
    ASSERT_GT(child, 0);
    EXPECT_TRUE(waitUntil([child] { return hasEnded(child); }, 10000))
        << "the script's child survived the time-out";

    EXPECT_EQ(runner().executeScript(QStringLiteral("echo after")),
              std::optional<QString>(QStringLiteral("after")));
}

// One runner serves the whole process, so a script to another application is refused during
// a run as well.
TEST(AppleScriptRunner, RequestDuringARunIsRefusedWhoeverAsksAndWithoutAnError)
{
    TemporaryHome home;
    const QString started = home.path() + QLatin1String("/started");
    const QString release = home.path() + QLatin1String("/release");

    std::atomic<bool> refused{false};
    std::atomic<bool> refusedToAnotherApplication{false};
    std::atomic<bool> errorUntouched{false};
    std::atomic<bool> sawStart{false};
    QThread *other = QThread::create([&] {
        sawStart = waitUntil([&] { return QFileInfo::exists(started); }, 30000);
        QVariantMap error{{QStringLiteral("untouched"), true}};
        refused = !runner().executeScript(QStringLiteral("echo second"), &error).has_value();
        errorUntouched = error.contains(QStringLiteral("untouched"));
        refusedToAnotherApplication =
            !TellApplication::_tellApplication(QStringLiteral("Skype"), QStringLiteral("echo ok"))
                 .has_value();
        QFile(release).open(QIODevice::WriteOnly);
    });
    other->start();

    // The first run holds the runner until the other thread has made its attempt.
    const std::optional<QString> first = runner().executeScript(
        QStringLiteral("touch '%1'; while [ ! -e '%2' ]; do sleep 0.02; done; echo first")
            .arg(started, release),
        nullptr, 30);
    ASSERT_TRUE(other->wait(QDeadlineTimer(30000))) << "the second caller never finished";
    delete other;

    ASSERT_TRUE(sawStart) << "the first run never started";
    EXPECT_EQ(first, std::optional<QString>(QStringLiteral("first")));
    EXPECT_TRUE(refused);
    EXPECT_TRUE(refusedToAnotherApplication);
    EXPECT_TRUE(errorUntouched);
}

TEST(AppleScriptRunner, CallersOnOtherThreadsGetTheirResultFromTheMainThread)
{
    std::optional<QString> result;
    QEventLoop loop;
    QThread *other = QThread::create(
        [&] { result = runner().executeScript(QStringLiteral("echo from-thread")); });
    QObject::connect(other, &QThread::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    other->start();
    loop.exec();
    ASSERT_TRUE(other->isFinished()) << "the call from another thread never came back";
    delete other;
    EXPECT_EQ(result, std::optional<QString>(QStringLiteral("from-thread")));
}

} // namespace
