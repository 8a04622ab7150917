// SPDX-License-Identifier: MIT
#include "addressbook/FolderWalk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
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

void listFolder(const QByteArray &root, const QByteArray &relative, int depth,
                std::vector<QByteArray> &files, QStringList &folders, FolderChain &enclosing)
{
    if (depth > kMaxFolderDepth)
        return;
    const QByteArray folder = relative.isEmpty() ? root : root + '/' + relative;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    // Links to folders are followed, but one leading back to a folder being listed would
    // read the same cards again at every level down to the depth limit (two such links
    // would take exponentially long).
    struct stat self;
    if (::fstat(::dirfd(dir), &self) != 0 ||
        std::find(enclosing.cbegin(), enclosing.cend(), std::pair(self.st_dev, self.st_ino)) !=
            enclosing.cend()) {
        ::closedir(dir);
        return;
    }
    enclosing.emplace_back(self.st_dev, self.st_ino);
    folders.append(QFile::decodeName(folder));
    std::vector<QByteArray> subfolders;
    while (dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.')
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        bool isFile = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info;
            const QByteArray full = folder + '/' + name;
            if (::stat(full.constData(), &info) != 0)
                continue;
            isFolder = S_ISDIR(info.st_mode);
            isFile = S_ISREG(info.st_mode);
        }
        const QByteArray path = relative.isEmpty() ? QByteArray(name) : relative + '/' + name;
        if (isFolder)
            subfolders.push_back(path);
        else if (isFile && isCandidateFileName(name))
            files.push_back(path);
    }
    ::closedir(dir);
    for (const QByteArray &path : subfolders)
        listFolder(root, path, depth + 1, files, folders, enclosing);
    enclosing.pop_back();
}

} // namespace

namespace FolderWalk {

Scan scan(const QStringList &roots)
{
    Scan result;
    for (const QString &root : roots) {
        const QFileInfo info(root);
        if (info.isFile()) {
            result.files.push_back(QFile::encodeName(info.absoluteFilePath()));
            result.watchedFiles.append(info.absoluteFilePath());
            result.folders.append(info.absolutePath());
        } else if (info.isDir()) {
            const QByteArray base = QFile::encodeName(info.absoluteFilePath());
            std::vector<QByteArray> relative;
            FolderChain enclosing;
            listFolder(base, QByteArray(), 0, relative, result.folders, enclosing);
            std::sort(relative.begin(), relative.end());
            for (const QByteArray &path : relative)
                result.files.push_back(base + '/' + path);
        } else {
            // Not there yet: watch the nearest folder that exists, so creating it is seen.
            QDir parent = info.absoluteDir();
            while (!parent.exists() && !parent.isRoot())
                parent.setPath(QFileInfo(parent.absolutePath()).absolutePath());
            if (parent.exists() && !parent.isRoot())
                result.folders.append(parent.absolutePath());
        }
    }
    return result;
}

} // namespace FolderWalk
