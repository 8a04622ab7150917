// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

/// Reading a file that any program, or a hostile hand, may have replaced with a named pipe, a
/// device, a folder or something huge: nothing waits on a pipe and nothing reads without limit.
namespace RegularFile {

/// More than any settings file or bundle property list of ours ever needs.
inline constexpr qint64 kMaxPropertyListBytes = 64 * 1024 * 1024;

enum class Status
{
    Read,
    Missing,
    /// A folder, named pipe, socket or device.
    NotRegular,
    TooLarge,
    Failed,
};

struct Contents
{
    Status status = Status::Failed;
    QByteArray data;
    /// Why the file was not read.
    QString error;
    /// With `makePrivate`: the permissions of a file others could read or write, 0 otherwise.
    unsigned loosePermissions = 0;
    /// Whether those permissions were narrowed to its owner's.
    bool madePrivate = false;
};

/// Reads `path`, links followed, when it is a regular file of at most `maxBytes`. With
/// `makePrivate` a file that others may read or write is first narrowed to its owner's
/// permissions.
Contents read(const QString &path, qint64 maxBytes = kMaxPropertyListBytes,
              bool makePrivate = false);

} // namespace RegularFile
