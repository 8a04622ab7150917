// SPDX-License-Identifier: MIT
#include "common/keycombo/KeyBroadcaster.h"

#include "common/keycombo/KeyCombo.h"
#include "platform/hotkey/NativeKeyCodes.h"
#include "platform/notifications/NotificationCenter.h"

#include <QKeyEvent>

#include <array>
#include <utility>

namespace {

// Scanned in this order; each modifier present adds its flag.
constexpr std::array<std::pair<Qt::KeyboardModifier, qint64>, 4> kQtToCarbon{{
    {Qt::MetaModifier, PaneKeyCombo::cmdKey},
    {Qt::AltModifier, PaneKeyCombo::optionKey},
    {Qt::ControlModifier, PaneKeyCombo::controlKey},
    {Qt::ShiftModifier, PaneKeyCombo::shiftKey},
}};

} // namespace

KeyBroadcaster::KeyBroadcaster(QWidget *parent)
    : QPushButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAutoDefault(false);
}

qint64 KeyBroadcaster::cocoaToCarbonModifiers(Qt::KeyboardModifiers modifiers)
{
    qint64 carbon = 0;
    for (const auto &[qt, flag] : kQtToCarbon) {
        if (modifiers.testFlag(qt))
            carbon |= flag;
    }
    return carbon;
}

bool KeyBroadcaster::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Claiming the press keeps every shortcut of the window and the application from
        // firing; it then arrives here as an ordinary key press, once.
        event->accept();
        return true;
    case QEvent::KeyPress:
        keyDown(static_cast<QKeyEvent *>(event));
        event->accept();
        return true;
    case QEvent::KeyRelease:
        // A button would click itself on the release of Space.
        event->accept();
        return true;
    default:
        return QPushButton::event(event);
    }
}

void KeyBroadcaster::keyDown(QKeyEvent *event)
{
    if (event->isAutoRepeat() || NativeKeyCodes::isModifierKey(event->key()))
        return;
    const std::optional<int> keyCode =
        NativeKeyCodes::virtualKeyCodeForNativeScanCode(event->nativeScanCode());
    if (!keyCode)
        return;
    _broadcastKeyCode(static_cast<qint16>(*keyCode), cocoaToCarbonModifiers(event->modifiers()));
}

void KeyBroadcaster::_broadcastKeyCode(qint16 keyCode, qint64 modifiers)
{
    NotificationCenter::defaultCenter().postNotification(
        KeyBroadcasterKeyEvent, this,
        {{QStringLiteral("KeyCode"), int(keyCode)}, {QStringLiteral("Modifiers"), modifiers}});
}
