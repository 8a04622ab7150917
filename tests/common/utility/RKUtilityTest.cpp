// SPDX-License-Identifier: MIT
#include "common/utility/RKUtility.h"
#include "platform/core/Bundle.h"
#include "platform/core/PropertyList.h"
#include "platform/session/SessionInstance.h"
#include "platform/workspace/Workspace.h"
#include "tests/doubles/RecordingWorkspace.h"
#include "tests/e2e/support/PrivateBusTest.h"
#include "tests/support/TemporaryHome.h"
#include "tests/support/WaitUntil.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>
#include <sys/utsname.h>

namespace {

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void writeText(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
    file.write(text.toUtf8());
}

// A bundle whose Info.plist names an executable that exists.
QString makeBundle(const QString &path, const QVariantMap &extraInfo = {})
{
    QVariantMap info{
        {QStringLiteral("CFBundleExecutable"), QStringLiteral("Brisko")},
        {QStringLiteral("CFBundleIdentifier"), QStringLiteral("com.ambertide.Brisko")}};
    info.insert(extraInfo);
    QDir().mkpath(path + QLatin1String("/Contents/Linux"));
    PropertyList::writeFile(info, path + QLatin1String("/Contents/Info.plist"));
    const QString executable = path + QLatin1String("/Contents/Linux/Brisko");
    QFile file(executable);
    file.open(QIODevice::WriteOnly);
    file.write("#!/bin/sh\n");
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

class LoginItems : public ::testing::Test
{
protected:
    QString autostart(const QString &name) const
    {
        return home.configHome() + QLatin1String("/autostart/") + name;
    }

    TemporaryHome home;
};

TEST_F(LoginItems, AddedItemKeepsItsHideFlagAndIsFoundByBundleName)
{
    const QString bundle = makeBundle(home.path() + QLatin1String("/Apps/Brisko.app"));
    ASSERT_TRUE(RKUtility::addAutoLaunchPath(bundle, false));

    const QString entry = readText(autostart(QStringLiteral("Brisko.desktop")));
    EXPECT_TRUE(entry.startsWith(QLatin1String("[Desktop Entry]\n")));
    EXPECT_TRUE(entry.contains(QLatin1String("X-Brisko-Hide=false\n")));
    EXPECT_TRUE(entry.contains(QLatin1String("Exec=\"") + bundle +
                               QLatin1String("/Contents/Linux/Brisko\"\n")));
    EXPECT_TRUE(RKUtility::appAutoLaunches(QStringLiteral("Brisko.app")));
    EXPECT_FALSE(RKUtility::appAutoLaunches(QStringLiteral("brisko.app")));
    EXPECT_FALSE(RKUtility::appAutoLaunches(QStringLiteral("Other.app")));

    const QVariantList items = RKUtility::_getAutoLaunchedApplications();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items.first().toMap().value(QStringLiteral("Path")).toString(), bundle);
    EXPECT_FALSE(items.first().toMap().value(QStringLiteral("Hide")).toBool());

    ASSERT_TRUE(RKUtility::addAutoLaunchPath(bundle, true));
    EXPECT_TRUE(RKUtility::_getAutoLaunchedApplications()
                    .first()
                    .toMap()
                    .value(QStringLiteral("Hide"))
                    .toBool());
}

TEST_F(LoginItems, RemovedByNameWithOrWithoutExtension)
{
    const QString bundle = makeBundle(home.path() + QLatin1String("/Apps/Brisko.app"));
    for (const QString &name : {QStringLiteral("Brisko.app"), QStringLiteral("Brisko")}) {
        ASSERT_TRUE(RKUtility::addAutoLaunchPath(bundle, false));
        ASSERT_TRUE(RKUtility::appAutoLaunches(QStringLiteral("Brisko.app")));
        RKUtility::removeAutoLaunchAppNamed(name);
        EXPECT_FALSE(RKUtility::appAutoLaunches(QStringLiteral("Brisko.app"))) << qPrintable(name);
        EXPECT_FALSE(QFileInfo::exists(autostart(QStringLiteral("Brisko.desktop"))));
    }
}

TEST_F(LoginItems, NamesThatWouldLeaveTheAutostartFolderAndUnstorablePathsAreRefused)
{
    const QString victim = home.configHome() + QLatin1String("/victim.desktop");
    writeText(victim, QStringLiteral("[Desktop Entry]\nExec=/bin/true\n"));
    RKUtility::removeAutoLaunchAppNamed(QStringLiteral("../victim"));
    RKUtility::removeAutoLaunchAppNamed(QStringLiteral("../victim.desktop"));
    EXPECT_TRUE(QFileInfo::exists(victim));
    EXPECT_FALSE(RKUtility::addAutoLaunchPath(QStringLiteral("/"), false));
    EXPECT_FALSE(RKUtility::addAutoLaunchPath(QString(), false));
    // No file has a NUL in its path, and the entry has no escape for other control characters:
    // written, they were lost and the item read back named another file.
    EXPECT_FALSE(RKUtility::addAutoLaunchPath(QStringLiteral("/opt/a\0b/Brisko.app"), false));
    EXPECT_FALSE(RKUtility::addAutoLaunchPath(QStringLiteral("/opt/Brisko.app\x0b"), false));
    EXPECT_FALSE(QFileInfo::exists(autostart(QStringLiteral("Brisko.desktop"))));
}

TEST_F(LoginItems, EntriesSwitchedOffOrWrittenByOthersAreReadAsTheDesktopDoes)
{
    writeText(autostart(QStringLiteral("Off.desktop")),
              QStringLiteral("[Desktop Entry]\nExec=/opt/off/Off\nHidden=true\n"));
    writeText(autostart(QStringLiteral("Gnome.desktop")),
              QStringLiteral("[Desktop Entry]\nExec=/opt/g/Gnome\n"
                             "X-GNOME-Autostart-enabled=false\n"));
    writeText(autostart(QStringLiteral("Other.desktop")),
              QStringLiteral("# comment\n[Desktop Action x]\nExec=/wrong\n"
                             "[Desktop Entry]\nExec=\"/opt/my tools/Tool\" %U\n"));
    writeText(autostart(QStringLiteral("Broken.desktop")), QStringLiteral("\x01garbage=\n=\n["));

    EXPECT_FALSE(RKUtility::appAutoLaunches(QStringLiteral("Off")));
    EXPECT_FALSE(RKUtility::appAutoLaunches(QStringLiteral("Gnome")));
    EXPECT_TRUE(RKUtility::appAutoLaunches(QStringLiteral("Tool")));
    EXPECT_FALSE(RKUtility::appAutoLaunches(QStringLiteral("wrong")));
}

TEST_F(LoginItems, ExecLineIsQuotedSoTheDesktopStartsTheRightFile)
{
    const QString bundle =
        makeBundle(home.path() + QLatin1String("/100% \"odd\" $dir\\x/Brisko.app"));
    ASSERT_TRUE(RKUtility::addAutoLaunchPath(bundle, false));
    const QString entry = readText(autostart(QStringLiteral("Brisko.desktop")));
    // Exec quoting escapes " ` $ \ with a backslash, the value escaping doubles backslashes,
    // and a percent sign is written twice.
    const QString expected = QLatin1String("Exec=env \"") + home.path() +
                             QLatin1String("/100%% \\\\\"odd\\\\\" \\\\$dir\\\\\\\\x/Brisko.app/"
                                           "Contents/Linux/Brisko\"\n");
    EXPECT_TRUE(entry.contains(expected)) << qPrintable(entry);

    // GLib, which starts GNOME's login items, starts that very file.
    const QString started = home.path() + QLatin1String("/started");
    writeText(bundle + QLatin1String("/Contents/Linux/Brisko"),
              QLatin1String("#!/bin/sh\ntouch '") + started + QLatin1String("'\n"));
    QProcess gio;
    gio.start(QStringLiteral("gio"),
              {QStringLiteral("launch"), autostart(QStringLiteral("Brisko.desktop"))});
    ASSERT_TRUE(gio.waitForFinished(10000)) << "gio (libglib2.0-bin) did not run";
    EXPECT_EQ(gio.exitCode(), 0) << gio.readAllStandardError().constData();
    EXPECT_TRUE(waitUntil([&] { return QFile::exists(started); }))
        << "GLib did not start the bundle's executable";
    EXPECT_TRUE(RKUtility::appAutoLaunches(QStringLiteral("Brisko.app")));
    EXPECT_EQ(
        RKUtility::_getAutoLaunchedApplications().first().toMap().value(QStringLiteral("Path")),
        bundle);
}

TEST_F(LoginItems, AnInstalledBundleStartsThroughItsLauncher)
{
    // Installed: <prefix>/lib/brisko/<pane>/Contents/Resources/Brisko.app with <prefix>/bin;
    // a build tree keeps bin/ beside the pane.
    const struct
    {
        const char *launcherFolder;
        bool linkedToTheBundle;
    } cases[] = {{"/bin", true}, {"/lib/brisko/bin", true}, {"/bin", false}};
    for (const auto &item : cases) {
        const QString prefix = home.path() + QLatin1String("/prefix");
        QDir(prefix).removeRecursively();
        const QString bundle = makeBundle(
            prefix +
            QLatin1String("/lib/brisko/BriskoPane.prefPane/Contents/Resources/Brisko.app"));
        const QString executable = bundle + QLatin1String("/Contents/Linux/Brisko");
        const QString launcher =
            prefix + QLatin1String(item.launcherFolder) + QLatin1String("/brisko");
        ASSERT_TRUE(QDir().mkpath(QFileInfo(launcher).absolutePath()));
        if (item.linkedToTheBundle) {
            ASSERT_TRUE(QFile::link(executable, launcher));
        } else {
            writeText(launcher, QStringLiteral("#!/bin/sh\n"));
            QFile(launcher).setPermissions(QFile(launcher).permissions() | QFileDevice::ExeOwner);
        }
        ASSERT_TRUE(RKUtility::addAutoLaunchPath(bundle, false));
        const QString entry = readText(autostart(QStringLiteral("Brisko.desktop")));
        const QString started = item.linkedToTheBundle ? launcher : executable;
        EXPECT_TRUE(entry.contains(QLatin1String("Exec=\"") + started + QLatin1String("\"\n")))
            << item.launcherFolder << '\n'
            << qPrintable(entry);
        EXPECT_TRUE(RKUtility::appAutoLaunches(QStringLiteral("Brisko.app")));
    }
}

TEST_F(LoginItems, PathsOfAnySpellingSurviveTheEntry)
{
    const struct
    {
        const char *file; // in the home's bin folder
        const char *name;
    } cases[] = {
        // Desktop entry readers drop blanks around a value unless they are escaped...
        {" tool ", " tool "},
        // ...but only ASCII ones: a no-break space at the end is part of the name.
        {"tool\u00a0", "tool\u00a0"},
        // A name beginning with a dot makes a hidden entry, which is still the login item.
        {".hidden.app", ".hidden"},
        // Qt takes a path beginning with ':' for one of its resources.
        {":colon", ":colon"},
    };
    for (const auto &[file, name] : cases) {
        QDir(home.configHome() + QLatin1String("/autostart")).removeRecursively();
        const QString program = home.path() + QLatin1String("/bin/") + QString::fromUtf8(file);
        writeText(program, QStringLiteral("#!/bin/sh\n"));
        ASSERT_TRUE(RKUtility::addAutoLaunchPath(program, false)) << file;

        EXPECT_TRUE(RKUtility::appAutoLaunches(QString::fromUtf8(file))) << file;
        const QVariantList items = RKUtility::_getAutoLaunchedApplications();
        ASSERT_EQ(items.size(), 1) << file;
        EXPECT_EQ(items.first().toMap().value(QStringLiteral("Path")).toString(), program);
        EXPECT_EQ(items.first().toMap().value(QStringLiteral("Name")).toString(),
                  QString::fromUtf8(name));
    }
}

class BackgroundOnlyFlag : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bundle = makeBundle(home.path() + QLatin1String("/Brisko.app"),
                            {{QStringLiteral("LSUIElement"), qint64(1)}});
        Bundle::setMainBundlePath(bundle);
    }
    void TearDown() override { Bundle::setMainBundlePath({}); }

    QString infoPlist() const { return bundle + QLatin1String("/Contents/Info.plist"); }

    TemporaryHome home;
    QString bundle;
};

