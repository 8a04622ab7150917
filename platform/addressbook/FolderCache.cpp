// SPDX-License-Identifier: MIT
#include "platform/addressbook/FolderCache.h"

#include "platform/core/FileDescriptor.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

qint64 nanoseconds(const struct timespec &time)
{
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

} // namespace

FolderCache::~FolderCache()
{
    if (_fd >= 0)
        ::close(_fd);
}

int FolderCache::_open(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash <= 0)
        return ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    const QByteArrayView folder = QByteArrayView(path).first(slash);
    if (_fd < 0 || folder != QByteArrayView(_folder)) {
        if (_fd >= 0)
            ::close(_fd);
        _folder = folder.toByteArray();
        _fd = ::open(_folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    if (_fd < 0)
        return ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    return ::openat(_fd, path.constData() + slash + 1, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}

FolderCache::Result FolderCache::open(Person::Origin &origin, int &fd, QString &error)
{
    fd = _open(origin.nativePath);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return Result::Missing;
        error = QString::fromLocal8Bit(std::strerror(errno));
        return Result::Failed;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(std::exchange(fd, -1));
        return Result::Missing;
    }
    origin.size = qint64(info.st_size);
    origin.modified = nanoseconds(info.st_mtim);
    origin.changed = nanoseconds(info.st_ctim);
    origin.inode = info.st_ino;
    return Result::Read;
}

bool FolderCache::readMore(int fd, QByteArray &data, qsizetype count, QString &error)
{
    const qsizetype start = data.size();
    data.resize(start + count);
    qsizetype done = 0;
    bool ok = true;
    while (done < count) {
        const ssize_t got = ::read(fd, data.data() + start + done, size_t(count - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = QString::fromLocal8Bit(std::strerror(errno));
            ok = false;
            break;
        }
        if (got == 0)
            break;
        done += got;
    }
    data.resize(start + done);
    return ok;
}

FolderCache::Result FolderCache::read(Person::Origin &origin, const Person::Origin *previous,
                                      QByteArray &data, QString &error)
{
    int fd = -1;
    const Result opened = open(origin, fd, error);
    if (opened != Result::Read)
        return opened;
    const FileDescriptor file(fd);
    if (previous && previous->isSameFileState(origin))
        return Result::Unchanged;
    data.resize(0);
    return readMore(fd, data, qsizetype(origin.size), error) ? Result::Read : Result::Failed;
}
