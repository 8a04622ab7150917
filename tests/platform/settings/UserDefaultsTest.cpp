// SPDX-License-Identifier: MIT
#include "platform/settings/UserDefaults.h"
#include "platform/core/PropertyList.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/TemporaryHome.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPoint>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kDomain = QStringLiteral("org.example.BriskoTest");
const QString kWriter = QStringLiteral(BRISKO_BINARY_DIR "/bin/settings-writer");

class UserDefaultsTest : public ::testing::Test
{
protected:
    QString path() const { return UserDefaults::pathForDomain(kDomain); }

    QVariantMap onDisk() const { return PropertyList::readFile(path()).toMap(); }

    void writeRaw(const QByteArray &bytes) const
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Whether another writer could take the domain's lock at this moment.
    bool lockIsFree() const
    {
        const QByteArray lockPath = QFile::encodeName(path() + QStringLiteral(".lock"));
        const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        ::close(fd);
        return free;
    }

    QStringList keptAside() const
    {
        return QDir(home.configHome())
            .entryList({kDomain + QStringLiteral(".plist.unreadable-*")}, QDir::Files);
    }

    TemporaryHome home;
};

} // namespace

TEST_F(UserDefaultsTest, ReadsSeeOwnChangesOverTheFileOverRegisteredDefaults)
{
    EXPECT_EQ(path(), home.configHome() + QStringLiteral("/org.example.BriskoTest.plist"));
    UserDefaults defaults(kDomain);
    defaults.registerDefaults({{QStringLiteral("a"), qint64(1)}, {QStringLiteral("b"), qint64(2)}});
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("a")), 1);

    UserDefaults other(kDomain);
    other.setInteger(10, QStringLiteral("a"));
    ASSERT_TRUE(other.synchronize());
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("a")), 1) << "read before synchronising";
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("a")), 10);

    defaults.setInteger(20, QStringLiteral("a"));
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("a")), 20);
    defaults.removeObjectForKey(QStringLiteral("a"));
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("a")), 1) << "removal uncovers the default";
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_FALSE(onDisk().contains(QStringLiteral("a")));
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("b")), 2);
}

TEST_F(UserDefaultsTest, EachWriterAppliesOnlyTheKeysItChanged)
{
    UserDefaults first(kDomain);
    UserDefaults second(kDomain);
    first.objectForKey(QStringLiteral("x")); // both have read the (empty) file
    second.objectForKey(QStringLiteral("x"));
    first.setObject(QStringLiteral("one"), QStringLiteral("first"));
    second.setObject(QStringLiteral("two"), QStringLiteral("second"));
    ASSERT_TRUE(first.synchronize());
    ASSERT_TRUE(second.synchronize());
    EXPECT_EQ(onDisk().value(QStringLiteral("first")), QVariant(QStringLiteral("one")));
    EXPECT_EQ(onDisk().value(QStringLiteral("second")), QVariant(QStringLiteral("two")));

    // A removal here must not undo the other writer's later value of another key.
    first.removeObjectForKey(QStringLiteral("first"));
    second.setObject(QStringLiteral("three"), QStringLiteral("second"));
    ASSERT_TRUE(second.synchronize());
    ASSERT_TRUE(first.synchronize());
    EXPECT_FALSE(onDisk().contains(QStringLiteral("first")));
    EXPECT_EQ(onDisk().value(QStringLiteral("second")), QVariant(QStringLiteral("three")));
    EXPECT_EQ(first.stringForKey(QStringLiteral("second")), QStringLiteral("three"));
}

// An observer may show an alert or synchronise a domain itself; no other writer may have to
// wait for it, and a synchronise from inside it must not wait on its own caller.
TEST_F(UserDefaultsTest, ChangeObserversRunWithTheDomainUnlocked)
{
    UserDefaults defaults(kDomain);
    defaults.objectForKey(QStringLiteral("x"));
    UserDefaults other(kDomain);
    other.setObject(QStringLiteral("theirs"), QStringLiteral("other"));
    ASSERT_TRUE(other.synchronize());

    QStringList lockedDuring;
    int changes = 0;
    QString step;
    QObject::connect(&defaults, &UserDefaults::didChange, [&] {
        ++changes;
        if (!lockIsFree())
            lockedDuring << step;
    });
    step = QStringLiteral("reading another writer's value");
    ASSERT_TRUE(defaults.synchronize());
    step = QStringLiteral("a change here");
    defaults.setObject(QStringLiteral("mine"), QStringLiteral("own"));
    step = QStringLiteral("writing a change");
    ASSERT_TRUE(defaults.synchronize());

    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(lockedDuring.isEmpty()) << qPrintable(lockedDuring.join(QStringLiteral(", ")));
    EXPECT_EQ(defaults.stringForKey(QStringLiteral("other")), QStringLiteral("theirs"));
}