TEST_F(BackgroundOnlyFlag, WrittenFlagIsReadBackAndTheOtherKeysStay)
{
    EXPECT_TRUE(RKUtility::isHeadless());
    // Put the bundle's date in the past so the touch is visible.
    struct timeval past[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimes(QFile::encodeName(bundle).constData(), past), 0);

    ASSERT_TRUE(RKUtility::setHeadless(false));
    EXPECT_FALSE(RKUtility::isHeadless());
    const QVariantMap info = PropertyList::readFile(infoPlist()).toMap();
    EXPECT_EQ(info.value(QStringLiteral("LSUIElement")).toLongLong(), 0);
    EXPECT_EQ(info.value(QStringLiteral("CFBundleIdentifier")).toString(),
              QStringLiteral("com.ambertide.Brisko"));
    EXPECT_GT(QFileInfo(bundle).lastModified().toSecsSinceEpoch(), 1000000000);

    ASSERT_TRUE(RKUtility::setHeadless(true));
    EXPECT_TRUE(RKUtility::isHeadless());
}

TEST_F(BackgroundOnlyFlag, UnreadableInfoPlistIsLeftAlone)
{
    writeText(infoPlist(), QStringLiteral("<plist>not closed"));
    EXPECT_FALSE(RKUtility::isHeadless());
    EXPECT_FALSE(RKUtility::setHeadless(true));
    EXPECT_EQ(readText(infoPlist()), QStringLiteral("<plist>not closed"));
}

