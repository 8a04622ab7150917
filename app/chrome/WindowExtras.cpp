// SPDX-License-Identifier: MIT
#include "app/chrome/WindowExtras.h"

#include <QCursor>
#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <qpa/qwindowsysteminterface.h>

#include <xcb/xcb.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace WindowExtras {

QScreen *mainScreen()
{
    QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
    return screen ? screen : QGuiApplication::primaryScreen();
}

namespace {

// Cocoa's round(): halves away from zero.
int roundPoint(qreal value)
{
    return static_cast<int>(std::round(value));
}

/// The screen a window is on; a hidden window is about to come up on the screen the user is
/// working on, the one under the pointer. Nothing for no window or no screen at all.
QScreen *screenOf(const QWidget *window)
{
    if (!window)
        return nullptr;
    QScreen *screen = window->isVisible() ? window->screen() : mainScreen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

int primaryHeight()
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry().height() : 0;
}

void blockFor(double seconds)
{
    if (seconds > 0)
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// Paints the window and lets the window system catch up, so each step of a fade or a move
// really reaches the screen: the window system's events already in (exposure, the new place)
// are handled and what was asked of the X server is sent. Nothing else runs meanwhile: the
// event loop would hand over whatever waits in it, such as the next press of the hot key,
// which would show the window again in the middle of its own fade.
void repaintNow(QWidget *window)
{
    QWindowSystemInterface::flushWindowSystemEvents(QEventLoop::ExcludeUserInputEvents);
    window->repaint();
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (xcb_connection_t *connection = x11 ? x11->connection() : nullptr)
        xcb_flush(connection);
}

constexpr int AnimationSteps = 6;
constexpr double AnimationInterval = 0.12;

void setFrame(QWidget *window, const QRect &frame, bool animate)
{
    if (!animate || !window->isVisible() || window->geometry() == frame) {
        window->setGeometry(frame);
        if (window->isVisible())
            repaintNow(window);
        return;
    }
    const QRect start = window->geometry();
    const QPointer<QWidget> guard(window);
    const auto between = [](int a, int b, qreal t) { return a + roundPoint((b - a) * t); };
    for (int i = 1; i <= AnimationSteps && guard; ++i) {
        const qreal t = qreal(i) / AnimationSteps;
        window->setGeometry(between(start.x(), frame.x(), t), between(start.y(), frame.y(), t),
                            between(start.width(), frame.width(), t),
                            between(start.height(), frame.height(), t));
        repaintNow(window);
        if (i < AnimationSteps)
            blockFor(AnimationInterval / AnimationSteps);
    }
}

} // namespace

bool windowOpacitySupported()
{
    // Qt 6.4's Wayland plug-in has no way to set it, and says so on standard error each time.
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

namespace {

constexpr char PaintedAlpha[] = "briskoPaintedAlpha";

} // namespace

qreal windowAlpha(const QWidget *window)
{
    if (windowOpacitySupported())
        return window->windowOpacity();
    const QVariant painted = window->property(PaintedAlpha);
    return painted.isValid() ? painted.toReal() : 1.0;
}

void setWindowAlpha(QWidget *window, qreal alpha)
{
    if (windowOpacitySupported()) {
        window->setWindowOpacity(alpha);
        return;
    }
    // The window paints itself at that alpha instead; fully opaque it paints as it always does.
    window->setProperty(PaintedAlpha, alpha);
    if (alpha >= 1.0) {
        window->setGraphicsEffect(nullptr);
        return;
    }
    auto *effect = qobject_cast<QGraphicsOpacityEffect *>(window->graphicsEffect());
    if (!effect) {
        effect = new QGraphicsOpacityEffect(window);
        window->setGraphicsEffect(effect);
    }
    effect->setOpacity(alpha);
}

void keepOutOfTaskbar(QWidget *window)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const auto intern = [connection](const char *name) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return atom;
    };
    // Qt marks a tool window as a utility, which KWin still lists in the taskbar; the window
    // manager reads these states when the window is mapped, and Qt adds its own to them.
    const xcb_atom_t states[] = {intern("_NET_WM_STATE_SKIP_TASKBAR"),
                                 intern("_NET_WM_STATE_SKIP_PAGER")};
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, xcb_window_t(window->winId()),
                        intern("_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 2, states);
    xcb_flush(connection);
}

void activateOnRequest(QWidget *window)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !window->isVisible())
        return;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const QByteArray name = QByteArrayLiteral("_NET_ACTIVE_WINDOW");
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData()),
        nullptr);
    if (!atom)
        return;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    // A request a pager or a launcher makes for the user (source indication 2): the window
    // manager grants it whatever the focus-stealing rules say, which it must, since a press
    // that came through the desktop portal carries no X timestamp to show it is the user's.
    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(window->winId());
    message.type = atom->atom;
    message.data.data32[0] = 2;
    message.data.data32[1] = XCB_CURRENT_TIME;
    free(atom);
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(connection);
}

void fadeFromAlpha(QWidget *window, qreal from, qreal to, int steps, double interval)
{
    if (!window || steps <= 0)
        return;
    const double delay = interval / steps;
    // Events delivered between the steps may close and delete the window.
    const QPointer<QWidget> guard(window);
    for (int i = 1; i <= steps && guard; ++i) {
        setWindowAlpha(window, (qreal(i) / steps) * (to - from) + from);
        if (window->isVisible())
            repaintNow(window);
        blockFor(delay);
    }
}

