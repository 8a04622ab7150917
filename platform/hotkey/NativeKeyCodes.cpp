// SPDX-License-Identifier: MIT
#include "platform/hotkey/NativeKeyCodes.h"

#include "platform/hotkey/KeyCodeTable.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace NativeKeyCodes {
namespace {

/// The X server's own keymap, read once through Qt's connection; none off X11. Key names
/// describe positions, so switching layouts never makes it stale.
xkb_keymap *serverKeymap()
{
    static xkb_keymap *const keymap = []() -> xkb_keymap * {
        auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
        auto *x11 = application ? application->nativeInterface<QNativeInterface::QX11Application>()
                                : nullptr;
        xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
        if (!connection || !xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION,
                                                        XKB_X11_MIN_MINOR_XKB_VERSION,
                                                        XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS,
                                                        nullptr, nullptr, nullptr, nullptr))
            return nullptr;
        const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
        if (device == -1)
            return nullptr;
        xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        if (!context)
            return nullptr;
        xkb_keymap *read = xkb_x11_keymap_new_from_device(context, connection, device,
                                                          XKB_KEYMAP_COMPILE_NO_FLAGS);
        xkb_context_unref(context);
        return read;
    }();
    return keymap;
}

} // namespace

std::optional<int> virtualKeyCodeForNativeScanCode(quint32 nativeScanCode)
{
    if (nativeScanCode == 0)
        return std::nullopt;
    // An X server need not number its keys the evdev way; its key names say which key it is.
    if (xkb_keymap *keymap = serverKeymap()) {
        const char *name = xkb_keymap_key_get_name(keymap, nativeScanCode);
        if (!name)
            return std::nullopt;
        return KeyCodeTable::virtualKeyCodeForXkbKeyName(name);
    }
    if (nativeScanCode < quint32(KeyCodeTable::X11EvdevOffset))
        return std::nullopt;
    return KeyCodeTable::virtualKeyCodeForEvdevScanCode(int(nativeScanCode) -
                                                        KeyCodeTable::X11EvdevOffset);
}

bool isModifierKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

} // namespace NativeKeyCodes
