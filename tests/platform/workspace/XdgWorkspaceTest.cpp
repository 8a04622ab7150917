// SPDX-License-Identifier: MIT
#include "platform/workspace/xdg/XdgWorkspace.h"

#include "tests/support/TemporaryHome.h"
#include "tests/support/WaitUntil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeSmallFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("bye") == 3;
}

dev_t deviceOf(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_dev : 0;
}

/// A writable file system other than the home's: a tmpfs of the test's own where it may mount
/// one (as root), else /dev/shm when that is a file system of its own.
class SecondFileSystem final
{
public:
    explicit SecondFileSystem(const TemporaryHome &home)
        : _mountPoint(home.path() + QStringLiteral("/other"))
    {
        QDir().mkpath(_mountPoint);
        if (::mount("tmpfs", QFile::encodeName(_mountPoint).constData(), "tmpfs", 0,
                    "size=1m,mode=0700") == 0) {
            _mounted = true;
            _folder = _mountPoint;
            return;
        }
        const QString shared = QStringLiteral("/dev/shm");
        if (deviceOf(shared) != 0 && deviceOf(shared) != deviceOf(home.path()) &&
            QFileInfo(shared).isWritable()) {
            _mountPoint = shared;
            _shared.emplace(shared + QStringLiteral("/brisko-recycle-XXXXXX"));
            if (_shared->isValid())
                _folder = _shared->path();
        }
    }
    ~SecondFileSystem()
    {
        if (_mounted)
            ::umount2(QFile::encodeName(_mountPoint).constData(), MNT_DETACH);
    }
    SecondFileSystem(const SecondFileSystem &) = delete;
    SecondFileSystem &operator=(const SecondFileSystem &) = delete;

    bool isReady() const { return !_folder.isEmpty(); }
    /// Where the file system is mounted: where its trash goes.
    QString mountPoint() const { return _mountPoint; }
    /// A folder of the test's own on it.
    QString folder() const { return _folder; }

private:
    QString _mountPoint;
    QString _folder;
    bool _mounted = false;
    std::optional<QTemporaryDir> _shared;
};

} // namespace

TEST(XdgWorkspace, RecycleMovesTheFileIntoTheUsersTrash)
{
    TemporaryHome home;
    // A fresh home without a data folder: the trash must still end up inside it.
    QDir(home.dataHome()).removeRecursively();
    const QString path = home.path() + QStringLiteral("/doomed.txt");
    ASSERT_TRUE(writeSmallFile(path));

    XdgWorkspace workspace;
    QString trashed;
    ASSERT_TRUE(workspace.recycle(path, &trashed));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(trashed.startsWith(home.dataHome() + QStringLiteral("/Trash/files/")));
    EXPECT_TRUE(QFileInfo::exists(trashed));
}

TEST(XdgWorkspace, RecycleOnAnotherFileSystemUsesThatFileSystemsTrash)
{
    TemporaryHome home;
    const SecondFileSystem other(home);
    if (!other.isReady())
        GTEST_SKIP() << "no second file system: mounting a tmpfs was refused (not root, or no "
                        "CAP_SYS_ADMIN) and /dev/shm is not a writable file system of its own";
    const QString trashFolder =
        other.mountPoint() + QStringLiteral("/.Trash-") + QString::number(::getuid());
    const bool trashExisted = QFileInfo::exists(trashFolder);

    const QString path = other.folder() + QStringLiteral("/doomed.txt");
    ASSERT_TRUE(writeSmallFile(path));

    XdgWorkspace workspace;
    QString trashed;
    const bool recycled = workspace.recycle(path, &trashed);
    const QString trashedThere =
        trashFolder + QStringLiteral("/files/") + QFileInfo(path).fileName();
    const bool moved = !QFileInfo::exists(path);
    // Leave a shared file system as it was found.
    if (trashExisted) {
        QFile::remove(trashedThere);
        QFile::remove(trashFolder + QStringLiteral("/info/doomed.txt.trashinfo"));
    } else {
        QDir(trashFolder).removeRecursively();
    }

    EXPECT_TRUE(moved);
    EXPECT_TRUE(recycled) << "the file went to the trash but the move was reported failed";
    EXPECT_EQ(trashed, trashedThere);
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
    tool.write("#!/bin/sh\nprintf '%s\\n%s\\n' \"$1\" $$ > \"$2\"\n");
    tool.close();
    tool.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    XdgWorkspace workspace;
    qint64 started = 0;
    ASSERT_TRUE(workspace.launchApplication(bundle, {QStringLiteral("hello"), marker}, &started));
    waitUntil([&] { return QFileInfo(marker).size() > 0; }, 5000);
    QFile result(marker);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly)) << "the bundle's executable never ran";
    EXPECT_EQ(result.readAll().trimmed(), "hello\n" + QByteArray::number(started))
        << "the identifier handed out is not the started program's";
}

TEST(XdgWorkspace, KnowsWhichSchemesTheDesktopHasAHandlerFor)
{
    TemporaryHome home;
    ASSERT_TRUE(QDir().mkpath(home.dataHome() + QStringLiteral("/applications")));
    QFile handler(home.dataHome() + QStringLiteral("/applications/phone-handler.desktop"));
    ASSERT_TRUE(handler.open(QIODevice::WriteOnly));
    handler.write("[Desktop Entry]\nType=Application\nName=Phone\nExec=true %u\n"
                  "MimeType=x-scheme-handler/tel;\n");
    handler.close();
    QFile list(home.configHome() + QStringLiteral("/mimeapps.list"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("[Default Applications]\nx-scheme-handler/tel=phone-handler.desktop\n");
    list.close();

    XdgWorkspace workspace;
    EXPECT_TRUE(workspace.canOpenScheme(QStringLiteral("tel")));
    EXPECT_FALSE(workspace.canOpenScheme(QStringLiteral("brisko-unknown")));
    EXPECT_FALSE(workspace.canOpenScheme(QStringLiteral("tel; touch /tmp/x")));
}
