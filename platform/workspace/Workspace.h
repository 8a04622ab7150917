// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>

/// Opens URLs and files and launches programs the way this desktop does it. The
/// application decides what to open; the installed backend decides how.
class Workspace
{
public:
    virtual ~Workspace();

    /// The process-wide workspace: the desktop's own unless a test installed another.
    static Workspace &shared();
    /// Replaces the process-wide workspace (tests install RecordingWorkspace). Passing
    /// nullptr restores the desktop's own.
    static void setShared(std::unique_ptr<Workspace> workspace);

    virtual bool openUrl(const QUrl &url) = 0;
    /// Opens a file with the desktop's default handler for its type.
    virtual bool openFile(const QString &path) = 0;
    /// Opens a file with a named application: a `.desktop` application id or an
    /// executable on PATH.
    virtual bool openFileWithApplication(const QString &path, const QString &application) = 0;
    /// Starts a program detached: a bundle directory (its executable) or an executable. The
    /// started process's identifier goes to `processIdentifier`, 0 when it is not known.
    virtual bool launchApplication(const QString &path, const QStringList &arguments = {},
                                   qint64 *processIdentifier = nullptr) = 0;
    /// Moves a file to the freedesktop trash; its new path in `trashedPath`.
    virtual bool recycle(const QString &path, QString *trashedPath = nullptr) = 0;
    /// Whether some application of the desktop opens URLs of `scheme` ("tel", …).
    virtual bool canOpenScheme(const QString &scheme) = 0;
};
