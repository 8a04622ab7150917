// SPDX-License-Identifier: MIT
#include "XdgWorkspace.h"

#include "core/Bundle.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

bool XdgWorkspace::openUrl(const QUrl &url)
{
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool XdgWorkspace::openFile(const QString &path)
{
    return QFileInfo::exists(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool XdgWorkspace::openFileWithApplication(const QString &path, const QString &application)
{
    if (!QFileInfo::exists(path) || application.isEmpty())
        return false;
    if (application.endsWith(QLatin1String(".desktop"))) {
        const QString launcher = QStandardPaths::findExecutable(QStringLiteral("gtk-launch"));
        if (launcher.isEmpty())
            return false;
        QString id = application;
        id.chop(int(qstrlen(".desktop")));
        return QProcess::startDetached(launcher, {id, path});
    }
    const QString executable = QStandardPaths::findExecutable(application);
    return !executable.isEmpty() && QProcess::startDetached(executable, {path});
}

bool XdgWorkspace::launchApplication(const QString &path, const QStringList &arguments)
{
    QString executable = path;
    if (QFileInfo(path).isDir())
        executable = Bundle(path).executablePath();
    if (executable.isEmpty() || !QFileInfo(executable).isExecutable())
        return false;
    return QProcess::startDetached(executable, arguments);
}

bool XdgWorkspace::recycle(const QString &path, QString *trashedPath)
{
    // WORKAROUND: Qt 6.4 makes a trash folder in the working directory and reports success
    // when the data home does not exist yet; create it first and check where the file went.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty() || !QDir().mkpath(dataHome) || !QFileInfo::exists(path))
        return false;
    QFile file(path);
    if (!file.moveToTrash())
        return false;
    const QString destination = file.fileName();
    const QString trashRoot = QDir(dataHome).absoluteFilePath(QStringLiteral("Trash"));
    if (!destination.startsWith(trashRoot + QLatin1Char('/')))
        return false;
    if (trashedPath)
        *trashedPath = destination;
    return true;
}
