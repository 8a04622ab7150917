// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/Person.h"

#include <QByteArray>
#include <QString>

/// Reads the address book's files one after another, keeping the folder of the last one open:
/// opening each file relative to it saves looking its whole path up again. One per thread.
class FolderCache final
{
public:
    enum class Result
    {
        Read,
        /// The file's state is the one `previous` recorded; nothing was read.
        Unchanged,
        /// Gone, or no regular file (any more).
        Missing,
        Failed,
    };

    FolderCache() = default;
    FolderCache(const FolderCache &) = delete;
    FolderCache &operator=(const FolderCache &) = delete;
    ~FolderCache();

    /// Opens the file `origin` names, records its state in `origin` and reads it into `data`
    /// unless `previous` shows the same state. Asking the open file for its state saves a
    /// second look-up of the path. `error` says why a file could not be read.
    Result read(Person::Origin &origin, const Person::Origin *previous, QByteArray &data,
                QString &error);
    /// Opens the file and records its state as read() does, for a caller that reads it a
    /// piece at a time with readMore(); `fd` is the open file when the result is Read.
    Result open(Person::Origin &origin, int &fd, QString &error);
    /// Appends up to `count` more bytes of the open file `fd` to `data`, fewer at its end;
    /// false on an error, which `error` says.
    static bool readMore(int fd, QByteArray &data, qsizetype count, QString &error);

private:
    // Opens `path` relative to its folder; -1 with errno set on failure.
    int _open(const QByteArray &path);

    QByteArray _folder;
    int _fd = -1;
};