TEST_F(UserDefaultsTest, FileIsPrivateAndKeepsEveryKindOfValue)
{
    UserDefaults defaults(kDomain);
    defaults.setInteger(-42, QStringLiteral("negative"));
    defaults.setFloat(2.5, QStringLiteral("real"));
    defaults.setBool(true, QStringLiteral("switch"));
    defaults.setObject(QByteArray("\x00\xff", 2), QStringLiteral("data"));
    defaults.setObject(QVariantList{QStringLiteral("a"), qint64(1)}, QStringLiteral("array"));
    ASSERT_TRUE(defaults.synchronize());

    struct stat info
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    UserDefaults reader(kDomain);
    EXPECT_EQ(reader.integerForKey(QStringLiteral("negative")), -42);
    EXPECT_DOUBLE_EQ(reader.floatForKey(QStringLiteral("real")), 2.5);
    EXPECT_TRUE(reader.boolForKey(QStringLiteral("switch")));
    EXPECT_EQ(reader.dataForKey(QStringLiteral("data")), QByteArray("\x00\xff", 2));
    EXPECT_EQ(reader.arrayForKey(QStringLiteral("array")).size(), 2);
    EXPECT_TRUE(reader.stringForKey(QStringLiteral("array")).isEmpty());
    EXPECT_TRUE(reader.arrayForKey(QStringLiteral("real")).isEmpty());
    EXPECT_EQ(reader.stringForKey(QStringLiteral("negative")), QStringLiteral("-42"));
}

// The file holds the click-to-call password as plain text; it must not wait for the next
// write to stop being readable by others.
TEST_F(UserDefaultsTest, ASettingsFileOthersMayReadIsMadePrivateWhenFirstReadWithOneMessage)
{
    writeRaw(PropertyList::toXml(
        QVariantMap{{QStringLiteral("VonagePassword"), QStringLiteral("se&cret")}}));
    const QByteArray name = QFile::encodeName(path());
    ASSERT_EQ(::chmod(name.constData(), 0644), 0);

    testing::internal::CaptureStderr();
    EXPECT_EQ(UserDefaults(kDomain).stringForKey(QStringLiteral("VonagePassword")),
              QStringLiteral("se&cret"));
    UserDefaults(kDomain).objectForKey(QStringLiteral("VonagePassword"));
    const std::string message = testing::internal::GetCapturedStderr();

    struct stat info
    {
    };
    ASSERT_EQ(::stat(name.constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    EXPECT_NE(message.find(path().toStdString()), std::string::npos) << message;
}

TEST_F(UserDefaultsTest, ALinkedSettingsFileStaysLinkedAndGetsTheChanges)
{
    const QString dotfiles = home.path() + QStringLiteral("/dotfiles");
    ASSERT_TRUE(QDir().mkpath(dotfiles));
    const QString kept = dotfiles + QStringLiteral("/settings.plist");
    ASSERT_TRUE(QDir().mkpath(home.configHome()));
    ASSERT_TRUE(QFile::link(kept, path())); // dangling until the first write

    UserDefaults defaults(kDomain);
    defaults.setObject(QStringLiteral("first"), QStringLiteral("key"));
    ASSERT_TRUE(defaults.synchronize());
    defaults.setObject(QStringLiteral("second"), QStringLiteral("key"));
    ASSERT_TRUE(defaults.synchronize());

    EXPECT_TRUE(QFileInfo(path()).isSymLink()) << "the link was replaced by a file";
    EXPECT_EQ(PropertyList::readFile(kept).toMap().value(QStringLiteral("key")).toString(),
              QStringLiteral("second"));
    EXPECT_FALSE(QFileInfo::exists(kept + QStringLiteral(".tmp")));
}

TEST_F(UserDefaultsTest, ValuesWithoutPropertyListFormAreRefusedAndNothingChanges)
{
    UserDefaults defaults(kDomain);
    defaults.setObject(QStringLiteral("kept"), QStringLiteral("k"));
    testing::internal::CaptureStderr();
    defaults.setObject(QVariant::fromValue(QPoint(1, 2)), QStringLiteral("k"));
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("\"k\""), std::string::npos) << message;
    EXPECT_EQ(defaults.stringForKey(QStringLiteral("k")), QStringLiteral("kept"));
}

TEST_F(UserDefaultsTest, BrokenFileIsKeptAsideReportedAndDefaultsServed)
{
    const QByteArray garbage("<plist><dict><key>HotKey</key><data>AAA");
    writeRaw(garbage);
    UserDefaults defaults(kDomain);
    defaults.registerDefaults({{QStringLiteral("ShowSplash"), true}});

    testing::internal::CaptureStderr();
    EXPECT_TRUE(defaults.boolForKey(QStringLiteral("ShowSplash")));
    const std::string message = testing::internal::GetCapturedStderr();

    const QStringList aside = keptAside();
    ASSERT_EQ(aside.size(), 1);
    const QString asidePath = home.configHome() + QLatin1Char('/') + aside.first();
    QFile kept(asidePath);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), garbage);
    EXPECT_NE(message.find(path().toStdString()), std::string::npos) << message;
    EXPECT_NE(message.find(asidePath.toStdString()), std::string::npos) << message;

    // Reported once: further reads say nothing more.
    testing::internal::CaptureStderr();
    defaults.objectForKey(QStringLiteral("HotKey"));
    EXPECT_TRUE(testing::internal::GetCapturedStderr().empty());

    // A second broken file gets a name of its own; the first copy is never overwritten.
    writeRaw("[1, 2, 3]"); // not a dictionary either
    testing::internal::CaptureStderr();
    defaults.setBool(false, QStringLiteral("ShowSplash"));
    ASSERT_TRUE(defaults.synchronize());
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(keptAside().size(), 2);
    ASSERT_TRUE(kept.seek(0));
    EXPECT_EQ(kept.readAll(), garbage);
    EXPECT_EQ(onDisk().value(QStringLiteral("ShowSplash")), QVariant(false));
}

