// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;

/// Takes the whole keyboard of the desktop for one window while it lives, the way shortcut
/// recorders do: the desktop's own shortcuts and other programs' hot keys then reach that
/// window as ordinary key presses instead of being acted on.
///
/// On X11 this is an active keyboard grab on Qt's own connection. A window that is not on
/// screen yet, or a keyboard another client holds for a moment, is tried again for a short
/// while. Elsewhere (a Wayland session) nothing is taken: the desktop keeps its shortcuts.
class KeyboardGrab final : public QObject
{
    Q_OBJECT
public:
    explicit KeyboardGrab(QWidget *window);
    ~KeyboardGrab() override;

    bool isActive() const { return _active; }
    /// Whether this desktop lets a program take its keyboard at all (an X server does).
    static bool isPossible();

private:
    void _tryToGrab();

    QPointer<QWidget> _window;
    QTimer _retry;
    int _attemptsLeft = 0;
    bool _active = false;
};
