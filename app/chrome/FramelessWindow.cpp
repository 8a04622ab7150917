// SPDX-License-Identifier: MIT
#include "app/chrome/FramelessWindow.h"

#include "app/chrome/RoundedRectView.h"
#include "app/chrome/WindowExtras.h"
#include "common/utility/AccessibleRole.h"

#include <QEvent>
#include <QRegion>

FramelessWindow::FramelessWindow(QWidget *parent)
    : FramelessWindow(new RoundedRectView, parent)
{}

FramelessWindow::FramelessWindow(RoundedRectView *view, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    // Translucency has to be requested before the native window exists, or X11 hands out an
    // opaque visual and the corners turn black.
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    setFocusPolicy(Qt::StrongFocus);
    // A window to a screen reader, which says its title as it comes up, not the "filler" a
    // plain widget would be.
    AccessibleRole::set(this, QAccessible::Window);
    _installBackgroundView(view);
}

void FramelessWindow::_installBackgroundView(RoundedRectView *view)
{
    _bgView = view;
    _bgView->setParent(this);
    _bgView->setGeometry(rect());
    _bgView->lower();
    _compositing = WindowExtras::compositingActive();
    _bgView->setOpaqueBackground(!_compositing);
}

void FramelessWindow::setBackgroundColor(const QColor &color)
{
    _bgView->setBackgroundColor(color);
}

void FramelessWindow::setBorderColor(const QColor &color)
{
    _bgView->setBorderColor(color);
}

void FramelessWindow::setBorderWidth(qreal width)
{
    _bgView->setBorderWidth(width);
}

void FramelessWindow::setRadius(qreal radius)
{
    _bgView->setRadius(radius);
    _updateMask();
}

bool FramelessWindow::event(QEvent *event)
{
    // Widgets added later stack above earlier ones; keep the panel at the very bottom.
    if (event->type() == QEvent::ChildAdded && _bgView)
        _bgView->lower();
    return QWidget::event(event);
}

void FramelessWindow::resizeEvent(QResizeEvent *event)
{
    _bgView->setGeometry(rect());
    _updateMask();
    QWidget::resizeEvent(event);
}

void FramelessWindow::showEvent(QShowEvent *event)
{
    // The compositing manager may have started or stopped since the window was made.
    const bool compositing = WindowExtras::compositingActive();
    if (compositing != _compositing) {
        _compositing = compositing;
        _bgView->setOpaqueBackground(!_compositing);
        _updateMask();
    }
    WindowExtras::keepOutOfTaskbar(this);
    QWidget::showEvent(event);
}

void FramelessWindow::_updateMask()
{
    // Without a compositing manager the transparent corners would show black: cut them off.
    if (_compositing) {
        clearMask();
        return;
    }
    const QRectF bounds(QPointF(0, 0), QSizeF(size()));
    const QPainterPath outline = RoundedRectView::bezierPathWithRoundRectInRect(
        bounds.adjusted(-0.5, -0.5, 0.5, 0.5), _bgView->radius());
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
}
