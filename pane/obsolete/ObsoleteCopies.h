// SPDX-License-Identifier: MIT
#pragma once

#include "pane/process/RKProcess.h"

#include <QCoreApplication>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

/// Copies of the application that an older installer left in the places it used ("/opt" and
/// "~/Applications", each holding "Brisko.app"), and the one flow that puts them out of the
/// way: end what runs from them, drop a login item that starts them, and move them to the
/// Trash once the user agrees. The copy the pane itself carries is never one of them.
class ObsoleteCopies final
{
    Q_DECLARE_TR_FUNCTIONS(ObsoleteCopies)
public:
    /// How the flow talks to the user: an alert with a default and an alternate button (an
    /// empty title means no such button), answering 1 for the default one.
    using Alert = std::function<int(const QString &title, const QString &message,
                                    const QString &defaultButton, const QString &alternateButton)>;

    /// `currentApplication` gives the path of the application this pane carries,
    /// `applicationProcesses` this user's processes running the application, wherever from.
    ObsoleteCopies(std::function<QString()> currentApplication,
                   std::function<QList<RKProcess>()> applicationProcesses, Alert alert);

    // Where old copies are looked for; tests point it at folders of their own.
    void setFolders(const QStringList &folders) { _folders = folders; }
    const QStringList &folders() const { return _folders; }

    /// The obsolete copies there are, in the order of their folders.
    QStringList copies() const;
    bool anyInstalled() const { return !copies().isEmpty(); }

    /// What a showing of the pane does about them. Asks about each copy once per pane: a copy
    /// the user kept, or one this user cannot move (said once), is left alone from then on.
    /// True when the user's login items may have changed.
    bool offerRemoval();

    /// Sends the terminate signal to every process of this user running from an obsolete copy.
    void endProcesses() const;
    /// Removes the login item when it starts an obsolete copy.
    void removeLoginItem() const;
    /// Moves the copy in `folder` to the Trash, saying so when it cannot be moved.
    void moveToTrash(const QString &folder);
    void moveAllToTrash()
    {
        for (const QString &folder : _folders)
            moveToTrash(folder);
    }

private:
    QString _copyIn(const QString &folder) const;
    bool _isObsoleteCopy(const QString &path) const;
    /// Whether `path` (links followed) is one of them or lies inside one.
    bool _liesInCopy(const QString &path) const;
    /// Whether this user may move the copy at `path` to the Trash.
    static bool _canBeMoved(const QString &path);
    void _reportUnmovable(const QString &path);

    std::function<QString()> _currentApplication;
    std::function<QList<RKProcess>()> _applicationProcesses;
    Alert _alert;
    QStringList _folders{QStringLiteral("/opt"), QStringLiteral("~/Applications")};
    QSet<QString> _unmovable;
    QStringList _kept;
};
