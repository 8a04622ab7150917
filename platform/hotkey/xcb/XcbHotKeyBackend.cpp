// SPDX-License-Identifier: MIT
#include "platform/hotkey/xcb/XcbHotKeyBackend.h"

#include "platform/hotkey/KeyCodeTable.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr xcb_keysym_t NumLockKeysym = 0xff7f;
// WORKAROUND: <xcb/xkb.h> names a field `explicit` and does not compile as C++; these are its
// values for the two keyboard-change events.
constexpr std::uint8_t XkbNewKeyboardNotify = 0;
constexpr std::uint8_t XkbMapNotify = 1;
constexpr std::uint16_t RelevantModifiers =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

struct FreeDeleter
{
    void operator()(void *pointer) const { std::free(pointer); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

} // namespace

XcbHotKeyBackend::XcbHotKeyBackend()
{
    auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    auto *x11 =
        application ? application->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) {
        const QString platform = application ? QGuiApplication::platformName() : QString();
        _unavailableReason =
            QStringLiteral("The X11 hot key needs X11 (XWayland), and this application runs on "
                           "the \"%1\" platform. Where XWayland runs, start Brisko with "
                           "QT_QPA_PLATFORM=xcb.")
                .arg(platform.isEmpty() ? QStringLiteral("none") : platform);
        return;
    }
    _connection = x11->connection();
    if (xcb_connection_has_error(_connection)) {
        _unavailableReason = QStringLiteral("The connection to the X server failed; the global "
                                            "hot key is off.");
        _connection = nullptr;
        return;
    }
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(_connection)); it.rem;
         xcb_screen_next(&it))
        _roots.append(it.data->root);

    _xkbContext = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    _loadKeyboardMapping();
    QCoreApplication::instance()->installNativeEventFilter(this);
}

XcbHotKeyBackend::~XcbHotKeyBackend()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    if (_connection && !xcb_connection_has_error(_connection)) {
        for (auto &[ref, grab] : _grabs)
            _ungrab(grab);
        xcb_flush(_connection);
    }
    if (_xkbKeymap)
        xkb_keymap_unref(_xkbKeymap);
    if (_xkbContext)
        xkb_context_unref(_xkbContext);
}

bool XcbHotKeyBackend::isAvailable() const
{
    return _connection && !xcb_connection_has_error(_connection);
}

QString XcbHotKeyBackend::unavailableReason() const
{
    if (_connection && xcb_connection_has_error(_connection))
        return QStringLiteral("The connection to the X server was lost; the global hot key is "
                              "off.");
    return _unavailableReason;
}

std::uint16_t XcbHotKeyBackend::x11ModifiersForFlags(int modifiers)
{
    std::uint16_t mask = 0;
    if (modifiers & HotKeyModifier::Command)
        mask |= XCB_MOD_MASK_4;
    if (modifiers & HotKeyModifier::Option)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & HotKeyModifier::Control)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & HotKeyModifier::Shift)
        mask |= XCB_MOD_MASK_SHIFT;
    return mask;
}

HotKeyRef XcbHotKeyBackend::registerHotKey(int keyCode, int modifiers, HotKeyIdentity identity,
                                           HotKeyFailure *failure)
{
    using Cause = HotKeyFailure::Cause;
    if (!isAvailable())
        return failed(failure, Cause::Unavailable, unavailableReason());
    Grab grab;
    grab.identity = identity;
    grab.virtualKeyCode = keyCode;
    grab.modifiers = x11ModifiersForFlags(modifiers);
    grab.keycode = _keycodeForVirtualKeyCode(keyCode);
    if (grab.keycode == 0)
        return failed(
            failure, Cause::NoKey,
            QStringLiteral("The X server's keyboard has no key at position %1.").arg(keyCode));
    if (!_grab(grab))
        return failed(failure, Cause::Taken,
                      QStringLiteral("Another X client has grabbed the combination."));
    const HotKeyRef ref = _nextRef++;
    _grabs.emplace(ref, grab);
    return ref;
}

void XcbHotKeyBackend::unregisterHotKey(HotKeyRef ref)
{
    auto it = _grabs.find(ref);
    if (it == _grabs.end())
        return;
    if (isAvailable()) {
        _ungrab(it->second);
        _waitForServer();
    }
    if (_pressedRef == ref)
        _pressedRef = 0;
    _grabs.erase(it);
}