void fadeToAlpha(QWidget *window, qreal to, int steps, double interval)
{
    if (!window)
        return;
    fadeFromAlpha(window, windowAlpha(window), to, steps, interval);
}

void fadeToAlpha(QWidget *window, qreal to)
{
    fadeToAlpha(window, to, FadeSteps, FadeInterval);
}

void fadeIn(QWidget *window)
{
    if (!window || window->isVisible())
        return;
    const qreal alpha = windowAlpha(window);
    setWindowAlpha(window, FadeLowAlpha);
    window->show();
    window->raise();
    fadeToAlpha(window, alpha);
}

void fadeOut(QWidget *window)
{
    if (!window || !window->isVisible())
        return;
    const qreal alpha = windowAlpha(window);
    const QPointer<QWidget> guard(window);
    fadeToAlpha(window, FadeLowAlpha);
    if (!guard)
        return;
    window->hide();
    setWindowAlpha(window, alpha);
}

void centerWithSize(QWidget *window, const QSizeF &size, qreal padding)
{
    const QRect frame = centeredFrame(window, size, padding);
    if (!frame.isNull())
        setFrame(window, frame, true);
}

QRect centeredFrame(const QWidget *window, const QSizeF &size, qreal padding)
{
    const QScreen *screen = screenOf(window);
    if (!screen)
        return {};
    return frameCenteredWithSize(screen->availableGeometry(), primaryHeight(), window->size(), size,
                                 padding);
}

void centerWithHeight(QWidget *window, qreal height, qreal padding)
{
    centerWithSize(window, QSizeF(0, height), padding);
}

void centerWithHeightFactor(QWidget *window, qreal factor)
{
    const QScreen *screen = screenOf(window);
    if (!screen)
        return;
    setFrame(window,
             frameCenteredWithHeightFactor(screen->availableGeometry(), primaryHeight(),
                                           window->size(), factor),
             false);
}

void centerOffTopAnimate(QWidget *window, bool animate)
{
    const QScreen *screen = screenOf(window);
    if (!screen)
        return;
    setFrame(window, frameOffTop(screen->geometry(), primaryHeight(), window->size()), animate);
}

QRectF toYUp(const QRectF &rect, int primaryHeight)
{
    return QRectF(rect.x(), primaryHeight - (rect.y() + rect.height()), rect.width(),
                  rect.height());
}

QRect fromYUp(const QRectF &rect, int primaryHeight)
{
    const int width = roundPoint(rect.width());
    const int height = roundPoint(rect.height());
    const int x = roundPoint(rect.x());
    const int bottom = roundPoint(rect.y());
    return QRect(x, primaryHeight - bottom - height, width, height);
}

QRect frameCenteredWithSize(const QRect &visibleArea, int primaryHeight, const QSize &current,
                            const QSizeF &requested, qreal padding)
{
    const QRectF visible = toYUp(visibleArea, primaryHeight);
    // Never wider or taller than the free area allows, however large the fonts or small the
    // screen: a window reaching past the screen's edge cannot be read there.
    const qreal width = std::min(requested.width() > 0 ? requested.width() : current.width(),
                                 visible.width() - 2 * padding);
    const qreal height = std::min(requested.height(), visible.height() - 2 * padding);
    const qreal x = roundPoint(visible.x() + (visible.width() - width) * HorizontalFactor);
    const qreal y = roundPoint(visible.y() + (visible.height() - height) * VerticalFactor);
    return fromYUp(QRectF(x, y, width, height), primaryHeight);
}

QRect frameCenteredWithHeightFactor(const QRect &visibleArea, int primaryHeight,
                                    const QSize &current, qreal factor)
{
    const QRectF visible = toYUp(visibleArea, primaryHeight);
    const qreal x = roundPoint((visible.width() - current.width()) * HorizontalFactor);
    const qreal y = roundPoint((visible.height() - current.height()) * factor);
    return fromYUp(QRectF(x, y, current.width(), current.height()), primaryHeight);
}

QRect frameOffTop(const QRect &screenFrame, int primaryHeight, const QSize &current)
{
    const QRectF screen = toYUp(screenFrame, primaryHeight);
    const qreal x = roundPoint((screen.width() - current.width()) * HorizontalFactor + screen.x());
    const qreal y = roundPoint(screen.y() + screen.height() - 1);
    return fromYUp(QRectF(x, y, current.width(), current.height()), primaryHeight);
}

bool compositingActive()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return true;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    // A compositing manager owns the selection _NET_WM_CM_S<screen>; desktops today run one X
    // screen (several monitors are one screen under RandR), so screen 0 is the one we are on.
    const QByteArray name = QByteArrayLiteral("_NET_WM_CM_S0");
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData()),
        nullptr);
    if (!atom)
        return false;
    xcb_get_selection_owner_reply_t *owner = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool owned = owner && owner->owner != XCB_NONE;
    free(owner);
    free(atom);
    return owned;
}

} // namespace WindowExtras
