// SPDX-License-Identifier: MIT
#include "platform/core/RegularFile.h"

#include "platform/core/FileDescriptor.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile {
namespace {

Contents failure(Status status, const QString &error)
{
    Contents contents;
    contents.status = status;
    contents.error = error;
    return contents;
}

Contents fromErrno()
{
    const int error = errno;
    return failure(error == ENOENT || error == ENOTDIR ? Status::Missing : Status::Failed,
                   QString::fromLocal8Bit(std::strerror(error)));
}

Contents tooLarge(qint64 maxBytes)
{
    return failure(Status::TooLarge, QStringLiteral("it is larger than %1 bytes").arg(maxBytes));
}

/// Refuses what is no regular file or too large, from its status.
std::optional<Contents> refusal(const struct stat &info, qint64 maxBytes)
{
    if (S_ISDIR(info.st_mode))
        return failure(Status::NotRegular, QStringLiteral("it is a folder"));
    if (S_ISFIFO(info.st_mode))
        return failure(Status::NotRegular, QStringLiteral("it is a named pipe"));
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return failure(Status::NotRegular, QStringLiteral("it is a device"));
    if (!S_ISREG(info.st_mode))
        return failure(Status::NotRegular, QStringLiteral("it is no regular file"));
    if (info.st_size > maxBytes)
        return tooLarge(maxBytes);
    return std::nullopt;
}

} // namespace

Contents read(const QString &path, qint64 maxBytes, bool makePrivate)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info
    {
    };
    // Looked at before opening: opening a pipe waits for a writer, opening a device may act.
    if (::stat(name.constData(), &info) != 0)
        return fromErrno();
    if (auto refused = refusal(info, maxBytes))
        return *refused;
    const FileDescriptor fd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        return fromErrno();
    // The name may have been given to something else in between.
    if (::fstat(fd.get(), &info) != 0)
        return fromErrno();
    if (auto refused = refusal(info, maxBytes))
        return *refused;

    Contents contents;
    const mode_t permissions = info.st_mode & 07777;
    if (makePrivate && (permissions & 077) != 0) {
        contents.loosePermissions = permissions;
        // On the open file: the one that is read, wherever a link points.
        contents.madePrivate = ::fchmod(fd.get(), permissions & 07700) == 0;
    }
    QByteArray &data = contents.data;
    // Room for one byte more than the file holds shows a file that grew meanwhile.
    data.resize(qsizetype(info.st_size) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == data.size()) {
            if (filled > maxBytes)
                return tooLarge(maxBytes);
            data.resize(std::min<qsizetype>(maxBytes + 1, 2 * filled));
        }
        const ssize_t got = ::read(fd.get(), data.data() + filled, size_t(data.size() - filled));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return fromErrno();
        }
        if (got == 0)
            break;
        filled += got;
    }
    contents.data.truncate(filled);
    contents.status = Status::Read;
    return contents;
}

} // namespace RegularFile
