// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QStringList>

#include <functional>
#include <vector>

/// The vCard files under the address book's sources, and the folders to watch for changes.
namespace FolderWalk {

struct Scan
{
    /// Native paths, in the address book's order: the sources in their order, each folder's
    /// files by path (sub-folders' files among them, "sub/x.vcf" by its whole path).
    std::vector<QByteArray> files;
    /// Every folder listed, and the folder of each file named directly; for a source that does
    /// not exist yet, the nearest folder above it that does, so creating it is seen.
    QStringList folders;
    /// The files named directly as sources.
    QStringList watchedFiles;
};

/// Lists every source: a file is taken as it is, a folder is walked down to 32 levels. Hidden
/// names, files without an extension and `.tmp` files (editors' and sync tools' own) are
/// passed over. Links to folders are followed, but never back into a folder being listed.
Scan scan(const QStringList &roots);

/// The same files as scan(), each handed to `found` as soon as its folder is read, for a
/// caller that starts on them meanwhile: `root` is its source's place in `roots`, `path` its
/// native path. They come in the order the folders list them; sorted by root and then by
/// path they are in scan()'s order. `folders` and `watchedFiles`, if given, receive what
/// scan() keeps in its own.
void walk(const QStringList &roots,
          const std::function<void(qsizetype root, QByteArray path)> &found,
          QStringList *folders = nullptr, QStringList *watchedFiles = nullptr);

} // namespace FolderWalk
