// SPDX-License-Identifier: MIT
#include "platform/addressbook/FolderWalk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

namespace {

constexpr int kMaxFolderDepth = 32;

bool isCandidateFileName(const char *name)
{
    if (name[0] == '.')
        return false; // hidden files: folder settings, editors' swap files, sync state
    const char *dot = std::strrchr(name, '.');
    if (!dot)
        return false;
    return strcasecmp(dot, ".tmp") != 0;
}

// The device and inode of each folder being listed, outermost first.
using FolderChain = std::vector<std::pair<dev_t, ino_t>>;

using Found = std::function<void(qsizetype root, QByteArray path)>;

struct Walk
{
    qsizetype root = 0;
    const Found &found;
    QStringList &folders;
    FolderChain enclosing;
};

void listFolder(Walk &walk, const QByteArray &folder, int depth)
{
    if (depth > kMaxFolderDepth)
        return;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    // Links to folders are followed, but one leading back to a folder being listed would
    // read the same cards again at every level down to the depth limit (two such links
    // would take exponentially long).
    struct stat self;
    if (::fstat(::dirfd(dir), &self) != 0 ||
        std::find(walk.enclosing.cbegin(), walk.enclosing.cend(),
                  std::pair(self.st_dev, self.st_ino)) != walk.enclosing.cend()) {
        ::closedir(dir);
        return;
    }
    walk.enclosing.emplace_back(self.st_dev, self.st_ino);
    walk.folders.append(QFile::decodeName(folder));
    std::vector<QByteArray> subfolders;
    while (dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.')
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        bool isFile = entry->d_type == DT_REG;
        QByteArray path = folder + '/' + name;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info;
            if (::stat(path.constData(), &info) != 0)
                continue;
            isFolder = S_ISDIR(info.st_mode);
            isFile = S_ISREG(info.st_mode);
        }
        if (isFolder)
            subfolders.push_back(std::move(path));
        else if (isFile && isCandidateFileName(name))
            walk.found(walk.root, std::move(path));
    }
    ::closedir(dir);
    for (const QByteArray &path : subfolders)
        listFolder(walk, path, depth + 1);
    walk.enclosing.pop_back();
}

} // namespace

namespace FolderWalk {

void walk(const QStringList &roots, const Found &found, QStringList *folders,
          QStringList *watchedFiles)
{
    QStringList unwanted;
    QStringList &listed = folders ? *folders : unwanted;
    for (qsizetype i = 0; i < roots.size(); ++i) {
        const QFileInfo info(roots[i]);
        if (info.isFile()) {
            found(i, QFile::encodeName(info.absoluteFilePath()));
            if (watchedFiles)
                watchedFiles->append(info.absoluteFilePath());
            listed.append(info.absolutePath());
        } else if (info.isDir()) {
            Walk walk{i, found, listed, {}};
            listFolder(walk, QFile::encodeName(info.absoluteFilePath()), 0);
        } else {
            // Not there yet: watch the nearest folder that exists, so creating it is seen.
            QDir parent = info.absoluteDir();
            while (!parent.exists() && !parent.isRoot())
                parent.setPath(QFileInfo(parent.absolutePath()).absolutePath());
            if (parent.exists() && !parent.isRoot())
                listed.append(parent.absolutePath());
        }
        // What is not wanted is not kept from one source to the next.
        unwanted.clear();
    }
}

Scan scan(const QStringList &roots)
{
    Scan result;
    std::vector<std::pair<qsizetype, QByteArray>> files;
    walk(
        roots,
        [&files](qsizetype root, QByteArray path) { files.emplace_back(root, std::move(path)); },
        &result.folders, &result.watchedFiles);
    // A folder's own path starts all of its files' paths, so this is the order of the paths
    // within each folder.
    std::sort(files.begin(), files.end());
    result.files.reserve(files.size());
    for (auto &[root, path] : files)
        result.files.push_back(std::move(path));
    return result;
}

} // namespace FolderWalk
