// SPDX-License-Identifier: MIT
#include "tests/doubles/RecordingHotKeyBackend.h"

RecordingHotKeyBackend::RecordingHotKeyBackend(QObject *parent)
    : HotKeyBackend(parent)
{}

QString RecordingHotKeyBackend::unavailableReason() const
{
    return available ? QString() : QStringLiteral("The recording backend was switched off.");
}

HotKeyRef RecordingHotKeyBackend::registerHotKey(int keyCode, int modifiers,
                                                 HotKeyIdentity identity, HotKeyFailure *failure)
{
    calls.append({Call::Register, keyCode, modifiers, 0});
    if (!available)
        return failed(failure, HotKeyFailure::Cause::Unavailable, unavailableReason());
    if (refuse && refuse(keyCode, modifiers))
        return failed(failure, HotKeyFailure::Cause::Taken,
                      QStringLiteral("The recording backend refused it."));
    const HotKeyRef ref = _nextRef++;
    calls.last().ref = ref;
    _registrations.append({ref, keyCode, modifiers, identity});
    return ref;
}

void RecordingHotKeyBackend::unregisterHotKey(HotKeyRef ref)
{
    int keyCode = 0;
    int modifiers = 0;
    for (qsizetype i = 0; i < _registrations.size(); ++i) {
        if (_registrations[i].ref == ref) {
            keyCode = _registrations[i].keyCode;
            modifiers = _registrations[i].modifiers;
            _registrations.removeAt(i);
            break;
        }
    }
    calls.append({Call::Unregister, keyCode, modifiers, ref});
}

int RecordingHotKeyBackend::registrationCount(int keyCode, int modifiers) const
{
    int count = 0;
    for (const Registration &registration : _registrations) {
        if (registration.keyCode == keyCode && registration.modifiers == modifiers)
            ++count;
    }
    return count;
}

void RecordingHotKeyBackend::failLater(HotKeyRef ref, const HotKeyFailure &failure)
{
    for (qsizetype i = 0; i < _registrations.size(); ++i) {
        if (_registrations[i].ref == ref) {
            _registrations.removeAt(i);
            Q_EMIT registrationFailed(ref, failure);
            return;
        }
    }
}

bool RecordingHotKeyBackend::press(int keyCode, int modifiers)
{
    return _deliver(keyCode, modifiers, true);
}

bool RecordingHotKeyBackend::release(int keyCode, int modifiers)
{
    return _deliver(keyCode, modifiers, false);
}

bool RecordingHotKeyBackend::_deliver(int keyCode, int modifiers, bool pressed)
{
    for (const Registration &registration : std::as_const(_registrations)) {
        if (registration.keyCode != keyCode || registration.modifiers != modifiers)
            continue;
        if (deliversEvents) {
            Q_EMIT hotKeyEvent({HotKeyEvent::ClassKeyboard,
                                pressed ? HotKeyEvent::KindPressed : HotKeyEvent::KindReleased,
                                registration.identity});
        } else {
            Q_EMIT applicationEvent({HotKeyApplicationEvent::TypeSystemDefined,
                                     pressed ? HotKeyApplicationEvent::SubtypeHotKeyPressed
                                             : HotKeyApplicationEvent::SubtypeHotKeyReleased,
                                     registration.ref});
        }
        return true;
    }
    return false;
}
