// SPDX-License-Identifier: MIT
#include "workspace/xdg/XdgWorkspace.h"

#include "TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

TEST(XdgWorkspace, RecycleMovesTheFileIntoTheUsersTrash)
{
    TemporaryHome home;
    // A fresh home without a data folder: the trash must still end up inside it.
    QDir(home.dataHome()).removeRecursively();
    const QString path = home.path() + QStringLiteral("/doomed.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("bye");
    file.close();

    XdgWorkspace workspace;
    QString trashed;
    ASSERT_TRUE(workspace.recycle(path, &trashed));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(trashed.startsWith(home.dataHome() + QStringLiteral("/Trash/files/")));
    EXPECT_TRUE(QFileInfo::exists(trashed));
}

TEST(XdgWorkspace, RefusesWhatDoesNotExist)
{
    TemporaryHome home;
    XdgWorkspace workspace;
    EXPECT_FALSE(workspace.recycle(home.path() + QStringLiteral("/absent")));
    EXPECT_FALSE(workspace.openFile(home.path() + QStringLiteral("/absent.vcf")));
    EXPECT_FALSE(workspace.launchApplication(home.path() + QStringLiteral("/Nothing.app")));
    EXPECT_FALSE(workspace.openFileWithApplication(home.path(), QStringLiteral("no-such-tool-x")));
    EXPECT_FALSE(workspace.openUrl(QUrl()));
}

TEST(XdgWorkspace, LaunchesABundlesExecutable)
{
    TemporaryHome home;
    const QString marker = home.path() + QStringLiteral("/launched");
    const QString bundle = home.path() + QStringLiteral("/Tool.app");
    ASSERT_TRUE(QDir().mkpath(bundle + QStringLiteral("/Contents/Linux")));
    QFile info(bundle + QStringLiteral("/Contents/Info.plist"));
    ASSERT_TRUE(info.open(QIODevice::WriteOnly));
    info.write("<plist><dict><key>CFBundleExecutable</key><string>tool</string></dict></plist>");
    info.close();
    QFile tool(bundle + QStringLiteral("/Contents/Linux/tool"));
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.write("#!/bin/sh\necho \"$1\" > \"$2\"\n");
    tool.close();
    tool.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    XdgWorkspace workspace;
    ASSERT_TRUE(workspace.launchApplication(bundle, {QStringLiteral("hello"), marker}));
    for (int i = 0; i < 250 && QFileInfo(marker).size() == 0; ++i)
        QThread::msleep(20);
    QFile result(marker);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly)) << "the bundle's executable never ran";
    EXPECT_EQ(result.readAll().trimmed(), QByteArray("hello"));
}
