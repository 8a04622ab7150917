// SPDX-License-Identifier: MIT
#pragma once

#include "platform/core/Bundle.h"

#include <QString>
#include <QStringList>

#include <map>

class PreferencePane;
class QPluginLoader;

/// Finds preference pane bundles and creates their principal classes from their plug-ins.
/// A plug-in, once loaded, stays loaded for the life of the process, as do the panes made
/// from it.
class PaneLoader final
{
public:
    PaneLoader();
    ~PaneLoader();
    PaneLoader(const PaneLoader &) = delete;
    PaneLoader &operator=(const PaneLoader &) = delete;

    /// Where panes are looked for, in order: the folders in BRISKO_PREFPANE_PATH
    /// (colon-separated), then the installed place beside this program (../lib/brisko), then
    /// the folder above it (the build tree).
    static QStringList paneFolders();

    /// The bundle of the pane with this bundle identifier, or at this path (anything with a
    /// slash); the first pane found when `identifier` is empty. Invalid when there is none.
    static Bundle findPane(const QString &identifier, const QStringList &folders = paneFolders());

    /// The pane in `bundle`, created once and kept; nullptr with `error` set when the bundle's
    /// plug-in cannot be loaded or has no principal class.
    PreferencePane *paneForBundle(const Bundle &bundle, QString *error);

    /// The window title a pane asks for: its "NSPrefPaneIconLabel", else its bundle name.
    static QString titleForBundle(const Bundle &bundle);

private:
    struct Loaded
    {
        QPluginLoader *loader = nullptr;
        PreferencePane *pane = nullptr;
    };
    std::map<QString, Loaded> _loaded;
};
