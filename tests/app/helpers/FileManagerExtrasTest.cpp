// SPDX-License-Identifier: MIT
#include "app/helpers/FileManagerExtras.h"
#include "tests/support/TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace FileManagerExtras;

class Files : public ::testing::Test
{
protected:
    QString path(const QString &relative) const
    {
        return home.path() + QLatin1Char('/') + relative;
    }
    void write(const QString &relative, const QByteArray &contents)
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
    }
    QByteArray read(const QString &relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void link(const QString &target, const QString &relative)
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        ASSERT_TRUE(QFile::link(target, path(relative))) << qPrintable(relative);
    }

    TemporaryHome home;
};

TEST_F(Files, LinkChainsAreFollowedFromEachLinksOwnFolder)
{
    write(QStringLiteral("b/target.txt"), "x");
    link(QStringLiteral("target.txt"), QStringLiteral("b/second"));
    link(QStringLiteral("../b/second"), QStringLiteral("a/first"));
    EXPECT_EQ(resolveSymbolicLinkAtPath(path(QStringLiteral("a/first"))),
              path(QStringLiteral("b/target.txt")));
    EXPECT_EQ(resolveSymbolicLinkAtPath(path(QStringLiteral("b/target.txt"))),
              path(QStringLiteral("b/target.txt")));
    // A dangling end is still the end of the chain.
    link(path(QStringLiteral("gone")), QStringLiteral("dangling"));
    EXPECT_EQ(resolveSymbolicLinkAtPath(path(QStringLiteral("dangling"))),
              path(QStringLiteral("gone")));
}

TEST_F(Files, LinkCyclesEndAndReportFailure)
{
    link(QStringLiteral("two"), QStringLiteral("one"));
    link(QStringLiteral("one"), QStringLiteral("two"));
    link(QStringLiteral("self"), QStringLiteral("self"));
    EXPECT_TRUE(resolveSymbolicLinkAtPath(path(QStringLiteral("one"))).isEmpty());
    EXPECT_TRUE(resolveSymbolicLinkAtPath(path(QStringLiteral("self"))).isEmpty());
    EXPECT_TRUE(resolveSymbolicLinkAtPath(QString()).isEmpty());
}

TEST_F(Files, NumberedCopiesNeverOverwrite)
{
    write(QStringLiteral("source.txt"), "new");
    write(QStringLiteral("copy.txt"), "old");
    QString finalPath;
    EXPECT_FALSE(copyPath(path(QStringLiteral("source.txt")), path(QStringLiteral("copy.txt")),
                          false, &finalPath));
    EXPECT_EQ(read(QStringLiteral("copy.txt")), QByteArray("old"));

    ASSERT_TRUE(copyPath(path(QStringLiteral("source.txt")), path(QStringLiteral("copy.txt")), true,
                         &finalPath));
    EXPECT_EQ(finalPath, path(QStringLiteral("copy.txt 2")));
    ASSERT_TRUE(copyPath(path(QStringLiteral("source.txt")), path(QStringLiteral("copy.txt")), true,
                         &finalPath));
    EXPECT_EQ(finalPath, path(QStringLiteral("copy.txt 3")));
    EXPECT_EQ(read(QStringLiteral("copy.txt 3")), QByteArray("new"));
    EXPECT_EQ(read(QStringLiteral("copy.txt")), QByteArray("old"));
    EXPECT_FALSE(copyPath(path(QStringLiteral("missing")), path(QStringLiteral("x")), true));
}

TEST_F(Files, FoldersAreCopiedWholeWithLinksKeptAndNeverIntoThemselves)
{
    write(QStringLiteral("folder/sub/.hidden"), "h");
    link(QStringLiteral("sub/.hidden"), QStringLiteral("folder/shortcut"));
    ASSERT_TRUE(copyPath(path(QStringLiteral("folder")), path(QStringLiteral("copy")), false));
    EXPECT_EQ(read(QStringLiteral("copy/sub/.hidden")), QByteArray("h"));
    EXPECT_EQ(QFileInfo(path(QStringLiteral("copy/shortcut"))).symLinkTarget(),
              path(QStringLiteral("copy/sub/.hidden")));
    EXPECT_FALSE(
        copyPath(path(QStringLiteral("folder")), path(QStringLiteral("folder/inner")), true));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("folder/inner"))));
}

