// SPDX-License-Identifier: MIT
#pragma once

#include "common/keycombo/KeyCombo.h"
#include "platform/hotkey/HotKeyBackend.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <optional>

/// The application's registry of named global hot keys. A name holds one combination, a
/// target and an action; while the center is enabled every valid combination is registered
/// with the desktop, and a press calls the action once with the center as its argument.
/// Switching the center off unregisters everything without forgetting it.
class HotKeyCenter final : public QObject
{
    Q_OBJECT
public:
    using Action = std::function<void(HotKeyCenter *center)>;

    /// "HKyC": the signature every registration carries.
    static constexpr quint32 Signature = 0x484B7943;

    /// The process-wide center, created on first use with the desktop's backend (or the one
    /// installed with setSharedBackend) and never destroyed.
    static HotKeyCenter *sharedCenter();
    /// Chooses the backend of the shared center; only before its first use (returns false
    /// afterwards and keeps the backend it has).
    static bool setSharedBackend(std::unique_ptr<HotKeyBackend> backend);

    /// A center of its own over `backend` (tests; the application uses sharedCenter()).
    explicit HotKeyCenter(std::unique_ptr<HotKeyBackend> backend, QObject *parent = nullptr);
    ~HotKeyCenter() override;

    /// Adds or replaces the hot key `name`. `action` names an invokable method of `target`
    /// taking the center (as QObject * or HotKeyCenter *) or nothing. Returns the result of
    /// registering: false only when the desktop refused the combination.
    bool addHotKey(const QString &name, const std::optional<KeyCombo> &combo, QObject *target,
                   const char *action);
    /// The same with a function; `target` bounds its lifetime: once the target is destroyed
    /// a press calls nothing.
    bool addHotKey(const QString &name, const std::optional<KeyCombo> &combo, QObject *target,
                   Action action);
    /// Unregisters and forgets `name`; an unknown name changes nothing.
    void removeHotKey(const QString &name);

    QStringList allNames() const;
    std::optional<KeyCombo> keyComboForName(const QString &name) const;
    /// Why the hot key `name` is not registered, when its last registration failed; nothing
    /// once a later attempt is under way or done.
    std::optional<HotKeyFailure> failureForName(const QString &name) const;

    void setEnabled(bool enabled);
    bool enabled() const { return mEnabled; }

    /// Entry point of the desktop's hot key events; returns a HotKeyStatus code.
    int handleHotKeyEvent(const HotKeyEvent &event);
    /// Entry point for desktops without hot key events: presses arrive as application events
    /// that carry the registration's reference.
    void sendEvent(const HotKeyApplicationEvent &event);

    /// Whether the backend delivers hot key events (otherwise sendEvent() carries presses).
    bool _systemSupportsHotKeys() const;
    HotKeyBackend *backend() const { return mBackend.get(); }

Q_SIGNALS:
    /// A registration failed, at once or later on (a desktop may answer late). Emitted on each
    /// failed attempt; the next switch-on tries again.
    void registrationFailed(const QString &name, const KeyCombo &combo,
                            const HotKeyFailure &failure);

private:
    struct _HotKeyData
    {
        bool mRegistered = false;
        HotKeyRef mRef = 0;
        quint32 mId = 0;
        QString mName;
        KeyCombo mCombo;
        std::optional<HotKeyFailure> mFailure;
        QPointer<QObject> mTarget;
        Action mAction;
    };
    using Record = std::shared_ptr<_HotKeyData>;

    bool _addRecord(const QString &name, const KeyCombo &combo, QObject *target, Action action);
    bool _registerHotKeyIfNeeded(_HotKeyData *hk);
    void _unregisterHotKeyIfNeeded(_HotKeyData *hk);
    void _registrationFailed(HotKeyRef ref, const HotKeyFailure &failure);
    void _hotKeyDown(const Record &hk);
    void _hotKeyUp(const Record &hk);
    Record _findHotKeyWithId(quint32 id) const;
    Record _findHotKeyWithRef(HotKeyRef ref) const;
    quint32 _nextId();

    std::unique_ptr<HotKeyBackend> mBackend;
    bool mEnabled = true;
    std::map<QString, Record> mHotKeys;
    quint32 mLastId = 0;
};
