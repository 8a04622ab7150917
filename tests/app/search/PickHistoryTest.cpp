// SPDX-License-Identifier: MIT
#include "app/search/PickHistory.h"

#include "tests/support/TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <sys/stat.h>

namespace {

const QString kWriter = QStringLiteral(BRISKO_BINARY_DIR "/bin/pick-history-writer");
const QDateTime kMonday = QDateTime(QDate(2024, 3, 4), QTime(9, 0), Qt::UTC);

QDateTime daysLater(qint64 days)
{
    return kMonday.addDays(days);
}

class PickHistoryTest : public ::testing::Test
{
protected:
    QString path() const { return PickHistoryFile::path(); }

    void writeRaw(const QByteArray &bytes) const
    {
        ASSERT_TRUE(QDir().mkpath(PickHistoryFile::folder()));
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QStringList keptAside() const
    {
        return QDir(PickHistoryFile::folder())
            .entryList({QStringLiteral("pick-history.json.unreadable-*")}, QDir::Files);
    }

    TemporaryHome home;
};

} // namespace

TEST_F(PickHistoryTest, PicksAddUpAndHalveEveryTwoWeeks)
{
    PickHistory history;
    EXPECT_TRUE(history.isEmpty());
    EXPECT_EQ(history.score(QStringLiteral("ann"), kMonday), 0);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(history.recordPick(QStringLiteral("ann"), kMonday));
    EXPECT_DOUBLE_EQ(history.score(QStringLiteral("ann"), kMonday), 3.0);
    EXPECT_DOUBLE_EQ(history.score(QStringLiteral("ann"), daysLater(14)), 1.5);

    // A pick a month ago counts less than one today.
    ASSERT_TRUE(history.recordPick(QStringLiteral("bob"), kMonday));
    ASSERT_TRUE(history.recordPick(QStringLiteral("cid"), daysLater(30)));
    EXPECT_LT(history.score(QStringLiteral("bob"), daysLater(30)),
              history.score(QStringLiteral("cid"), daysLater(30)));
    // A pick on top of an old score adds to what is left of it.
    ASSERT_TRUE(history.recordPick(QStringLiteral("ann"), daysLater(28)));
    EXPECT_DOUBLE_EQ(history.score(QStringLiteral("ann"), daysLater(28)), 1.75);
    // A clock set back grows nothing.
    EXPECT_DOUBLE_EQ(history.score(QStringLiteral("ann"), kMonday), 1.75);

    // About eight weeks on a single pick no longer counts, and the next write leaves it out.
    const QDateTime later = daysLater(30 + 57);
    EXPECT_EQ(history.score(QStringLiteral("cid"), later), 0);
    EXPECT_FALSE(history.scores(later).contains(QStringLiteral("cid")));
    EXPECT_TRUE(history.scores(daysLater(30 + 55)).contains(QStringLiteral("cid")));
    ASSERT_TRUE(history.recordPick(QStringLiteral("dee"), later));
    PickHistory::Entries stored;
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString error;
    ASSERT_TRUE(PickHistory::fromJson(file.readAll(), &stored, &error)) << qPrintable(error);
    QStringList ids = stored.keys();
    ids.sort();
    EXPECT_EQ(ids, (QStringList{QStringLiteral("ann"), QStringLiteral("dee")}));
}

TEST_F(PickHistoryTest, TheFileIsPrivateAndAnotherProcessSeesEachPick)
{
    PickHistory first;
    ASSERT_TRUE(first.recordPick(QStringLiteral("ann"), kMonday));
    EXPECT_EQ(QFileInfo(path()).absolutePath(),
              home.path() + QStringLiteral("/.local/state/brisko"));
    struct stat file = {}, folder = {};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &file), 0);
    ASSERT_EQ(::stat(QFile::encodeName(PickHistoryFile::folder()).constData(), &folder), 0);
    EXPECT_EQ(file.st_mode & 0777, 0600u);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);

    PickHistory second;
    EXPECT_DOUBLE_EQ(second.score(QStringLiteral("ann"), kMonday), 1.0);
    EXPECT_FALSE(second.reloadIfChanged()) << "an unchanged file was read again";
    // Each pick merges what the other wrote.
    ASSERT_TRUE(second.recordPick(QStringLiteral("bob"), kMonday));
    ASSERT_TRUE(first.recordPick(QStringLiteral("ann"), kMonday));
    EXPECT_DOUBLE_EQ(first.score(QStringLiteral("bob"), kMonday), 1.0);
    EXPECT_TRUE(second.reloadIfChanged());
    EXPECT_DOUBLE_EQ(second.score(QStringLiteral("ann"), kMonday), 2.0);
}

