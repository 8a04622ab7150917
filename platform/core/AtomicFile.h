// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

/// Files that several processes of the user write: each writer holds an advisory lock on
/// `<file>.lock`, and a file is only ever replaced whole by a rename, so a reader sees the old
/// or the new file and a writer killed mid-write leaves the old one.
namespace AtomicFile {

/// flock on `<path>.lock`, held until the object ends. The kernel lets go of it when its
/// process dies, so no stale lock is ever left behind.
class Lock final
{
public:
    explicit Lock(const QString &path);
    ~Lock();
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;

    bool isLocked() const { return _fd >= 0; }
    QString error() const { return _error; }

private:
    int _fd = -1;
    QString _error;
};

/// Writes `contents` to `<path>.tmp` (mode 0600), fsyncs it and renames it over `path`; a
/// `path` that is a symbolic link is written where the link points. The lock must be held.
bool replace(const QString &path, const QByteArray &contents, QString *error);

/// Moves a file that cannot be read to `<path>.unreadable-<time>` under a name that does not
/// exist yet, so no earlier copy is ever replaced; the new name, or empty when it could not
/// be moved.
QString moveAside(const QString &path);

} // namespace AtomicFile
