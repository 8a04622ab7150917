// SPDX-License-Identifier: MIT
#pragma once

#include "platform/hotkey/HotKeyBackend.h"

#include <QAbstractNativeEventFilter>
#include <QList>

#include <cstdint>
#include <map>

struct xcb_connection_t;
struct xkb_context;
struct xkb_keymap;

/// Global hot keys on an X server: passive key grabs on every root window, one per
/// Num Lock / Caps Lock variant, on the application's own X connection, so the key events
/// pass through Qt and it keeps the server time current for window activation.
class XcbHotKeyBackend final : public HotKeyBackend, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    XcbHotKeyBackend();
    ~XcbHotKeyBackend() override;

    bool isAvailable() const override;
    QString unavailableReason() const override;

    HotKeyRef registerHotKey(int keyCode, int modifiers, HotKeyIdentity identity,
                             HotKeyFailure *failure = nullptr) override;
    void unregisterHotKey(HotKeyRef ref) override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

    /// The X modifier mask for the Carbon flags; Num Lock and Caps Lock never take part.
    static std::uint16_t x11ModifiersForFlags(int modifiers);

Q_SIGNALS:
    /// The keyboard mapping changed; `renewed` grabs no longer fitted it and were taken again.
    void grabsRenewed(int renewed);

private:
    struct Grab
    {
        HotKeyIdentity identity;
        int virtualKeyCode = 0;
        std::uint16_t modifiers = 0;
        std::uint8_t keycode = 0;
        /// The Num Lock and Caps Lock variants held; empty when the key is not grabbed.
        QList<std::uint16_t> variants;
    };

    std::uint8_t _keycodeForVirtualKeyCode(int virtualKeyCode) const;
    QList<std::uint16_t> _lockVariants() const;
    bool _grab(Grab &grab);
    void _ungrab(Grab &grab);
    void _waitForServer();
    void _loadKeyboardMapping();
    void _scheduleRegrab();
    void _regrabAll();

    xcb_connection_t *_connection = nullptr;
    QList<std::uint32_t> _roots;
    QString _unavailableReason;
    xkb_context *_xkbContext = nullptr;
    xkb_keymap *_xkbKeymap = nullptr;
    std::uint8_t _xkbFirstEvent = 0;
    std::uint16_t _numLockMask = 0;
    std::map<HotKeyRef, Grab> _grabs;
    HotKeyRef _nextRef = 1;
    HotKeyRef _pressedRef = 0;
    bool _regrabPending = false;
};