TEST_F(PickHistoryTest, ForgettingRemovesTheFileAndEveryCopyKeptAside)
{
    PickHistory history;
    ASSERT_TRUE(history.recordPick(QStringLiteral("ann"), kMonday));
    PickHistory other;
    QFile::copy(path(), path() + QStringLiteral(".unreadable-20240101T000000Z"));
    ASSERT_TRUE(history.forget());
    EXPECT_TRUE(history.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path()));
    EXPECT_TRUE(keptAside().isEmpty());
    EXPECT_TRUE(other.reloadIfChanged());
    EXPECT_TRUE(other.isEmpty());
    EXPECT_TRUE(PickHistoryFile::remove()) << "forgetting nothing failed";
}

TEST_F(PickHistoryTest, ABrokenFileIsAnEmptyHistoryKeptAsideWithOneMessage)
{
    const auto bytes = [](const QByteArray &data) {
        return [data](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
        };
    };
    const struct
    {
        const char *what;
        std::function<bool(const QString &)> make;
        bool keptAside;
    } cases[] = {
        {"not JSON", bytes("{\"version\": 1, \"picks\": {\"ann\": "), true},
        {"not an object", bytes("[1, 2, 3]"), true},
        {"another version", bytes("{\"version\": 2, \"picks\": {}}"), true},
        {"a score that is text",
         bytes("{\"version\":1,\"picks\":{\"ann\":{\"score\":\"3\",\"at\":0}}}"), true},
        {"a negative score", bytes("{\"version\":1,\"picks\":{\"ann\":{\"score\":-1,\"at\":0}}}"),
         true},
        {"nested deeper than any parser goes", bytes(QByteArray(100000, '[')), true},
        {"larger than any history",
         [](const QString &path) {
             QFile file(path);
             return file.open(QIODevice::WriteOnly) && file.resize(PickHistory::kMaxFileBytes + 1);
         },
         true},
        {"a folder", [](const QString &path) { return QDir().mkdir(path); }, false},
        {"a named pipe",
         [](const QString &path) { return ::mkfifo(QFile::encodeName(path), 0600) == 0; }, false},
    };
    for (const auto &[what, make, movedAside] : cases) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(QDir().mkpath(PickHistoryFile::folder()));
        ASSERT_TRUE(make(path()));

        testing::internal::CaptureStderr();
        PickHistory history;
        EXPECT_TRUE(history.isEmpty());
        EXPECT_FALSE(history.reloadIfChanged());
        // A pick still counts in this process; a file is written only where one can be.
        EXPECT_EQ(history.recordPick(QStringLiteral("ann"), kMonday), movedAside);
        EXPECT_DOUBLE_EQ(history.score(QStringLiteral("ann"), kMonday), 1.0);
        const std::string message = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
        EXPECT_NE(message.find(path().toStdString()), std::string::npos) << message;
        EXPECT_EQ(keptAside().size(), movedAside ? 1 : 0);
        if (movedAside) {
            EXPECT_DOUBLE_EQ(PickHistory(path()).score(QStringLiteral("ann"), kMonday), 1.0);
        }

        ASSERT_TRUE(QDir(PickHistoryFile::folder()).removeRecursively());
    }
}

TEST_F(PickHistoryTest, TwoProcessesNeverLoseEachOthersPicks)
{
    ASSERT_TRUE(QFileInfo(kWriter).isExecutable()) << qPrintable(kWriter);
    constexpr int kRounds = 50;
    QProcess first;
    QProcess second;
    first.start(kWriter, {path(), QString::number(kRounds), QStringLiteral("first"),
                          QStringLiteral("shared")});
    second.start(kWriter, {path(), QString::number(kRounds), QStringLiteral("second"),
                           QStringLiteral("shared")});
    ASSERT_TRUE(first.waitForFinished(60000)) << "the first writer did not finish within a minute";
    ASSERT_TRUE(second.waitForFinished(60000))
        << "the second writer did not finish within a minute";
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();

    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    PickHistory::Entries entries;
    QString error;
    ASSERT_TRUE(PickHistory::fromJson(file.readAll(), &entries, &error)) << qPrintable(error);
    // The picks of one minute: decay takes less than a thousandth off.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const PickHistory history;
    EXPECT_NEAR(history.score(QStringLiteral("first"), now), kRounds, 0.1);
    EXPECT_NEAR(history.score(QStringLiteral("second"), now), kRounds, 0.1);
    EXPECT_NEAR(history.score(QStringLiteral("shared"), now), 2 * kRounds, 0.2);
    EXPECT_TRUE(keptAside().isEmpty());
}
