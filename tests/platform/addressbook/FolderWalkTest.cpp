// SPDX-License-Identifier: MIT
#include "platform/addressbook/FolderWalk.h"

#include "tests/support/TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
}

// The files of a scan, relative to `base`.
QStringList relativeFiles(const FolderWalk::Scan &scan, const QString &base)
{
    QStringList files;
    for (const QByteArray &file : scan.files)
        files.append(QDir(base).relativeFilePath(QFile::decodeName(file)));
    return files;
}

} // namespace

TEST(FolderWalk, ListsFoldersRecursivelyByPathAndSkipsTemporaryHiddenAndBareFiles)
{
    TemporaryHome home;
    const QString root = home.path() + QLatin1String("/book");
    for (const char *name : {"b.vcf", "a.vcf", "sub/c.vcard", "c.vcf", "draft.vcf.tmp", "README",
                             ".hidden.vcf", ".sync/x.vcf"})
        touch(root + QLatin1Char('/') + QLatin1String(name));
    const FolderWalk::Scan scan = FolderWalk::scan({root});
    EXPECT_EQ(relativeFiles(scan, root),
              (QStringList{QStringLiteral("a.vcf"), QStringLiteral("b.vcf"),
                           QStringLiteral("c.vcf"), QStringLiteral("sub/c.vcard")}));
    EXPECT_EQ(scan.folders, (QStringList{root, root + QLatin1String("/sub")}));
    EXPECT_TRUE(scan.watchedFiles.isEmpty());
}

TEST(FolderWalk, SourcesKeepTheirOrderAndOneNotThereYetIsWatchedFromAbove)
{
    TemporaryHome home;
    const QString file = home.path() + QLatin1String("/second.vcf");
    const QString folder = home.path() + QLatin1String("/first");
    touch(file);
    touch(folder + QLatin1String("/x.vcf"));
    const QString later = home.path() + QLatin1String("/later/contacts");
    const FolderWalk::Scan scan = FolderWalk::scan({file, folder, later});
    EXPECT_EQ(relativeFiles(scan, home.path()),
              (QStringList{QStringLiteral("second.vcf"), QStringLiteral("first/x.vcf")}));
    EXPECT_EQ(scan.watchedFiles, QStringList{file});
    EXPECT_EQ(scan.folders, (QStringList{home.path(), folder, home.path()}));
}

TEST(FolderWalk, FolderLinksAreFollowedButNeverBackIntoAFolderBeingRead)
{
    TemporaryHome home;
    const QString root = home.path() + QLatin1String("/book");
    touch(root + QLatin1String("/a.vcf"));
    touch(root + QLatin1String("/sub/b.vcf"));
    touch(home.path() + QLatin1String("/elsewhere/c.vcf"));
    ASSERT_TRUE(
        QFile::link(home.path() + QLatin1String("/elsewhere"), root + QLatin1String("/linked")));
    // A sync tool's or a user's link back up the tree: every card would come round again.
    ASSERT_TRUE(QFile::link(root, root + QLatin1String("/sub/back")));
    EXPECT_EQ(relativeFiles(FolderWalk::scan({root}), root),
              (QStringList{QStringLiteral("a.vcf"), QStringLiteral("linked/c.vcf"),
                           QStringLiteral("sub/b.vcf")}));
}
