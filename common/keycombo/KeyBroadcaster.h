// SPDX-License-Identifier: MIT
#pragma once

#include <QPushButton>
#include <QString>

class QKeyEvent;

/// Posted in this process (NotificationCenter) for every key press a KeyBroadcaster swallows;
/// the object is the button, the user info holds "KeyCode" (the positional virtual key code,
/// signed 16-bit) and "Modifiers" (Carbon modifier flags).
inline const QString KeyBroadcasterKeyEvent = QStringLiteral("KeyBroadcasterKeyEvent");

/// A button that takes every key press that reaches it, shortcuts included, and announces it
/// as a key combination instead of acting on it: Ctrl+Q, Ctrl+W or Tab are recorded, never
/// carried out. Releases, held-down repeats and presses of a modifier alone are swallowed
/// without a word.
class KeyBroadcaster final : public QPushButton
{
    Q_OBJECT
public:
    explicit KeyBroadcaster(QWidget *parent = nullptr);

    /// The Carbon flags for Qt's modifiers: Super ↔ command, Alt ↔ option, Ctrl ↔ control,
    /// Shift ↔ shift. Everything else (keypad, group switch) is dropped; Caps Lock and Num Lock
    /// never show in Qt's modifiers at all.
    static qint64 cocoaToCarbonModifiers(Qt::KeyboardModifiers modifiers);

protected:
    bool event(QEvent *event) override;
    void keyDown(QKeyEvent *event);

private:
    void _broadcastKeyCode(qint16 keyCode, qint64 modifiers);
};
