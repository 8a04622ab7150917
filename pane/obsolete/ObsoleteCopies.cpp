// SPDX-License-Identifier: MIT
#include "pane/obsolete/ObsoleteCopies.h"

#include "common/utility/AlertPanel.h"
#include "common/utility/RKUtility.h"
#include "platform/workspace/Workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVariant>

#include <unistd.h>

namespace {

const QString kApplicationName = QStringLiteral("Brisko.app");

QString expandedFolder(const QString &folder)
{
    if (folder == QLatin1String("~"))
        return QDir::homePath();
    if (folder.startsWith(QLatin1String("~/")))
        return QDir::homePath() + folder.mid(1);
    return folder;
}

} // namespace

ObsoleteCopies::ObsoleteCopies(std::function<QString()> currentApplication,
                               std::function<QList<RKProcess>()> applicationProcesses, Alert alert)
    : _currentApplication(std::move(currentApplication))
    , _applicationProcesses(std::move(applicationProcesses))
    , _alert(std::move(alert))
{}

QString ObsoleteCopies::_copyIn(const QString &folder) const
{
    return expandedFolder(folder) + QLatin1Char('/') + kApplicationName;
}

bool ObsoleteCopies::_isObsoleteCopy(const QString &path) const
{
    const QFileInfo copy(path);
    if (!copy.isDir())
        return false;
    // A link to the application this pane carries is the current version, not an old one.
    const QString current = QFileInfo(_currentApplication()).canonicalFilePath();
    return current.isEmpty() || copy.canonicalFilePath() != current;
}

QStringList ObsoleteCopies::copies() const
{
    QStringList copies;
    for (const QString &folder : _folders) {
        const QString path = _copyIn(folder);
        if (_isObsoleteCopy(path))
            copies.append(path);
    }
    return copies;
}

bool ObsoleteCopies::offerRemoval()
{
    // A copy this user cannot move is said once; ending the application and its login item
    // for it at every showing would only come back to the same question.
    bool movableCopy = false;
    for (const QString &path : copies()) {
        if (_unmovable.contains(path) || _kept.contains(path))
            continue;
        if (_canBeMoved(path))
            movableCopy = true;
        else
            _reportUnmovable(path);
    }
    if (!movableCopy)
        return false;
    endProcesses();
    removeLoginItem();
    const int choice = _alert(
        tr("Move old version to Trash?"),
        tr("You have an obsolete version of Brisko in your Applications folder. It is strongly "
           "recommended that it be moved to Trash to avoid confusion."),
        tr("Move to Trash"), tr("Keep Old Version"));
    if (choice == AlertPanel::DefaultReturn)
        moveAllToTrash();
    else
        _kept = copies();
    return true;
}

bool ObsoleteCopies::_liesInCopy(const QString &path) const
{
    const QString file = QFileInfo(path).canonicalFilePath();
    if (file.isEmpty())
        return false;
    for (const QString &copy : copies()) {
        const QString folder = QFileInfo(copy).canonicalFilePath();
        if (!folder.isEmpty() && (file == folder || file.startsWith(folder + QLatin1Char('/'))))
            return true;
    }
    return false;
}

void ObsoleteCopies::endProcesses() const
{
    // Only what runs from an old copy: a program of the same name elsewhere, this version
    // included, is none of the pane's business here.
    for (const RKProcess &process : _applicationProcesses()) {
        if (_liesInCopy(process.executablePath()))
            process.terminate();
    }
}

void ObsoleteCopies::removeLoginItem() const
{
    // The login item of this version has the same name; only one that starts an old copy
    // goes.
    for (const QVariant &item : RKUtility::_getAutoLaunchedApplications()) {
        const QString path = item.toMap().value(QStringLiteral("Path")).toString();
        if (QFileInfo(path).fileName() == kApplicationName && _liesInCopy(path)) {
            RKUtility::removeAutoLaunchAppNamed(kApplicationName);
            return;
        }
    }
}

void ObsoleteCopies::moveToTrash(const QString &folder)
{
    const QString path = _copyIn(folder);
    if (_isObsoleteCopy(path) && !_unmovable.contains(path) && !Workspace::shared().recycle(path))
        _reportUnmovable(path);
}

bool ObsoleteCopies::_canBeMoved(const QString &path)
{
    // Moving takes the right to change the folder that holds the copy, and for a folder also
    // the right to change the folder itself.
    const QFileInfo copy(path);
    if (::access(QFile::encodeName(copy.path()).constData(), W_OK | X_OK) != 0)
        return false;
    return copy.isSymLink() || ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

void ObsoleteCopies::_reportUnmovable(const QString &path)
{
    _unmovable.insert(path);
    _alert(tr("Cannot Move Old Version to Trash"),
           tr("The obsolete version of Brisko at %1 cannot be moved to Trash. "
              "Please remove it as an administrator.")
               .arg(path),
           tr("OK"), QString());
}
