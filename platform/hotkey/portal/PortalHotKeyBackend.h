// SPDX-License-Identifier: MIT
#pragma once

#include "platform/hotkey/HotKeyBackend.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QVariantMap>

#include <map>
#include <memory>

class OrgFreedesktopPortalGlobalShortcutsInterface;
class QDBusError;
class QDBusMessage;
class QDBusPendingCall;
class QTimer;

/// Global hot keys through the desktop portal's GlobalShortcuts interface, where Wayland
/// desktops offer them (KDE Plasma 5.27+, GNOME 48+, Hyprland). A portal session binds its
/// shortcuts only once, so every hot key gets a session of its own: unregistering closes it and
/// registering again opens a new one. Desktops keep a shortcut under its session's token and
/// its id, and the user may give it another key in the desktop's settings; so the token is the
/// same at every start (one per live hot key, `sessionTokenFor`) and the id is the trigger
/// Brisko asked for: the same key keeps the user's choice, a new key is a new shortcut. The
/// portal answers through Request objects; each answer has a time-out and is read only in the
/// form the portal defines; a binding that is refused, unanswered or impossible is reported
/// through `registrationFailed`. Whether the desktop asks the user first is its affair.
class PortalHotKeyBackend final : public HotKeyBackend
{
    Q_OBJECT
public:
    struct Timeouts
    {
        /// The reply to a method call, which the portal gives at once.
        int callMs = 5000;
        /// The answer to creating a session.
        int sessionMs = 10000;
        /// The answer to binding, which may wait for the user in the desktop's dialog.
        int bindMs = 120000;
    };

    /// Asks the session bus's portal, waiting at most `callMs`, whether it offers global
    /// shortcuts. `description` tells the user what the shortcuts do; by default "Show" and
    /// the application's name.
    PortalHotKeyBackend();
    explicit PortalHotKeyBackend(const Timeouts &timeouts, const QString &description = QString());
    ~PortalHotKeyBackend() override;

    bool isAvailable() const override;
    QString unavailableReason() const override;
    HotKeyRef registerHotKey(int keyCode, int modifiers, HotKeyIdentity identity,
                             HotKeyFailure *failure = nullptr) override;
    void unregisterHotKey(HotKeyRef ref) override;

    /// The combination in the shortcuts format the portal takes ("CTRL+ALT+space",
    /// "SHIFT+LOGO+k"); empty when no key of a PC keyboard sits at `keyCode`.
    static QString triggerFor(int keyCode, int modifiers);
    /// The session token of the hot key in `slot` (1 for the first one registered and still
    /// live): the name the desktop files the shortcut under, the same at every start.
    static QString sessionTokenFor(int slot);

private Q_SLOTS:
    void _response(uint response, const QVariantMap &results, const QDBusMessage &message);
    void _sessionClosed(const QVariantMap &details, const QDBusMessage &message);
    void _activated(const QDBusObjectPath &session, const QString &shortcutId, qulonglong timestamp,
                    const QVariantMap &options);
    void _deactivated(const QDBusObjectPath &session, const QString &shortcutId,
                      qulonglong timestamp, const QVariantMap &options);

private:
    enum class Stage
    {
        CreatingSession,
        Binding,
        Bound,
    };
    struct Binding
    {
        HotKeyIdentity identity;
        QString trigger;
        int slot = 0;
        Stage stage = Stage::CreatingSession;
        /// The request whose answer is awaited; empty once bound.
        QString requestPath;
        QString sessionPath;
        std::unique_ptr<QTimer> deadline;
    };

    void _registerApplication();
    QString _probe();
    QString _newToken();
    int _freeSlot() const;
    QList<QPair<QString, QVariantMap>> _shortcutsOf(const Binding &binding) const;
    QString _handlePath(const QString &kind, const QString &token) const;
    void _await(HotKeyRef ref, const QString &requestPath, int timeoutMs);
    void _watch(HotKeyRef ref, const QDBusPendingCall &call);
    void _bind(HotKeyRef ref);
    void _bound(HotKeyRef ref, const QVariantMap &results);
    void _fail(HotKeyRef ref, HotKeyFailure::Cause cause, const QString &detail);
    void _closeSession(const QString &sessionPath);
    Binding *_bindingForSession(const QString &sessionPath, const QString &shortcutId);

    Timeouts _timeouts;
    QString _description;
    QString _connectionName;
    QDBusConnection _connection;
    std::unique_ptr<OrgFreedesktopPortalGlobalShortcutsInterface> _portal;
    QString _unavailableReason;
    std::map<HotKeyRef, Binding> _bindings;
    HotKeyRef _nextRef = 1;
    quint64 _nextToken = 1;
};
