// SPDX-License-Identifier: MIT
#pragma once

#include "host/PaneLoader.h"
#include "platform/prefpane/PreferencePane.h"

#include <QDBusContext>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class PreferencesWindow;
class SessionInstance;

/// The preferences host: one per session, known on the session bus by `ServiceName`. It
/// loads panes, shows one at a time in its window and tells the pane when it is selected.
/// A later start asks the running host, over the bus, to show a pane ("ShowPane"), which
/// answers once the pane is on screen.
class PreferencesHost final : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.ambertide.BriskoPreferences")

public:
    static inline const QString ServiceName = QStringLiteral("com.ambertide.BriskoPreferences");
    static inline const QString ObjectPath = QStringLiteral("/Host");
    static inline const QString Interface = QStringLiteral("com.ambertide.BriskoPreferences");

    enum class Claim
    {
        /// This process is the session's host now.
        Owned,
        /// Another process is.
        Taken,
        /// No session bus: this process shows its panes without being findable.
        NoBus,
    };

    using Done = std::function<void(bool shown, const QString &error)>;

    explicit PreferencesHost(QObject *parent = nullptr);
    ~PreferencesHost() override;

    Claim claim();

    /// Shows the pane with this identifier (see PaneLoader::findPane) and calls `done` once
    /// it is on screen, or at once with the reason it cannot be shown. The pane is told
    /// willSelect() before and didSelect() after it is shown, each time.
    void showPane(const QString &identifier, Done done);

    PreferencesWindow *window() const;
    PaneLoader &loader() { return _loader; }

    /// Asks the session's host to show a pane and waits for its answer; false with `error`
    /// set when there is no host, it could not show the pane or did not answer in time.
    static bool askToShowPane(const QString &identifier, QString *error, int timeoutMs = 120000);

public Q_SLOTS:
    /// Called over the bus; the answer goes out once the pane is shown.
    Q_SCRIPTABLE void ShowPane(const QString &identifier);

private:
    PaneLoader _loader;
    std::unique_ptr<PreferencesWindow> _window;
    std::unique_ptr<SessionInstance> _instance;
    bool _registered = false;
    bool _selecting = false;
};