TEST_F(BackgroundOnlyFlag, RestartStartsTheBundleExecutableAndStaysWhenThatFails)
{
    auto recording = std::make_unique<RecordingWorkspace>();
    recording->answer = false;
    RecordingWorkspace *workspace = recording.get();
    Workspace::setShared(std::move(recording));
    EXPECT_FALSE(RKUtility::restartApplication());
    ASSERT_EQ(workspace->requests.size(), 1);
    EXPECT_EQ(workspace->requests.first().operation, QStringLiteral("launchApplication"));
    EXPECT_EQ(workspace->requests.first().target, bundle + QLatin1String("/Contents/Linux/Brisko"));
    EXPECT_TRUE(workspace->requests.first().arguments.isEmpty());
    Workspace::setShared(nullptr);
}

class RestartOnTheSessionBus : public PrivateBusTest
{
protected:
    static bool nameIsOwned(const QString &name)
    {
        return QDBusConnection::sessionBus().interface()->isServiceRegistered(name);
    }
};

TEST_F(RestartOnTheSessionBus, TheNewCopyFindsTheNameFreeAndAFailedStartKeepsIt)
{
    TemporaryHome home;
    Bundle::setMainBundlePath(makeBundle(home.path() + QLatin1String("/Brisko.app")));
    const QString name = QStringLiteral("org.example.BriskoRestartTest");
    SessionInstance instance(name);
    ASSERT_EQ(instance.claim(), SessionInstance::Claim::Owned);
    EXPECT_EQ(SessionInstance::current(), &instance);

    auto recording = std::make_unique<RecordingWorkspace>();
    RecordingWorkspace *workspace = recording.get();
    Workspace::setShared(std::move(recording));
    bool ownedDuringStart = true;
    workspace->onRequest = [&] { ownedDuringStart = nameIsOwned(name); };

    workspace->answer = false;
    EXPECT_FALSE(RKUtility::restartApplication());
    EXPECT_TRUE(nameIsOwned(name)) << "a failed restart gave the name away";
    EXPECT_EQ(SessionInstance::current(), &instance);

    workspace->answer = true;
    EXPECT_TRUE(RKUtility::restartApplication());
    EXPECT_FALSE(ownedDuringStart) << "the new copy would hand over to this one and leave";
    EXPECT_FALSE(nameIsOwned(name));
    EXPECT_EQ(SessionInstance::current(), nullptr);

    Workspace::setShared(nullptr);
    Bundle::setMainBundlePath({});
}

