// SPDX-License-Identifier: MIT
#pragma once

#include "platform/workspace/Workspace.h"

/// The freedesktop workspace: xdg-open through QDesktopServices, detached processes,
/// the freedesktop trash.
class XdgWorkspace final : public Workspace
{
public:
    bool openUrl(const QUrl &url) override;
    bool openFile(const QString &path) override;
    bool openFileWithApplication(const QString &path, const QString &application) override;
    bool launchApplication(const QString &path, const QStringList &arguments = {},
                           qint64 *processIdentifier = nullptr) override;
    bool recycle(const QString &path, QString *trashedPath = nullptr) override;
    /// Asks xdg-mime for the default handler of `x-scheme-handler/<scheme>`.
    bool canOpenScheme(const QString &scheme) override;
};
