// SPDX-License-Identifier: MIT
#include "app/helpers/WorkspaceExtras.h"
#include "platform/core/PropertyList.h"
#include "platform/workspace/Workspace.h"
#include "tests/doubles/RecordingWorkspace.h"
#include "tests/support/TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

using namespace WorkspaceExtras;

void writeFile(const QString &path, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

QString makeBundle(const QString &path, bool executable)
{
    QDir().mkpath(path + QLatin1String("/Contents/Linux"));
    PropertyList::writeFile(
        QVariantMap{{QStringLiteral("CFBundleExecutable"), QStringLiteral("Viewer")}},
        path + QLatin1String("/Contents/Info.plist"));
    writeFile(path + QLatin1String("/Contents/Linux/Viewer"), executable);
    return path;
}

class WorkspaceExtrasTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto recording = std::make_unique<RecordingWorkspace>();
        workspace = recording.get();
        Workspace::setShared(std::move(recording));
    }
    void TearDown() override { Workspace::setShared(nullptr); }

    TemporaryHome home;
    RecordingWorkspace *workspace = nullptr;
};

TEST_F(WorkspaceExtrasTest, BareHostsOpenOverHttpAndSchemesAreKept)
{
    const QList<std::pair<QString, QString>> cases{
        {QStringLiteral("example.com"), QStringLiteral("http://example.com")},
        {QStringLiteral(" www.example.com/a?b=c "), QStringLiteral("http://www.example.com/a?b=c")},
        {QStringLiteral("localhost:8080/x"), QStringLiteral("http://localhost:8080/x")},
        {QStringLiteral("www.example.com:81"), QStringLiteral("http://www.example.com:81")},
        {QStringLiteral("https://example.org/p"), QStringLiteral("https://example.org/p")},
        {QStringLiteral("ftp://files.example.org"), QStringLiteral("ftp://files.example.org")},
    };
    for (const auto &[text, expected] : cases) {
        workspace->requests.clear();
        EXPECT_TRUE(openURLString(text)) << qPrintable(text);
        ASSERT_EQ(workspace->requests.size(), 1) << qPrintable(text);
        EXPECT_EQ(workspace->requests.first().target, expected);
    }
    workspace->requests.clear();
    EXPECT_FALSE(openURLString(QStringLiteral("   ")));
    EXPECT_TRUE(workspace->requests.isEmpty());
}

TEST_F(WorkspaceExtrasTest, EmailAddressesOpenAsMailtoWithoutAddedHeaders)
{
    EXPECT_TRUE(openEmailAddress(QStringLiteral("ann@example.org")));
    EXPECT_TRUE(openEmailAddress(QStringLiteral("ann@example.org?bcc=x@evil.test")));
    EXPECT_FALSE(openEmailAddress(QString()));
    ASSERT_EQ(workspace->requests.size(), 2);
    EXPECT_EQ(workspace->requests[0].target, QStringLiteral("mailto:ann@example.org"));
    const QUrl second(workspace->requests[1].target);
    EXPECT_EQ(second.scheme(), QStringLiteral("mailto"));
    EXPECT_FALSE(second.hasQuery()) << qPrintable(workspace->requests[1].target);
}

TEST_F(WorkspaceExtrasTest, FilesOpenWithTheNamedApplicationOrABundleInApplications)
{
    const QString document = home.path() + QLatin1String("/notes.txt");
    writeFile(document);

    EXPECT_TRUE(rkOpenFile(document, QStringLiteral("org.example.Viewer.desktop")));
    ASSERT_EQ(workspace->requests.size(), 1);
    EXPECT_EQ(workspace->requests[0].operation, QStringLiteral("openFileWithApplication"));
    EXPECT_EQ(workspace->requests[0].arguments,
              QStringList{QStringLiteral("org.example.Viewer.desktop")});

    // The desktop does not know the name: the bundle in ~/Applications is used.
    workspace->answer = false;
    workspace->requests.clear();
    const QString bundle =
        makeBundle(home.path() + QLatin1String("/Applications/Viewer.app"), true);
    EXPECT_FALSE(rkOpenFile(document, QStringLiteral("Viewer")));
    ASSERT_EQ(workspace->requests.size(), 2);
    EXPECT_EQ(workspace->requests[1].operation, QStringLiteral("launchApplication"));
    EXPECT_EQ(workspace->requests[1].target, bundle);
    EXPECT_EQ(workspace->requests[1].arguments, QStringList{document});

    workspace->requests.clear();
    EXPECT_FALSE(rkOpenFile(document, QStringLiteral("Nowhere")));
    EXPECT_EQ(workspace->requests.size(), 1);
    workspace->requests.clear();
    EXPECT_FALSE(rkOpenFile(home.path() + QLatin1String("/missing.txt"), QStringLiteral("Viewer")));
    EXPECT_TRUE(workspace->requests.isEmpty());
}

TEST_F(WorkspaceExtrasTest, OnlyRunnableBundlesAndProgramsAreApplications)
{
    const QString runnable = makeBundle(home.path() + QLatin1String("/A/Viewer.app"), true);
    const QString notRunnable = makeBundle(home.path() + QLatin1String("/B/Viewer.app"), false);
    writeFile(home.path() + QLatin1String("/tool"), true);
    writeFile(home.path() + QLatin1String("/text"), false);

    EXPECT_TRUE(_isApplicationAtPath(runnable));
    EXPECT_FALSE(_isApplicationAtPath(notRunnable));
    EXPECT_TRUE(_isApplicationAtPath(home.path() + QLatin1String("/tool")));
    EXPECT_FALSE(_isApplicationAtPath(home.path() + QLatin1String("/text")));
    EXPECT_FALSE(_isApplicationAtPath(home.path()));
    EXPECT_EQ(
        _isApplicationInDirectory(QStringLiteral("Viewer"), home.path() + QLatin1String("/A")),
        runnable);
    EXPECT_TRUE(
        _isApplicationInDirectory(QStringLiteral("Viewer"), home.path() + QLatin1String("/B"))
            .isEmpty());
    EXPECT_TRUE(
        _isApplicationInDirectory(QStringLiteral("../A/Viewer"), home.path() + QLatin1String("/B"))
            .isEmpty());
}

} // namespace
