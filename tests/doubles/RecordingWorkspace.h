// SPDX-License-Identifier: MIT
#pragma once

#include "platform/workspace/Workspace.h"

#include <QList>

#include <functional>

/// A workspace for tests: records every request and answers with `answer`.
class RecordingWorkspace final : public Workspace
{
public:
    struct Request
    {
        QString operation; // "openUrl", "openFile", "openFileWithApplication", ...
        QString target;
        QStringList arguments;
    };

    bool openUrl(const QUrl &url) override;
    bool openFile(const QString &path) override;
    bool openFileWithApplication(const QString &path, const QString &application) override;
    /// Hands out `launchedProcessIdentifier` as the started process.
    bool launchApplication(const QString &path, const QStringList &arguments = {},
                           qint64 *processIdentifier = nullptr) override;
    bool recycle(const QString &path, QString *trashedPath = nullptr) override;
    /// True for the schemes in `openableSchemes`; not recorded as a request.
    bool canOpenScheme(const QString &scheme) override;

    QList<Request> requests;
    bool answer = true;
    qint64 launchedProcessIdentifier = 0;
    QStringList openableSchemes;
    /// Runs as each request is made, to look at the world at that moment.
    std::function<void()> onRequest;

private:
    bool _record(const QString &operation, const QString &target, const QStringList &arguments);
};