TEST(ResidentSetSize, KeepsOnlyTheDigitsOfPsOutput)
{
    EXPECT_EQ(RKUtility::_residentSetSizeFromOutput("  RSS\n 12345 \n"), 12345);
    EXPECT_EQ(RKUtility::_residentSetSizeFromOutput("  RSS\n"), 0);
    EXPECT_EQ(RKUtility::_residentSetSizeFromOutput(""), 0);
    EXPECT_EQ(RKUtility::_residentSetSizeFromOutput("RSS\n99999999999999999999\n"), 0);
    EXPECT_GT(RKUtility::residentSetSize(), 0);
}

TEST(RunCommand, CapturesOutputStatusAndWorkingDirectory)
{
    TemporaryHome home;
    int status = 0;
    EXPECT_EQ(RKUtility::_runCommand(QStringLiteral("/bin/sh"),
                                     {QStringLiteral("-c"), QStringLiteral("printf 'a b'; exit 3")},
                                     {}, &status),
              QByteArray("a b"));
    EXPECT_EQ(status, 3);

    EXPECT_EQ(
        RKUtility::_runCommand(QStringLiteral("/bin/pwd"), {}, home.path(), &status).trimmed(),
        QFile::encodeName(QDir(home.path()).canonicalPath()));
    EXPECT_EQ(status, 0);

    // Standard input is an empty pipe: a tool that reads it ends at once.
    EXPECT_EQ(RKUtility::_runCommand(QStringLiteral("/bin/cat"), {}, {}, &status), QByteArray());
    EXPECT_EQ(status, 0);

    EXPECT_EQ(RKUtility::_runCommand(home.path() + QLatin1String("/missing"), {}, {}, &status),
              QByteArray());
    EXPECT_EQ(status, -1);
}

