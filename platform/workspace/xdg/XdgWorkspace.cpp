// SPDX-License-Identifier: MIT
#include "platform/workspace/xdg/XdgWorkspace.h"

#include "platform/core/Bundle.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <unistd.h>

namespace {

// Whether `destination` is where the freedesktop trash keeps a file taken from one of
// `folders`: the home trash, or for a file on another file system the trash at that file
// system's top, "$topdir/.Trash/$uid" or "$topdir/.Trash-$uid".
bool isTrashedLocation(const QString &destination, const QString &homeTrash,
                       const QStringList &folders)
{
    if (destination.startsWith(homeTrash + QLatin1Char('/')))
        return true;
    const QString uid = QString::number(::getuid());
    const QStringList topTrashes{QStringLiteral("/.Trash/%1/files/").arg(uid),
                                 QStringLiteral("/.Trash-%1/files/").arg(uid)};
    for (const QString &trash : topTrashes) {
        const qsizetype at = destination.indexOf(trash);
        if (at < 0)
            continue;
        const QString topdir = destination.left(at) + QLatin1Char('/');
        for (const QString &folder : folders) {
            if (QString(folder + QLatin1Char('/')).startsWith(topdir))
                return true;
        }
    }
    return false;
}

} // namespace

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

bool XdgWorkspace::launchApplication(const QString &path, const QStringList &arguments,
                                     qint64 *processIdentifier)
{
    if (processIdentifier)
        *processIdentifier = 0;
    QString executable = path;
    if (QFileInfo(path).isDir())
        executable = Bundle(path).executablePath();
    if (executable.isEmpty() || !QFileInfo(executable).isExecutable())
        return false;
    return QProcess::startDetached(executable, arguments, QString(), processIdentifier);
}

bool XdgWorkspace::recycle(const QString &path, QString *trashedPath)
{
    // WORKAROUND: Qt 6.4 makes a trash folder in the working directory and reports success
    // when the data home does not exist yet; create it first and check where the file went.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty() || !QDir().mkpath(dataHome) || !QFileInfo::exists(path))
        return false;
    // The file's folder as given and as resolved: either may lead to the file system's top.
    const QFileInfo folder(QFileInfo(path).absolutePath());
    const QStringList folders{folder.absoluteFilePath(), folder.canonicalFilePath()};
    QFile file(path);
    if (!file.moveToTrash())
        return false;
    const QString destination = file.fileName();
    const QString trashRoot = QDir(dataHome).absoluteFilePath(QStringLiteral("Trash"));
    if (!isTrashedLocation(destination, trashRoot, folders))
        return false;
    if (trashedPath)
        *trashedPath = destination;
    return true;
}

bool XdgWorkspace::canOpenScheme(const QString &scheme)
{
    static const QRegularExpression valid(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*$"));
    if (!valid.match(scheme).hasMatch())
        return false;
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QLatin1String("x-scheme-handler/") + scheme});
    // The desktop's own answer comes at once; one that hangs counts as no handler rather
    // than holding the menu that asked.
    if (!query.waitForFinished(2000)) {
        query.kill();
        query.waitForFinished(1000);
        return false;
    }
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0 &&
           !query.readAllStandardOutput().trimmed().isEmpty();
}
