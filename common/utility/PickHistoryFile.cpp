// SPDX-License-Identifier: MIT
#include "common/utility/PickHistoryFile.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/XdgBaseDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace PickHistoryFile {

QString folder()
{
    return XdgBaseDirectory::stateHome() + QLatin1String("/brisko");
}

QString path()
{
    return folder() + QLatin1String("/pick-history.json");
}

bool makeFolder(const QString &where, QString *error)
{
    if (QFileInfo(where).isDir())
        return true;
    // The parents as the desktop makes them; the folder itself its owner's alone.
    if (!QDir().mkpath(QFileInfo(where).absolutePath()) ||
        (::mkdir(QFile::encodeName(where).constData(), 0700) != 0 && errno != EEXIST)) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

bool remove(const QString &path, QString *error)
{
    const QFileInfo file(path);
    if (!file.dir().exists())
        return true;
    const AtomicFile::Lock lock(path);
    if (!lock.isLocked()) {
        if (error)
            *error = lock.error();
        return false;
    }
    bool removed = true;
    const QStringList kept = file.dir().entryList(
        {QString(file.fileName() + QLatin1String(".unreadable-*"))}, QDir::Files | QDir::Hidden);
    for (const QString &name : kept)
        removed = QFile::remove(file.dir().filePath(name)) && removed;
    if (file.exists() || file.isSymLink()) {
        if (!QFile::remove(path)) {
            removed = false;
            if (error)
                *error = QStringLiteral("the file could not be removed");
        }
    }
    return removed;
}

} // namespace PickHistoryFile
