// SPDX-License-Identifier: MIT
#include "platform/addressbook/FolderCache.h"

#include <cerrno>
#include <cstring>

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

FolderCache::Result FolderCache::read(Person::Origin &origin, const Person::Origin *previous,
                                      QByteArray &data, QString &error)
{
    const int fd = _open(origin.nativePath);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return Result::Missing;
        error = QString::fromLocal8Bit(std::strerror(errno));
        return Result::Failed;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return Result::Missing;
    }
    origin.size = qint64(info.st_size);
    origin.modified = nanoseconds(info.st_mtim);
    origin.changed = nanoseconds(info.st_ctim);
    origin.inode = info.st_ino;
    if (previous && previous->isSameFileState(origin)) {
        ::close(fd);
        return Result::Unchanged;
    }
    data.resize(qsizetype(info.st_size));
    qsizetype done = 0;
    Result result = Result::Read;
    while (done < data.size()) {
        const ssize_t count = ::read(fd, data.data() + done, size_t(data.size() - done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            error = QString::fromLocal8Bit(std::strerror(errno));
            result = Result::Failed;
            break;
        }
        if (count == 0)
            break;
        done += count;
    }
    data.resize(done);
    ::close(fd);
    return result;
}
