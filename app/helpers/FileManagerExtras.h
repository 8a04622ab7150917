// SPDX-License-Identifier: MIT
#pragma once

#include <QFileDevice>
#include <QString>

/// File system operations.
namespace FileManagerExtras {

/// The path exists (links followed) and is a directory.
bool isDirectory(const QString &path);

/// Size of the file, links followed; 0 when there is none. Linux files have no resource
/// fork, so there is nothing to add.
qint64 filesizeAtPath(const QString &path);

/// Follows a chain of symbolic links to its end; each relative target is read against the
/// folder of the link that holds it. A path that is no link comes back unchanged (cleaned).
/// Empty on failure: a cycle, a chain longer than 40 links, or an unreadable link.
QString resolveSymbolicLinkAtPath(const QString &path);

/// Creates the directory. With `recursive`, an existing directory is success and missing
/// parents are created first. `permissions` applies to each directory created; empty keeps
/// the default mode.
bool createDirectoryAtPath(const QString &path, QFileDevice::Permissions permissions,
                           bool recursive);

/// Copies a file or a folder (symbolic links copied as links, named pipes made anew; a device
/// or a socket fails the copy). With `appendNumber`, an existing destination makes the copy go
/// to "<destination> 2", "<destination> 3", ... `finalPath` receives the path chosen. Never
/// overwrites anything.
bool copyPath(const QString &source, const QString &destination, bool appendNumber,
              QString *finalPath = nullptr);

/// Removes the path only when it is a directory (not a link to one) with no entries.
bool removeEmptyFolderAtPath(const QString &path);

/// Marks the file's name extension as hidden in the extended attribute
/// "user.com.ambertide.extension-hidden". False, with nothing changed, where the file system
/// does not keep user attributes.
bool hideFileExtensionAtPath(const QString &path);
/// Whether the mark is set.
bool isFileExtensionHiddenAtPath(const QString &path);

} // namespace FileManagerExtras