TEST_F(Files, NamedPipesInAFolderAreCopiedAsPipesWithoutWaitingForAWriter)
{
    write(QStringLiteral("folder/plain"), "p");
    const QByteArray pipe = QFile::encodeName(path(QStringLiteral("folder/pipe")));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);

    auto copying = std::async(std::launch::async, [this] {
        return copyPath(path(QStringLiteral("folder")), path(QStringLiteral("copy")), false);
    });
    if (copying.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // A writer that leaves at once gives the blocked reader its end of file.
        const int writer = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
        copying.wait();
        FAIL() << "the copy waited for someone to write into the named pipe";
    }
    EXPECT_TRUE(copying.get());
    struct stat info = {};
    ASSERT_EQ(::lstat(QFile::encodeName(path(QStringLiteral("copy/pipe"))).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(read(QStringLiteral("copy/plain")), QByteArray("p"));
}

TEST_F(Files, DirectoriesAreCreatedWithTheirParentsOnlyWhenRecursive)
{
    EXPECT_FALSE(createDirectoryAtPath(path(QStringLiteral("p/q/r")), {}, false));
    ASSERT_TRUE(createDirectoryAtPath(
        path(QStringLiteral("p/q/r")),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner, true));
    EXPECT_TRUE(isDirectory(path(QStringLiteral("p/q/r"))));
    EXPECT_EQ(QFileInfo(path(QStringLiteral("p/q"))).permissions() & QFileDevice::ReadOther,
              QFileDevice::Permissions());
    EXPECT_TRUE(createDirectoryAtPath(path(QStringLiteral("p/q/r")), {}, true));
    EXPECT_FALSE(createDirectoryAtPath(path(QStringLiteral("p/q/r")), {}, false));
    write(QStringLiteral("plain"), "x");
    EXPECT_FALSE(createDirectoryAtPath(path(QStringLiteral("plain")), {}, true));
    EXPECT_FALSE(createDirectoryAtPath(path(QStringLiteral("plain/below")), {}, true));
    EXPECT_FALSE(isDirectory(path(QStringLiteral("plain"))));
}

TEST_F(Files, OnlyEmptyRealFoldersAreRemoved)
{
    QDir().mkpath(path(QStringLiteral("empty")));
    QDir().mkpath(path(QStringLiteral("also-empty")));
    link(path(QStringLiteral("also-empty")), QStringLiteral("link-to-empty"));
    write(QStringLiteral("full/.dotfile"), "x");

    EXPECT_FALSE(removeEmptyFolderAtPath(path(QStringLiteral("full"))));
    EXPECT_FALSE(removeEmptyFolderAtPath(path(QStringLiteral("link-to-empty"))));
    EXPECT_FALSE(removeEmptyFolderAtPath(path(QStringLiteral("full/.dotfile"))));
    EXPECT_TRUE(removeEmptyFolderAtPath(path(QStringLiteral("empty"))));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("empty"))));
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("also-empty"))));
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("full/.dotfile"))));
}

TEST_F(Files, SizesFollowLinks)
{
    write(QStringLiteral("five"), "12345");
    link(QStringLiteral("five"), QStringLiteral("to-five"));
    EXPECT_EQ(filesizeAtPath(path(QStringLiteral("to-five"))), 5);
    EXPECT_EQ(filesizeAtPath(path(QStringLiteral("missing"))), 0);
}

TEST_F(Files, HiddenExtensionIsKeptAsAnExtendedAttribute)
{
    write(QStringLiteral("Report.pdf"), "x");
    EXPECT_FALSE(isFileExtensionHiddenAtPath(path(QStringLiteral("Report.pdf"))));
    if (!hideFileExtensionAtPath(path(QStringLiteral("Report.pdf")))) {
        ASSERT_EQ(errno, ENOTSUP) << "setting the attribute failed for another reason";
        GTEST_SKIP() << "this file system keeps no user attributes";
    }
    EXPECT_TRUE(isFileExtensionHiddenAtPath(path(QStringLiteral("Report.pdf"))));
    EXPECT_FALSE(hideFileExtensionAtPath(path(QStringLiteral("missing.pdf"))));
}

} // namespace
