// SPDX-License-Identifier: MIT
// Presses real keys in a KWin Wayland session through KWin's fake-input protocol, the way
// KDE Connect's remote keyboard does: the compositor sees them as typed on its own keyboard,
// so its global shortcuts fire and the focused window receives what is typed.
//   brisko-fake-keys chord ctrl+alt+space   presses the keys in order, releases them in reverse
//   brisko-fake-keys type "ann smith"       types letters, digits and blanks one by one
// KWin offers the protocol to every client when KWIN_WAYLAND_NO_PERMISSION_CHECKS=1.
#include "fake-input-client-protocol.h"

#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

org_kde_kwin_fake_input *fakeInput = nullptr;

void announced(void *, wl_registry *registry, uint32_t name, const char *interface, uint32_t)
{
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0)
        fakeInput = static_cast<org_kde_kwin_fake_input *>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4));
}

void removed(void *, wl_registry *, uint32_t) {}

const wl_registry_listener registryListener = {announced, removed};

int keyCode(const std::string &name)
{
    static const std::map<std::string, int> named = {
        {"ctrl", KEY_LEFTCTRL},   {"alt", KEY_LEFTALT},
        {"shift", KEY_LEFTSHIFT}, {"super", KEY_LEFTMETA},
        {"meta", KEY_LEFTMETA},   {"space", KEY_SPACE},
        {"escape", KEY_ESC},      {"return", KEY_ENTER},
        {"tab", KEY_TAB},         {"backspace", KEY_BACKSPACE},
        {"down", KEY_DOWN},       {"up", KEY_UP},
        {"f1", KEY_F1},           {"f2", KEY_F2},
        {"f12", KEY_F12},
    };
    if (const auto it = named.find(name); it != named.end())
        return it->second;
    if (name.size() != 1)
        return -1;
    // The keys of a US keyboard, in the kernel's order.
    static const char *rows[] = {"1234567890", "qwertyuiop", "asdfghjkl", "zxcvbnm"};
    static const int starts[] = {KEY_1, KEY_Q, KEY_A, KEY_Z};
    const char c = char(std::tolower(static_cast<unsigned char>(name[0])));
    for (int row = 0; row < 4; ++row) {
        if (const char *at = std::strchr(rows[row], c))
            return starts[row] + int(at - rows[row]);
    }
    return -1;
}

void key(int code, bool pressed)
{
    org_kde_kwin_fake_input_keyboard_key(fakeInput, uint32_t(code),
                                         pressed ? WL_KEYBOARD_KEY_STATE_PRESSED
                                                 : WL_KEYBOARD_KEY_STATE_RELEASED);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "chord") != 0 && std::strcmp(argv[1], "type") != 0)) {
        std::fprintf(stderr, "usage: %s chord KEY+KEY… | type TEXT\n", argv[0]);
        return 2;
    }
    wl_display *display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "brisko-fake-keys: no Wayland display (WAYLAND_DISPLAY)\n");
        return 1;
    }
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, nullptr);
    wl_display_roundtrip(display);
    if (!fakeInput) {
        std::fprintf(stderr, "brisko-fake-keys: the compositor offers no org_kde_kwin_fake_input "
                             "(KWin with KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 does)\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(fakeInput, "brisko-fake-keys", "end-to-end tests");

    std::vector<int> codes;
    const std::string text = argv[2];
    if (std::strcmp(argv[1], "chord") == 0) {
        std::string::size_type start = 0;
        for (;;) {
            const auto plus = text.find('+', start);
            const std::string part = text.substr(start, plus - start);
            const int code = keyCode(part);
            if (code < 0) {
                std::fprintf(stderr, "brisko-fake-keys: no key \"%s\"\n", part.c_str());
                return 2;
            }
            codes.push_back(code);
            if (plus == std::string::npos)
                break;
            start = plus + 1;
        }
        for (int code : codes)
            key(code, true);
        for (auto it = codes.rbegin(); it != codes.rend(); ++it)
            key(*it, false);
    } else {
        for (char c : text) {
            const int code = keyCode(c == ' ' ? "space" : std::string(1, c));
            if (code < 0) {
                std::fprintf(stderr, "brisko-fake-keys: cannot type '%c'\n", c);
                return 2;
            }
            key(code, true);
            key(code, false);
            // One key at a time reaches the client: KWin merges nothing, but a client that
            // reads a burst of keys may see them before it has taken the focus.
            wl_display_roundtrip(display);
        }
    }
    wl_display_roundtrip(display);
    org_kde_kwin_fake_input_destroy(fakeInput);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return 0;
}
