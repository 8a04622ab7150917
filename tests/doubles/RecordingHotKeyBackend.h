// SPDX-License-Identifier: MIT
#pragma once

#include "platform/hotkey/HotKeyBackend.h"

#include <QList>

#include <functional>

/// A hot key backend for tests: records every registration and unregistration, can refuse
/// registrations, and presses or releases what is registered as the desktop would.
class RecordingHotKeyBackend final : public HotKeyBackend
{
    Q_OBJECT
public:
    struct Registration
    {
        HotKeyRef ref = 0;
        int keyCode = 0;
        int modifiers = 0;
        HotKeyIdentity identity;
    };
    struct Call
    {
        enum Operation
        {
            Register,
            Unregister
        };
        Operation operation;
        int keyCode;
        int modifiers;
        HotKeyRef ref;
    };

    explicit RecordingHotKeyBackend(QObject *parent = nullptr);

    bool isAvailable() const override { return available; }
    QString unavailableReason() const override;
    bool deliversHotKeyEvents() const override { return deliversEvents; }
    HotKeyRef registerHotKey(int keyCode, int modifiers, HotKeyIdentity identity,
                             HotKeyFailure *failure = nullptr) override;
    void unregisterHotKey(HotKeyRef ref) override;

    /// What is registered now, in registration order.
    const QList<Registration> &registrations() const { return _registrations; }
    /// How many registrations hold this combination right now.
    int registrationCount(int keyCode, int modifiers) const;

    /// Delivers a press (or release) of the registered combination the way this backend
    /// delivers events; false when nothing holds the combination.
    bool press(int keyCode, int modifiers);
    bool release(int keyCode, int modifiers);
    /// Fails a registration made earlier, as a desktop that answers late would.
    void failLater(HotKeyRef ref, const HotKeyFailure &failure);

    bool available = true;
    bool deliversEvents = true;
    /// Answers true for combinations the desktop refuses; they count as taken.
    std::function<bool(int keyCode, int modifiers)> refuse;
    /// Every register and unregister call, in order, refused ones included.
    QList<Call> calls;

private:
    bool _deliver(int keyCode, int modifiers, bool pressed);

    QList<Registration> _registrations;
    HotKeyRef _nextRef = 0x1000;
};
