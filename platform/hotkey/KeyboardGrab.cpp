// SPDX-License-Identifier: MIT
#include "platform/hotkey/KeyboardGrab.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>

namespace {

// Long enough for a window manager to map a new window, short enough that a keyboard held by
// another client does not keep the attempt alive for the panel's whole life.
constexpr int kRetryMs = 25;
constexpr int kAttempts = 80;

xcb_connection_t *x11Connection()
{
    auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    auto *x11 =
        application ? application->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    return connection && !xcb_connection_has_error(connection) ? connection : nullptr;
}

} // namespace

bool KeyboardGrab::isPossible()
{
    return x11Connection() != nullptr;
}

KeyboardGrab::KeyboardGrab(QWidget *window)
    : _window(window)
{
    if (!x11Connection() || !window)
        return;
    _attemptsLeft = kAttempts;
    _retry.setInterval(kRetryMs);
    connect(&_retry, &QTimer::timeout, this, &KeyboardGrab::_tryToGrab);
    _tryToGrab();
}

KeyboardGrab::~KeyboardGrab()
{
    if (!_active)
        return;
    if (xcb_connection_t *connection = x11Connection()) {
        xcb_ungrab_keyboard(connection, XCB_CURRENT_TIME);
        xcb_flush(connection);
    }
}

void KeyboardGrab::_tryToGrab()
{
    xcb_connection_t *connection = x11Connection();
    if (!connection || !_window || --_attemptsLeft < 0) {
        _retry.stop();
        return;
    }
    if (_window->isVisible()) {
        const auto window = static_cast<xcb_window_t>(_window->window()->winId());
        // Not the owner's events: every key goes to this window, whichever of ours has focus.
        xcb_grab_keyboard_reply_t *reply =
            xcb_grab_keyboard_reply(connection,
                                    xcb_grab_keyboard(connection, 0, window, XCB_CURRENT_TIME,
                                                      XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                    nullptr);
        _active = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
        std::free(reply);
        if (_active) {
            _retry.stop();
            return;
        }
    }
    if (!_retry.isActive())
        _retry.start();
}
