// SPDX-License-Identifier: MIT
#include "app/helpers/FileManagerExtras.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace FileManagerExtras {

namespace {

constexpr int kMaximumLinks = 40;
constexpr int kMaximumCopyNumber = 100000;
const char kExtensionHiddenAttribute[] = "user.com.ambertide.extension-hidden";

bool isSymbolicLink(const QString &path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool existsWithoutFollowing(const QString &path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

// The raw target of one link, or a null string when it cannot be read.
QString readLink(const QString &path)
{
    const QByteArray encoded = QFile::encodeName(path);
    QByteArray target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(encoded.constData(), target.data(), size_t(target.size()));
    if (length < 0 || length >= target.size())
        return {};
    target.truncate(length);
    return QFile::decodeName(target);
}

bool copyRecursively(const QString &source, const QString &destination)
{
    if (isSymbolicLink(source)) {
        const QString target = readLink(source);
        return !target.isNull() && QFile::link(target, destination);
    }
    const QFileInfo info(source);
    if (!info.isDir()) {
        struct stat status = {};
        if (::lstat(QFile::encodeName(source).constData(), &status) != 0)
            return false;
        // Reading a named pipe would wait for a writer that may never come, and reading a
        // device copies what it produces, not the node: a pipe is made anew, devices and
        // sockets cannot be copied.
        if (S_ISFIFO(status.st_mode))
            return ::mkfifo(QFile::encodeName(destination).constData(), status.st_mode & 07777) ==
                   0;
        if (!S_ISREG(status.st_mode))
            return false;
        return QFile::copy(source, destination);
    }
    if (!QDir().mkdir(destination))
        return false;
    const QDir directory(source);
    const QStringList entries =
        directory.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (!copyRecursively(directory.filePath(entry), destination + QLatin1Char('/') + entry))
            return false;
    }
    QFile::setPermissions(destination, info.permissions());
    return true;
}

} // namespace

bool isDirectory(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

qint64 filesizeAtPath(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() ? info.size() : 0;
}

QString resolveSymbolicLinkAtPath(const QString &path)
{
    if (path.isEmpty())
        return {};
    QString current = QDir::cleanPath(QDir(path).absolutePath());
    for (int followed = 0; followed <= kMaximumLinks; ++followed) {
        if (!isSymbolicLink(current))
            return current;
        const QString target = readLink(current);
        if (target.isEmpty())
            return {};
        current =
            QDir::isAbsolutePath(target)
                ? QDir::cleanPath(target)
                : QDir::cleanPath(QFileInfo(current).absolutePath() + QLatin1Char('/') + target);
    }
    return {};
}

bool createDirectoryAtPath(const QString &path, QFileDevice::Permissions permissions,
                           bool recursive)
{
    if (path.isEmpty())
        return false;
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    if (recursive) {
        if (existsWithoutFollowing(clean) || QFileInfo::exists(clean))
            return QFileInfo(clean).isDir();
        const QString parent = QFileInfo(clean).absolutePath();
        if (parent != clean && !createDirectoryAtPath(parent, permissions, true))
            return false;
    }
    if (!QDir().mkdir(clean))
        return false;
    if (permissions != QFileDevice::Permissions())
        QFile::setPermissions(clean, permissions);
    return true;
}

bool copyPath(const QString &source, const QString &destination, bool appendNumber,
              QString *finalPath)
{
    if (source.isEmpty() || destination.isEmpty() || !existsWithoutFollowing(source))
        return false;
    // A folder copied into itself would copy its own copy without end.
    const QString absoluteSource = QDir::cleanPath(QDir(source).absolutePath());
    if (QDir::cleanPath(QDir(destination).absolutePath())
            .startsWith(absoluteSource + QLatin1Char('/')))
        return false;
    QString candidate = destination;
    if (appendNumber) {
        for (int number = 2; existsWithoutFollowing(candidate); ++number) {
            if (number > kMaximumCopyNumber)
                return false;
            candidate = destination + QLatin1Char(' ') + QString::number(number);
        }
    }
    if (finalPath)
        *finalPath = candidate;
    if (existsWithoutFollowing(candidate))
        return false;
    return copyRecursively(source, candidate);
}

bool removeEmptyFolderAtPath(const QString &path)
{
    if (path.isEmpty() || isSymbolicLink(path) || !QFileInfo(path).isDir())
        return false;
    const QDir directory(path);
    if (!directory.isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        return false;
    return QDir().rmdir(path);
}

bool hideFileExtensionAtPath(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QByteArray encoded = QFile::encodeName(path);
    return ::setxattr(encoded.constData(), kExtensionHiddenAttribute, "1", 1, 0) == 0;
}

bool isFileExtensionHiddenAtPath(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QByteArray encoded = QFile::encodeName(path);
    char value = 0;
    return ::getxattr(encoded.constData(), kExtensionHiddenAttribute, &value, 1) == 1 &&
           value == '1';
}

} // namespace FileManagerExtras
