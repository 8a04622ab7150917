// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QSizeF>

class QScreen;
class QWidget;

/// Fades and placement for any top-level window. Brisko's geometry rules are stated with the
/// y axis pointing up from the bottom of the primary screen; Qt's points down from the top.
/// The conversion happens only in `toYUp` / `fromYUp` below.
namespace WindowExtras {

/// Alpha a fade-in starts from and a fade-out ends at.
inline constexpr qreal FadeLowAlpha = 0.1;
inline constexpr int FadeSteps = 8;
/// Seconds a standard fade takes.
inline constexpr double FadeInterval = 0.25;
/// Horizontal and vertical placement factors of `centerWithSize`: centred across, with 70 %
/// of the free height below the window.
inline constexpr qreal HorizontalFactor = 0.5;
inline constexpr qreal VerticalFactor = 0.7;

/// Sets the window's alpha in `steps` equal steps from `from` to `to` (the first value already
/// one step away from `from`, the last exactly `to`), repainting the window after each step and
/// blocking the calling thread for `interval / steps` seconds. No steps, no change.
void fadeFromAlpha(QWidget *window, qreal from, qreal to, int steps, double interval);
/// The same, from the window's current alpha.
void fadeToAlpha(QWidget *window, qreal to, int steps, double interval);
/// The standard fade: 8 steps over 0.25 seconds.
void fadeToAlpha(QWidget *window, qreal to);
/// Shows a hidden window by fading it up from 0.1 to its own alpha; a visible window is left
/// untouched.
void fadeIn(QWidget *window);
/// Fades a visible window down to 0.1, hides it and gives it its old alpha back, so the next
/// fade-in returns to it; a hidden window is left untouched.
void fadeOut(QWidget *window);

/// Whether the platform sets a window's opacity: X11 does, Qt's Wayland plug-in cannot.
bool windowOpacitySupported();
/// The alpha a window shows at. Where the platform cannot set a window's opacity, the window
/// paints its content at that alpha itself.
qreal windowAlpha(const QWidget *window);
void setWindowAlpha(QWidget *window, qreal alpha);
/// Keeps a top-level window out of the taskbar and the pager; call it each time before the
/// window is shown, since the window manager forgets such states when a window is hidden.
void keepOutOfTaskbar(QWidget *window);

/// Asks the window manager to give a visible window the focus on the user's behalf, as a
/// launcher does when its hot key or its command brings it up.
void activateOnRequest(QWidget *window);

/// The screen the user works on: the one under the pointer, else the primary one.
QScreen *mainScreen();

/// Resizes and places the window on the visible area of its screen (for a hidden window, the
/// main screen): the width as asked (0 keeps the current width) and the height, each at most
/// the visible extent less twice the padding, centred across with 70 % of the free height
/// below. Animated when the window is visible.
void centerWithSize(QWidget *window, const QSizeF &size, qreal padding);
/// The frame `centerWithSize` gives the window at the end of its move; null without a screen.
QRect centeredFrame(const QWidget *window, const QSizeF &size, qreal padding);
/// `centerWithSize` keeping the current width.
void centerWithHeight(QWidget *window, qreal height, qreal padding);
/// Keeps the size; places the window at `factor` of the free visible height measured from the
/// bottom of the primary screen, ignoring where the visible area starts. Not animated.
void centerWithHeightFactor(QWidget *window, qreal factor);
/// Keeps the size and parks the window just above the top edge of its screen, one point of it
/// still showing.
void centerOffTopAnimate(QWidget *window, bool animate);

/// Whether translucent windows really show translucent: a compositing manager runs (always
/// true on platforms other than X11).
bool compositingActive();

// Pure geometry, exposed for tests. Rectangles in and out are Qt's (y down); `primaryHeight`
// is the full height of the primary screen, the reference of the y-up coordinates.

/// A Qt rectangle in y-up coordinates (origin at the primary screen's bottom-left corner).
QRectF toYUp(const QRectF &rect, int primaryHeight);
/// A y-up rectangle back in Qt coordinates.
QRect fromYUp(const QRectF &rect, int primaryHeight);

QRect frameCenteredWithSize(const QRect &visibleArea, int primaryHeight, const QSize &current,
                            const QSizeF &requested, qreal padding);
QRect frameCenteredWithHeightFactor(const QRect &visibleArea, int primaryHeight,
                                    const QSize &current, qreal factor);
QRect frameOffTop(const QRect &screenFrame, int primaryHeight, const QSize &current);

} // namespace WindowExtras
