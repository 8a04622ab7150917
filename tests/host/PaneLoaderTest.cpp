// SPDX-License-Identifier: MIT
#include "host/PaneLoader.h"
#include "host/HostCommandLine.h"
#include "platform/prefpane/PreferencePane.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString BuildPane = QStringLiteral(BRISKO_PANE_BUNDLE_PATH);

/// A pane bundle of the test's own whose plug-in is any file.
QString makeBundle(const QString &folder, const QString &name, const QString &identifier,
                   const QByteArray &plugin)
{
    const QString bundle = folder + QLatin1Char('/') + name + QStringLiteral(".prefPane");
    QDir().mkpath(bundle + QStringLiteral("/Contents/Linux"));
    QFile info(bundle + QStringLiteral("/Contents/Info.plist"));
    info.open(QIODevice::WriteOnly);
    info.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
               "<key>CFBundleIdentifier</key><string>" +
               identifier.toUtf8() + "</string><key>CFBundleName</key><string>" + name.toUtf8() +
               "</string><key>CFBundleExecutable</key><string>libPane.so</string>"
               "<key>NSPrincipalClass</key><string>BriskoPanePref</string></dict></plist>");
    QFile executable(bundle + QStringLiteral("/Contents/Linux/libPane.so"));
    executable.open(QIODevice::WriteOnly);
    executable.write(plugin);
    return bundle;
}

TEST(PaneLoader, PanesAreFoundByIdentifierOrPath)
{
    QTemporaryDir folder;
    const QString other = makeBundle(folder.path(), QStringLiteral("Other"),
                                     QStringLiteral("com.example.Other"), "x");
    const QStringList folders{folder.path(), QFileInfo(BuildPane).path()};
    struct Case
    {
        QString identifier;
        QString bundle;
    };
    const Case cases[] = {
        {QStringLiteral("com.ambertide.BriskoPane"), BuildPane},
        {QStringLiteral("com.example.Other"), other},
        {QString(), other},
        {BuildPane, BuildPane},
        {QStringLiteral("com.example.Missing"), QString()},
        {folder.path() + QStringLiteral("/Missing.prefPane"), QString()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PaneLoader::findPane(c.identifier, folders).bundlePath(), c.bundle)
            << qPrintable(c.identifier);
    EXPECT_EQ(PaneLoader::titleForBundle(Bundle(BuildPane)), QStringLiteral("Brisko"));
    EXPECT_EQ(PaneLoader::titleForBundle(Bundle(other)), QStringLiteral("Other"));
}

TEST(PaneLoader, APluginIsLoadedOnceAndABrokenOneIsReported)
{
    PaneLoader loader;
    QString error;
    PreferencePane *pane = loader.paneForBundle(Bundle(BuildPane), &error);
    ASSERT_NE(pane, nullptr) << qPrintable(error);
    EXPECT_EQ(pane->bundle().bundlePath(), BuildPane);
    EXPECT_EQ(loader.paneForBundle(Bundle(BuildPane), &error), pane);

    QTemporaryDir folder;
    const Bundle notAPlugin(makeBundle(folder.path(), QStringLiteral("Text"),
                                       QStringLiteral("com.example.Text"), "not a library"));
    EXPECT_EQ(loader.paneForBundle(notAPlugin, &error), nullptr);
    EXPECT_FALSE(error.isEmpty());
}

TEST(HostCommandLine, ArgumentsAreRead)
{
    struct Case
    {
        QStringList arguments;
        bool showPane;
        QString pane;
        bool help;
        bool error;
    };
    const QString id = QStringLiteral("com.ambertide.BriskoPane");
    const Case cases[] = {
        {{}, false, {}, false, false},
        {{QStringLiteral("--show-pane"), id}, true, id, false, false},
        {{QStringLiteral("--show-pane=") + id}, true, id, false, false},
        {{QStringLiteral("--show-pane")}, false, {}, false, true},
        {{QStringLiteral("--help")}, false, {}, true, false},
        {{QStringLiteral("--shw-pane"), id}, false, {}, false, true},
        // Read in this folder, not in that of a host it is handed to.
        {{QStringLiteral("--show-pane"), QStringLiteral("panes/../My.prefPane")},
         true,
         QDir::current().filePath(QStringLiteral("My.prefPane")),
         false,
         false},
        {{QStringLiteral("--show-pane=./My.prefPane")},
         true,
         QDir::current().filePath(QStringLiteral("My.prefPane")),
         false,
         false},
        {{QStringLiteral("--show-pane"), QStringLiteral("/opt/My.prefPane")},
         true,
         QStringLiteral("/opt/My.prefPane"),
         false,
         false},
    };
    for (const Case &c : cases) {
        const HostCommandLine::Options options =
            HostCommandLine::parse(QStringList{QStringLiteral("brisko-preferences")} + c.arguments);
        const QString name = c.arguments.join(QLatin1Char(' '));
        EXPECT_EQ(options.showPane, c.showPane) << qPrintable(name);
        EXPECT_EQ(options.paneIdentifier, c.pane) << qPrintable(name);
        EXPECT_EQ(options.help, c.help) << qPrintable(name);
        EXPECT_EQ(!options.error.isEmpty(), c.error) << qPrintable(name);
    }
}

} // namespace