std::uint8_t XcbHotKeyBackend::_keycodeForVirtualKeyCode(int virtualKeyCode) const
{
    // Ask the server's own key names first: its keycodes need not be the evdev ones.
    if (_xkbKeymap) {
        const QByteArray name = KeyCodeTable::xkbKeyNameForVirtualKeyCode(virtualKeyCode);
        if (name.isEmpty())
            return 0;
        const xkb_keycode_t keycode = xkb_keymap_key_by_name(_xkbKeymap, name.constData());
        if (keycode != XKB_KEYCODE_INVALID && keycode <= 255)
            return static_cast<std::uint8_t>(keycode);
    }
    const auto scanCode = KeyCodeTable::evdevScanCodeForVirtualKeyCode(virtualKeyCode);
    if (!scanCode || *scanCode + KeyCodeTable::X11EvdevOffset > 255)
        return 0;
    return static_cast<std::uint8_t>(*scanCode + KeyCodeTable::X11EvdevOffset);
}

QList<std::uint16_t> XcbHotKeyBackend::_lockVariants() const
{
    QList<std::uint16_t> variants{0, XCB_MOD_MASK_LOCK};
    if (_numLockMask != 0 && _numLockMask != XCB_MOD_MASK_LOCK)
        variants << _numLockMask << static_cast<std::uint16_t>(_numLockMask | XCB_MOD_MASK_LOCK);
    return variants;
}

bool XcbHotKeyBackend::_grab(Grab &grab)
{
    struct Attempt
    {
        xcb_window_t root;
        std::uint16_t modifiers;
        xcb_void_cookie_t cookie;
    };
    const QList<std::uint16_t> variants = _lockVariants();
    QList<Attempt> attempts;
    for (xcb_window_t root : std::as_const(_roots)) {
        for (std::uint16_t variant : variants) {
            const std::uint16_t modifiers = grab.modifiers | variant;
            attempts.append({root, modifiers,
                             xcb_grab_key_checked(_connection, 1, root, modifiers, grab.keycode,
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)});
        }
    }
    // Every cookie must be checked, or the errors of the later ones would surface as events.
    bool refused = false;
    QList<const Attempt *> granted;
    for (const Attempt &attempt : std::as_const(attempts)) {
        if (XcbReply<xcb_generic_error_t> error{xcb_request_check(_connection, attempt.cookie)})
            refused = true;
        else
            granted.append(&attempt);
    }
    if (refused) {
        // Another client holds the combination; release the variants that were ours.
        for (const Attempt *attempt : std::as_const(granted))
            xcb_ungrab_key(_connection, grab.keycode, attempt->root, attempt->modifiers);
        _waitForServer();
        grab.variants.clear();
        return false;
    }
    grab.variants = variants;
    return true;
}

void XcbHotKeyBackend::_ungrab(Grab &grab)
{
    for (xcb_window_t root : std::as_const(_roots)) {
        for (std::uint16_t variant : std::as_const(grab.variants))
            xcb_ungrab_key(_connection, grab.keycode, root, grab.modifiers | variant);
    }
    grab.variants.clear();
}

void XcbHotKeyBackend::_waitForServer()
{
    // A flush only hands the requests to the socket; the server may still serve another client
    // first. A round trip makes a released key free for others by the time the caller goes on.
    std::free(xcb_get_input_focus_reply(_connection, xcb_get_input_focus(_connection), nullptr));
}

