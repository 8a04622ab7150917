// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

inline constexpr xcb_keysym_t SpaceKeysym = 0x20;
inline constexpr xcb_keysym_t KKeysym = 0x6b;
inline constexpr xcb_keysym_t NumLockKeysym = 0xff7f;

/// A second X client that competes with the application for the same key.
class RivalClient final
{
public:
    explicit RivalClient(const QString &display)
    {
        _connection = xcb_connect(display.toUtf8().constData(), nullptr);
        if (xcb_connection_has_error(_connection))
            return;
        _root = xcb_setup_roots_iterator(xcb_get_setup(_connection)).data->root;
        xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(_connection);
        if (xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, SpaceKeysym)) {
            _space = codes[0];
            std::free(codes);
        }
        xcb_key_symbols_free(symbols);
    }
    ~RivalClient() { xcb_disconnect(_connection); }

    bool isConnected() const { return !xcb_connection_has_error(_connection) && _space != 0; }

    /// Grabs space with these X modifiers; false when the server refuses.
    bool grabSpace(uint16_t modifiers)
    {
        xcb_generic_error_t *error = xcb_request_check(
            _connection, xcb_grab_key_checked(_connection, 1, _root, modifiers, _space,
                                              XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return error == nullptr;
    }
    void ungrabSpace(uint16_t modifiers)
    {
        xcb_request_check(_connection,
                          xcb_ungrab_key_checked(_connection, _space, _root, modifiers));
    }

    /// Sets the modifier mapping to what it already is: every client is told the keyboard
    /// changed, although nothing did (as when another keyboard device starts typing).
    bool rewriteModifierMapping()
    {
        xcb_get_modifier_mapping_reply_t *mapping = xcb_get_modifier_mapping_reply(
            _connection, xcb_get_modifier_mapping(_connection), nullptr);
        if (!mapping)
            return false;
        xcb_set_modifier_mapping_reply_t *reply = xcb_set_modifier_mapping_reply(
            _connection,
            xcb_set_modifier_mapping(_connection, mapping->keycodes_per_modifier,
                                     xcb_get_modifier_mapping_keycodes(mapping)),
            nullptr);
        std::free(mapping);
        const bool done = reply && reply->status == XCB_MAPPING_STATUS_SUCCESS;
        std::free(reply);
        return done;
    }

    /// Moves Num Lock from whichever modifier holds it to `modifier` (0-7); false when the
    /// server refuses or Num Lock has no key.
    bool moveNumLockTo(int modifier)
    {
        xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(_connection);
        xcb_keycode_t *numLock = xcb_key_symbols_get_keycode(symbols, NumLockKeysym);
        xcb_key_symbols_free(symbols);
        if (!numLock)
            return false;
        const xcb_keycode_t numLockKey = numLock[0];
        std::free(numLock);
        xcb_get_modifier_mapping_reply_t *mapping = xcb_get_modifier_mapping_reply(
            _connection, xcb_get_modifier_mapping(_connection), nullptr);
        if (!mapping)
            return false;
        int perModifier = mapping->keycodes_per_modifier;
        std::vector<xcb_keycode_t> keys(xcb_get_modifier_mapping_keycodes(mapping),
                                        xcb_get_modifier_mapping_keycodes(mapping) +
                                            8 * perModifier);
        std::free(mapping);
        for (xcb_keycode_t &key : keys) {
            if (key == numLockKey)
                key = 0;
        }
        // Room for the key in its new row: widen every row by one when it is full.
        const auto row = keys.begin() + modifier * perModifier;
        auto slot = std::find(row, row + perModifier, 0);
        if (slot == row + perModifier) {
            std::vector<xcb_keycode_t> wider;
            for (int m = 0; m < 8; ++m) {
                wider.insert(wider.end(), keys.begin() + m * perModifier,
                             keys.begin() + (m + 1) * perModifier);
                wider.push_back(0);
            }
            keys = wider;
            ++perModifier;
            slot = keys.begin() + modifier * perModifier + perModifier - 1;
        }
        *slot = numLockKey;
        xcb_set_modifier_mapping_reply_t *reply = xcb_set_modifier_mapping_reply(
            _connection, xcb_set_modifier_mapping(_connection, perModifier, keys.data()), nullptr);
        const bool done = reply && reply->status == XCB_MAPPING_STATUS_SUCCESS;
        std::free(reply);
        return done;
    }

private:
    xcb_connection_t *_connection = nullptr;
    xcb_window_t _root = 0;
    xcb_keycode_t _space = 0;
};

/// Another X client asking whether the key of `keysym` with `modifiers` is free to grab.
inline bool isFreeToGrab(const QString &display, xcb_keysym_t keysym, uint16_t modifiers)
{
    xcb_connection_t *connection = xcb_connect(display.toUtf8().constData(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(connection);
    xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, keysym);
    xcb_key_symbols_free(symbols);
    bool free = false;
    if (codes) {
        xcb_generic_error_t *error = xcb_request_check(
            connection, xcb_grab_key_checked(connection, 1, root, modifiers, codes[0],
                                             XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        free = error == nullptr;
        std::free(error);
        std::free(codes);
    }
    xcb_disconnect(connection);
    return free;
}

/// Another X client asking whether it could take the whole keyboard now.
inline bool isKeyboardFree(const QString &display)
{
    xcb_connection_t *connection = xcb_connect(display.toUtf8().constData(), nullptr);
    bool free = false;
    if (!xcb_connection_has_error(connection)) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        xcb_grab_keyboard_reply_t *reply =
            xcb_grab_keyboard_reply(connection,
                                    xcb_grab_keyboard(connection, 0, root, XCB_CURRENT_TIME,
                                                      XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                    nullptr);
        free = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
        std::free(reply);
    }
    // Closing the connection gives back whatever it took.
    xcb_disconnect(connection);
    return free;
}