TEST(SystemVersion, KernelReleaseIsPackedInBinaryCodedDecimal)
{
    EXPECT_EQ(RKUtility::_systemVersionFromRelease(QStringLiteral("10.4.9")), 0x1049u);
    EXPECT_EQ(RKUtility::_systemVersionFromRelease(QStringLiteral("6.1.0-18-amd64")), 0x0610u);
    EXPECT_EQ(RKUtility::_systemVersionFromRelease(QStringLiteral("5.15.3")), 0x0593u);
    EXPECT_EQ(RKUtility::_systemVersionFromRelease(QStringLiteral("6")), 0x0600u);
    EXPECT_EQ(RKUtility::_systemVersionFromRelease(QStringLiteral("123.4")), 0x9940u);
    EXPECT_EQ(RKUtility::_systemVersionFromRelease(QStringLiteral("weird")), 0u);
    EXPECT_EQ(RKUtility::_systemVersionFromRelease(QString()), 0u);

    struct utsname name = {};
    ASSERT_EQ(::uname(&name), 0);
    EXPECT_EQ(RKUtility::systemVersion(),
              RKUtility::_systemVersionFromRelease(QString::fromLocal8Bit(name.release)));
    EXPECT_EQ(GetSystemVersion(), RKUtility::systemVersion());
}

TEST(SystemVersion, PantherAndJaguarBounds)
{
    EXPECT_TRUE(RKUtility::_isPantherVersion(0x1039));
    EXPECT_TRUE(RKUtility::_isPantherVersion(0x1030));
    EXPECT_TRUE(RKUtility::_isPantherVersion(0x103F));
    EXPECT_FALSE(RKUtility::_isPantherVersion(0x1040));
    EXPECT_FALSE(RKUtility::_isPantherVersion(0x102F));
    EXPECT_FALSE(RKUtility::_isPantherVersion(0));
    EXPECT_TRUE(RKUtility::_isJaguarVersion(0x1020));
    EXPECT_TRUE(RKUtility::_isJaguarVersion(0x102F));
    EXPECT_FALSE(RKUtility::_isJaguarVersion(0x1030));
    EXPECT_FALSE(RKUtility::_isJaguarVersion(0));
}

} // namespace
