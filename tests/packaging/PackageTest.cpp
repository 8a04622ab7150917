// SPDX-License-Identifier: MIT
// The Debian package as a user gets it: built by CPack (the PackageBuild test), checked with
// the tools Debian checks packages with, unpacked into a scratch root and run from there.
#include "host/PreferencesHost.h"
#include "platform/settings/UserDefaults.h"
#include "tests/e2e/support/TestProcesses.h"
#include "tests/support/TemporaryHome.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace {

struct Outcome
{
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome runTool(const QString &program, const QStringList &arguments, int timeoutMs = 60000)
{
    QProcess process;
    process.start(program, arguments);
    Outcome result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        result.err = program + QLatin1String(" did not finish: ") + process.errorString();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err += QString::fromUtf8(process.readAllStandardError());
    return result;
}

QString packagePath()
{
    const QDir folder(QStringLiteral(BRISKO_PACKAGE_DIR));
    const QStringList found =
        folder.entryList({QStringLiteral("brisko_" BRISKO_PACKAGE_VERSION "_*.deb")}, QDir::Files);
    return found.size() == 1 ? folder.filePath(found.first()) : QString();
}

class Package : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        _root = new QTemporaryDir;
        _deb = packagePath();
        if (!_deb.isEmpty() && _root->isValid())
            _unpacked =
                runTool(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), _deb, _root->path()})
                    .exitCode == 0;
    }
    static void TearDownTestSuite() { delete _root; }

    void SetUp() override
    {
        ASSERT_FALSE(_deb.isEmpty()) << "no package in " BRISKO_PACKAGE_DIR;
        ASSERT_TRUE(_unpacked) << "dpkg-deb could not unpack " << qPrintable(_deb);
    }

    static QString installed(const QString &path) { return _root->filePath(path); }

    static inline QTemporaryDir *_root = nullptr;
    static inline QString _deb;
    static inline bool _unpacked = false;
};

TEST_F(Package, LintianFindsNoError)
{
    const Outcome lintian = runTool(QStringLiteral("lintian"),
                                    {QStringLiteral("--no-tag-display-limit"), _deb}, 540000);
    QStringList errors;
    for (const QString &line : lintian.out.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("E: ")))
            errors.append(line);
    }
    EXPECT_TRUE(errors.isEmpty()) << qPrintable(errors.join(QLatin1Char('\n')));
    EXPECT_TRUE(lintian.exitCode == 0 || !errors.isEmpty())
        << "lintian failed: " << qPrintable(lintian.err);
}

TEST_F(Package, DesktopEntriesAndMetainfoAreValid)
{
    for (const char *entry :
         {"com.ambertide.Brisko.desktop", "com.ambertide.BriskoPreferences.desktop"}) {
        const Outcome validate =
            runTool(QStringLiteral("desktop-file-validate"),
                    {installed(QStringLiteral("usr/share/applications/") + QLatin1String(entry))});
        EXPECT_EQ(validate.exitCode, 0) << entry << '\n' << qPrintable(validate.out + validate.err);
        EXPECT_TRUE(validate.out.isEmpty()) << qPrintable(validate.out);
    }
    const Outcome metainfo = runTool(
        QStringLiteral("appstreamcli"),
        {QStringLiteral("validate"), QStringLiteral("--no-net"),
         installed(QStringLiteral("usr/share/metainfo/com.ambertide.Brisko.metainfo.xml"))});
    EXPECT_EQ(metainfo.exitCode, 0) << qPrintable(metainfo.out + metainfo.err);
}