// Every program sharing the domain reads this file at every start: whatever stands there must
// neither crash, hang nor flood the reader. Files are kept aside; what is no file is left alone.
TEST_F(UserDefaultsTest, HostileSettingsFilesLeaveTheFactorySettingsInForceWithOneMessage)
{
    const auto writeBytes = [](const QByteArray &bytes) {
        return [bytes](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
                   file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        };
    };
    const struct
    {
        const char *what;
        std::function<bool(const QString &)> make;
        bool keptAside;
    } cases[] = {
        {"XML nested 35000 levels", writeBytes(HostileFiles::nestedXmlList(35000)), true},
        {"binary nested 35000 levels", writeBytes(HostileFiles::nestedBinaryList(35000, 1)), true},
        {"binary doubling at each of 40 levels", writeBytes(HostileFiles::nestedBinaryList(40, 2)),
         true},
        {"larger than 64 MB",
         [](const QString &path) {
             QFile file(path);
             return file.open(QIODevice::WriteOnly) && file.resize(65 * 1024 * 1024) &&
                    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
         },
         true},
        {"a named pipe",
         [](const QString &path) { return ::mkfifo(QFile::encodeName(path), 0600) == 0; }, false},
        {"a link to /dev/zero",
         [](const QString &path) { return QFile::link(QStringLiteral("/dev/zero"), path); }, false},
        {"a folder", [](const QString &path) { return QDir().mkdir(path); }, false},
    };
    for (const auto &[what, make, movedAside] : cases) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(make(path()));
        UserDefaults defaults(kDomain);
        defaults.registerDefaults({{QStringLiteral("ShowSplash"), true}});

        testing::internal::CaptureStderr();
        EXPECT_TRUE(defaults.boolForKey(QStringLiteral("ShowSplash")));
        EXPECT_EQ(defaults.synchronize(), movedAside);
        defaults.objectForKey(QStringLiteral("HotKey"));
        const std::string message = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
        EXPECT_NE(message.find(path().toStdString()), std::string::npos) << message;
        EXPECT_EQ(keptAside().size(), movedAside ? 1 : 0);
        EXPECT_EQ(QFileInfo::exists(path()) || QFileInfo(path()).isSymLink(), !movedAside);

        ASSERT_TRUE(QDir(home.configHome()).removeRecursively());
        ASSERT_TRUE(QDir().mkpath(home.configHome()));
    }
}

TEST_F(UserDefaultsTest, OutsideProcessAccessWritesOnlyOnSynchronise)
{
    const QString domain = QStringLiteral("org.example.BriskoOutside");
    ASSERT_TRUE(UserDefaults::setAppValue(QStringLiteral("HideAdvert"), true, domain));
    EXPECT_FALSE(QFileInfo::exists(UserDefaults::pathForDomain(domain)));
    EXPECT_EQ(UserDefaults::copyAppValue(QStringLiteral("HideAdvert"), domain), QVariant(true));
    ASSERT_TRUE(UserDefaults::appSynchronize(domain));
    EXPECT_EQ(PropertyList::readFile(UserDefaults::pathForDomain(domain))
                  .toMap()
                  .value(QStringLiteral("HideAdvert")),
              QVariant(true));

    UserDefaults application(domain);
    application.setInteger(3, QStringLiteral("ActivationCount"));
    ASSERT_TRUE(application.synchronize());
    const QVariantMap persistent = UserDefaults::persistentDomainForName(domain);
    EXPECT_EQ(persistent.value(QStringLiteral("ActivationCount")).toLongLong(), 3);
    EXPECT_EQ(persistent.value(QStringLiteral("HideAdvert")), QVariant(true));

    EXPECT_FALSE(
        UserDefaults::setAppValue(QStringLiteral("bad"), QVariant::fromValue(QPoint()), domain));
    ASSERT_TRUE(UserDefaults::removePersistentDomainForName(domain));
    EXPECT_TRUE(PropertyList::readFile(UserDefaults::pathForDomain(domain)).toMap().isEmpty());
}