void XcbHotKeyBackend::_loadKeyboardMapping()
{
    if (_xkbKeymap) {
        xkb_keymap_unref(_xkbKeymap);
        _xkbKeymap = nullptr;
    }
    if (_xkbContext && xkb_x11_setup_xkb_extension(_connection, XKB_X11_MIN_MAJOR_XKB_VERSION,
                                                   XKB_X11_MIN_MINOR_XKB_VERSION,
                                                   XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr,
                                                   nullptr, &_xkbFirstEvent, nullptr)) {
        const std::int32_t device = xkb_x11_get_core_keyboard_device_id(_connection);
        if (device != -1)
            _xkbKeymap = xkb_x11_keymap_new_from_device(_xkbContext, _connection, device,
                                                        XKB_KEYMAP_COMPILE_NO_FLAGS);
    }

    _numLockMask = 0;
    xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(_connection);
    if (!symbols)
        return;
    XcbReply<xcb_keycode_t> numLockKeycodes{xcb_key_symbols_get_keycode(symbols, NumLockKeysym)};
    xcb_key_symbols_free(symbols);
    if (!numLockKeycodes)
        return;
    XcbReply<xcb_get_modifier_mapping_reply_t> mapping{xcb_get_modifier_mapping_reply(
        _connection, xcb_get_modifier_mapping(_connection), nullptr)};
    if (!mapping)
        return;
    const xcb_keycode_t *modifierKeycodes = xcb_get_modifier_mapping_keycodes(mapping.get());
    const int perModifier = mapping->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            const xcb_keycode_t keycode = modifierKeycodes[modifier * perModifier + i];
            if (keycode == XCB_NO_SYMBOL)
                continue;
            for (const xcb_keycode_t *k = numLockKeycodes.get(); *k != XCB_NO_SYMBOL; ++k) {
                if (*k == keycode)
                    _numLockMask = static_cast<std::uint16_t>(1u << modifier);
            }
        }
    }
}

void XcbHotKeyBackend::_scheduleRegrab()
{
    // A keyboard change arrives as a burst of notifications; one re-grab covers them all.
    if (_regrabPending)
        return;
    _regrabPending = true;
    QTimer::singleShot(0, this, [this] { _regrabAll(); });
}

void XcbHotKeyBackend::_regrabAll()
{
    _regrabPending = false;
    if (!isAvailable())
        return;
    _loadKeyboardMapping();
    const QList<std::uint16_t> variants = _lockVariants();
    int renewed = 0;
    for (auto &[ref, grab] : _grabs) {
        const std::uint8_t keycode = _keycodeForVirtualKeyCode(grab.virtualKeyCode);
        // The server also reports a change whenever another keyboard device starts typing, with
        // the mapping as it was. Grabs that still fit are kept: giving them back and taking them
        // again would let a press typed in between slip through.
        if (keycode == grab.keycode && variants == grab.variants)
            continue;
        _ungrab(grab);
        grab.keycode = keycode;
        if (grab.keycode != 0)
            _grab(grab);
        ++renewed;
    }
    xcb_flush(_connection);
    Q_EMIT grabsRenewed(renewed);
}

bool XcbHotKeyBackend::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t" || !message)
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const std::uint8_t type = event->response_type & 0x7f;

    if (type == XCB_KEY_PRESS) {
        const auto *key = reinterpret_cast<const xcb_key_press_event_t *>(event);
        const std::uint16_t modifiers = key->state & RelevantModifiers;
        for (const auto &[ref, grab] : _grabs) {
            if (!grab.variants.isEmpty() && grab.keycode == key->detail &&
                grab.modifiers == modifiers) {
                _pressedRef = ref;
                Q_EMIT hotKeyEvent(
                    {HotKeyEvent::ClassKeyboard, HotKeyEvent::KindPressed, grab.identity});
                break;
            }
        }
    } else if (type == XCB_KEY_RELEASE) {
        // The modifiers may already be up when the key is released, so the key alone decides.
        const auto *key = reinterpret_cast<const xcb_key_release_event_t *>(event);
        auto it = _grabs.find(_pressedRef);
        if (it != _grabs.end() && it->second.keycode == key->detail) {
            _pressedRef = 0;
            Q_EMIT hotKeyEvent(
                {HotKeyEvent::ClassKeyboard, HotKeyEvent::KindReleased, it->second.identity});
        }
    } else if (type == XCB_MAPPING_NOTIFY) {
        const auto *mapping = reinterpret_cast<const xcb_mapping_notify_event_t *>(event);
        if (mapping->request != XCB_MAPPING_POINTER)
            _scheduleRegrab();
    } else if (_xkbFirstEvent != 0 && type == _xkbFirstEvent) {
        // The XKB extension's events share one type; the second byte tells them apart.
        const std::uint8_t xkbType = reinterpret_cast<const std::uint8_t *>(event)[1];
        if (xkbType == XkbNewKeyboardNotify || xkbType == XkbMapNotify)
            _scheduleRegrab();
    }
    // Qt must still see the key event: it keeps the server time that window activation needs.
    return false;
}