TEST_F(Package, DeclaresItsLibrariesAndHoldsWhatTheDesktopLooksFor)
{
    const Outcome control = runTool(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), _deb});
    ASSERT_EQ(control.exitCode, 0) << qPrintable(control.err);
    EXPECT_TRUE(control.out.contains(QLatin1String("Package: brisko\n")));
    EXPECT_TRUE(control.out.contains(QLatin1String("Version: " BRISKO_PACKAGE_VERSION "\n")));
    // Found by dpkg-shlibdeps in the linked libraries, not written down by hand.
    for (const char *library : {"libqt6widgets6", "libplist", "libcurl4", "libxcb-keysyms1"})
        EXPECT_TRUE(control.out.contains(QLatin1String(library))) << library;

    QStringList expected;
    for (const char *size : {"16", "22", "24", "32", "48", "64", "128", "256"})
        expected << QStringLiteral("usr/share/icons/hicolor/%1x%1/apps/com.ambertide.Brisko.png")
                        .arg(QLatin1String(size));
    expected << QStringLiteral("usr/share/icons/hicolor/scalable/apps/com.ambertide.Brisko.svg");
    for (const char *page : {"brisko", "brisko-preferences", "brisko-ctl", "brisko-defaults"})
        expected << QStringLiteral("usr/share/man/man1/%1.1.gz").arg(QLatin1String(page));
    for (const char *interface : {"DistributedNotificationCenter", "Instance", "BriskoPreferences"})
        expected << QStringLiteral("usr/share/dbus-1/interfaces/com.ambertide.%1.xml")
                        .arg(QLatin1String(interface));
    const QString pane = QStringLiteral("usr/lib/brisko/BriskoPane.prefPane/Contents/");
    for (const char *catalogue : {"Resources/BriskoPane_%1.qm", "Resources/BriskoShared_%1.qm",
                                  "Resources/Brisko.app/Contents/Resources/Brisko_%1.qm",
                                  "Resources/Brisko.app/Contents/Resources/BriskoShared_%1.qm"}) {
        for (const char *language : {"de", "fr"})
            expected << pane + QString::fromLatin1(catalogue).arg(QLatin1String(language));
    }
    for (const QString &path : expected)
        EXPECT_TRUE(QFileInfo(installed(path)).isFile()) << qPrintable(path);
}

TEST_F(Package, InstalledBriskoSearchesTheSampleBookInItsBundle)
{
    TemporaryHome home;
    qunsetenv("BRISKO_ADDRESS_BOOK");
    const Outcome fromPackage = runTool(installed(QStringLiteral("usr/bin/brisko")),
                                        {QStringLiteral("--search"), QStringLiteral("an")});
    const Outcome fromBuild = runTool(QStringLiteral(BRISKO_BINARY_DIR "/bin/brisko"),
                                      {QStringLiteral("--search"), QStringLiteral("an")});
    ASSERT_EQ(fromPackage.exitCode, 0) << qPrintable(fromPackage.err);
    EXPECT_TRUE(fromPackage.err.contains(QLatin1String("sample address book")))
        << qPrintable(fromPackage.err);
    EXPECT_FALSE(fromPackage.out.isEmpty());
    EXPECT_EQ(fromPackage.out, fromBuild.out);
}

TEST_F(Package, InstalledDefaultsToolReadsADomain)
{
    TemporaryHome home;
    UserDefaults defaults(QStringLiteral("com.ambertide.Brisko"));
    defaults.setObject(QStringLiteral("written by the test"), QStringLiteral("Probe"));
    ASSERT_TRUE(defaults.synchronize());
    const Outcome read = runTool(
        installed(QStringLiteral("usr/bin/brisko-defaults")),
        {QStringLiteral("read"), QStringLiteral("com.ambertide.Brisko"), QStringLiteral("Probe")});
    EXPECT_EQ(read.exitCode, 0) << qPrintable(read.err);
    EXPECT_EQ(read.out, QStringLiteral("written by the test\n"));
}

TEST_F(Package, InstalledPreferencesHostShowsTheInstalledPane)
{
    if (QFileInfo(QStringLiteral("/opt/Brisko.app")).isDir())
        GTEST_SKIP() << "/opt/Brisko.app exists; the pane would end every Brisko of this user";
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";
    TemporaryHome home;
    qunsetenv("BRISKO_PREFPANE_PATH");
    // As the menu's Preferences does: the host goes on in the background once the pane shows.
    ChildProcess asking(
        installed(QStringLiteral("usr/bin/brisko-preferences")),
        {QStringLiteral("--show-pane"), QStringLiteral("com.ambertide.BriskoPane")});
    const bool finished = asking.waitForFinished(60000);
    const QDBusReply<uint> host =
        QDBusConnection::sessionBus().interface()->servicePid(PreferencesHost::ServiceName);
    if (host.isValid())
        ::kill(pid_t(host.value()), SIGTERM);
    ASSERT_TRUE(finished) << "brisko-preferences --show-pane did not return";
    EXPECT_EQ(asking.exitCode(), 0) << qPrintable(asking.standardError());
    EXPECT_TRUE(host.isValid()) << "no host owns its name on the bus";
}

} // namespace
