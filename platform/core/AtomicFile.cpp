// SPDX-License-Identifier: MIT
#include "platform/core/AtomicFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool writeAll(int fd, const QByteArray &data)
{
    qsizetype written = 0;
    while (written < data.size()) {
        const ssize_t result =
            ::write(fd, data.constData() + written, static_cast<size_t>(data.size() - written));
        if (result < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        written += result;
    }
    return true;
}

} // namespace

namespace AtomicFile {

Lock::Lock(const QString &path)
{
    const QByteArray lockPath = QFile::encodeName(path + QLatin1String(".lock"));
    _fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (_fd < 0) {
        _error = errnoText();
        return;
    }
    int result = 0;
    do {
        result = ::flock(_fd, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        _error = errnoText();
        ::close(_fd);
        _fd = -1;
    }
}

Lock::~Lock()
{
    if (_fd >= 0) {
        ::flock(_fd, LOCK_UN);
        ::close(_fd);
    }
}

bool replace(const QString &linkedPath, const QByteArray &contents, QString *error)
{
    // A file linked in from elsewhere (a dotfile manager's checkout, say) is written where the
    // link points; a rename over the link itself would cut it.
    const QFileInfo linked(linkedPath);
    QString path = linkedPath;
    if (linked.isSymLink())
        path = linked.exists() ? linked.canonicalFilePath() : linked.symLinkTarget();
    const QByteArray target = QFile::encodeName(path);
    // The temporary name is fixed: only the lock holder writes it, and whatever a killed
    // writer left there is replaced.
    const QByteArray temporary = QFile::encodeName(path + QLatin1String(".tmp"));
    // Whatever stands under the temporary name goes first: a pipe there would hold the writer
    // for ever, and a link would have it write elsewhere.
    ::unlink(temporary.constData());
    const int fd =
        ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        *error = errnoText();
        return false;
    }
    const bool written = ::fchmod(fd, 0600) == 0 && writeAll(fd, contents) && ::fsync(fd) == 0;
    if (!written)
        *error = errnoText();
    if (::close(fd) != 0 && written) {
        *error = errnoText();
        ::unlink(temporary.constData());
        return false;
    }
    if (!written || ::rename(temporary.constData(), target.constData()) != 0) {
        if (written)
            *error = errnoText();
        ::unlink(temporary.constData());
        return false;
    }
    // The rename itself must reach the disk for the new contents to survive a power cut.
    const QByteArray directory = QFile::encodeName(QFileInfo(path).absolutePath());
    const int directoryFd = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directoryFd >= 0) {
        ::fsync(directoryFd);
        ::close(directoryFd);
    }
    return true;
}

QString moveAside(const QString &path)
{
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    const QByteArray source = QFile::encodeName(path);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        QString target = path + QLatin1String(".unreadable-") + stamp;
        if (attempt > 0)
            target += QLatin1Char('-') + QString::number(attempt);
        const QByteArray destination = QFile::encodeName(target);
        // A hard link never replaces an existing file, so even a racing process cannot make
        // us overwrite an earlier copy.
        if (::link(source.constData(), destination.constData()) == 0) {
            ::unlink(source.constData());
            return target;
        }
        if (errno == EEXIST)
            continue;
        // File systems without hard links: rename, after making sure the name is free.
        if (!QFileInfo::exists(target) &&
            ::rename(source.constData(), destination.constData()) == 0)
            return target;
        return {};
    }
    return {};
}

} // namespace AtomicFile
