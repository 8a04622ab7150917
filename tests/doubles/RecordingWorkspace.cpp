// SPDX-License-Identifier: MIT
#include "tests/doubles/RecordingWorkspace.h"

bool RecordingWorkspace::_record(const QString &operation, const QString &target,
                                 const QStringList &arguments)
{
    requests.append({operation, target, arguments});
    if (onRequest)
        onRequest();
    return answer;
}

bool RecordingWorkspace::openUrl(const QUrl &url)
{
    return _record(QStringLiteral("openUrl"), url.toString(), {});
}

bool RecordingWorkspace::openFile(const QString &path)
{
    return _record(QStringLiteral("openFile"), path, {});
}

bool RecordingWorkspace::openFileWithApplication(const QString &path, const QString &application)
{
    return _record(QStringLiteral("openFileWithApplication"), path, {application});
}

bool RecordingWorkspace::launchApplication(const QString &path, const QStringList &arguments,
                                           qint64 *processIdentifier)
{
    if (processIdentifier)
        *processIdentifier = launchedProcessIdentifier;
    return _record(QStringLiteral("launchApplication"), path, arguments);
}

bool RecordingWorkspace::recycle(const QString &path, QString *trashedPath)
{
    if (trashedPath)
        trashedPath->clear();
    return _record(QStringLiteral("recycle"), path, {});
}

bool RecordingWorkspace::canOpenScheme(const QString &scheme)
{
    return openableSchemes.contains(scheme);
}