// Two programs writing different keys of one domain at the same time: neither loses a value.
TEST_F(UserDefaultsTest, ConcurrentWritersNeverLoseEachOthersValues)
{
    ASSERT_TRUE(QFileInfo(kWriter).isExecutable()) << qPrintable(kWriter);
    constexpr int kCount = 300;
    QProcess first;
    QProcess second;
    first.start(kWriter, {kDomain, QStringLiteral("first"), QString::number(kCount)});
    second.start(kWriter, {kDomain, QStringLiteral("second"), QString::number(kCount)});
    ASSERT_TRUE(first.waitForFinished(60000)) << "first writer did not finish within a minute";
    ASSERT_TRUE(second.waitForFinished(60000)) << "second writer did not finish within a minute";
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    const QVariantMap values = onDisk();
    EXPECT_EQ(values.value(QStringLiteral("first")).toLongLong(), kCount);
    EXPECT_EQ(values.value(QStringLiteral("second")).toLongLong(), kCount);
}

// Each write puts a new file in place of the old: a program reading the settings while another
// writes them sees one document or the other, whole, never a mixture or a truncated one.
TEST_F(UserDefaultsTest, EveryWriteReplacesTheFileAndAnOpenReaderKeepsTheWholeOldDocument)
{
    const auto inode = [this] {
        struct stat info
        {
        };
        return ::stat(QFile::encodeName(path()).constData(), &info) == 0 ? info.st_ino : 0;
    };
    UserDefaults defaults(kDomain);
    // Alternately longer and shorter, so a write in place would leave a tail or cut one off.
    for (const int length : {3000, 10, 5000, 20}) {
        QFile reader(path());
        const bool existed = reader.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        QFile copy(path());
        const QByteArray before = copy.open(QIODevice::ReadOnly) ? copy.readAll() : QByteArray();
        const ino_t old = inode();

        defaults.setObject(QString(length, QLatin1Char('x')), QStringLiteral("text"));
        ASSERT_TRUE(defaults.synchronize());
        EXPECT_EQ(onDisk().value(QStringLiteral("text")).toString().size(), length);
        if (!existed)
            continue;
        EXPECT_NE(inode(), old) << "the file was written in place";
        EXPECT_EQ(reader.readAll(), before) << "a reader of the old file saw it change";
    }
}

// A writer killed at any moment leaves a file that parses and holds a value it wrote whole.
TEST_F(UserDefaultsTest, WriterKilledMidWriteLeavesAWholeFile)
{
    ASSERT_TRUE(QFileInfo(kWriter).isExecutable()) << qPrintable(kWriter);
    for (int round = 0; round < 3; ++round) {
        const qint64 before = onDisk().value(QStringLiteral("counter")).toLongLong();
        QProcess writer;
        writer.start(kWriter, {kDomain, QStringLiteral("counter"), QStringLiteral("forever")});
        ASSERT_TRUE(writer.waitForStarted(10000)) << "writer did not start";
        // Wait until it has written a good many values, so the kill lands among writes.
        QElapsedTimer waited;
        waited.start();
        while (onDisk().value(QStringLiteral("counter")).toLongLong() < before + 20) {
            ASSERT_LT(waited.elapsed(), 30000) << "writer wrote nothing within 30 seconds";
            QThread::msleep(1);
        }
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        ASSERT_TRUE(writer.waitForFinished(10000)) << "killed writer did not end";

        QString error;
        const QVariant root = PropertyList::readFile(path(), &error);
        ASSERT_TRUE(root.isValid()) << error.toStdString();
        EXPECT_GE(root.toMap().value(QStringLiteral("counter")).toLongLong(), before + 20);
    }
    // A temporary file left by the kill does not stand in the way of the next writer.
    UserDefaults defaults(kDomain);
    defaults.setBool(true, QStringLiteral("after"));
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_TRUE(onDisk().value(QStringLiteral("after")).toBool());
    EXPECT_TRUE(keptAside().isEmpty());

    // Nor does a named pipe left under that name, which a writer would wait on for ever.
    const QString temporary = path() + QStringLiteral(".tmp");
    QFile::remove(temporary);
    ASSERT_EQ(::mkfifo(QFile::encodeName(temporary).constData(), 0600), 0);
    defaults.setBool(false, QStringLiteral("after"));
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_FALSE(onDisk().value(QStringLiteral("after")).toBool());
}
