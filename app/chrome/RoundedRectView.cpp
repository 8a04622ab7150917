// SPDX-License-Identifier: MIT
#include "app/chrome/RoundedRectView.h"

#include <QPainter>
#include <QPen>

#include <algorithm>

RoundedRectView::RoundedRectView(QWidget *parent)
    : QWidget(parent)
{
    // The panel is drawn with transparency; the widget must not fill itself first.
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
}

void RoundedRectView::setBackgroundColor(const QColor &color)
{
    _backgroundColor = color;
    update();
}

void RoundedRectView::setBorderColor(const QColor &color)
{
    _borderColor = color;
    update();
}

void RoundedRectView::setBorderWidth(qreal width)
{
    _borderWidth = width;
}

void RoundedRectView::setRadius(qreal radius)
{
    _radius = radius;
}

void RoundedRectView::setOpaqueBackground(bool opaque)
{
    _opaqueBackground = opaque;
    update();
}

qreal RoundedRectView::outlineRadius(const QSizeF &size, qreal radius)
{
    const qreal shorter = std::min(size.width(), size.height());
    return std::max<qreal>(0.0, std::min(radius, 0.5 * shorter));
}

QPainterPath RoundedRectView::bezierPathWithRoundRectInRect(const QRectF &rect, qreal radius)
{
    const qreal r = outlineRadius(rect.size(), radius);
    const qreal inset = r + 0.5;
    const qreal left = rect.left() + inset;
    const qreal right = rect.right() - inset;
    const qreal top = rect.top() + inset;
    const qreal bottom = rect.bottom() - inset;
    const auto corner = [r](qreal x, qreal y) { return QRectF(x - r, y - r, 2 * r, 2 * r); };

    // Qt's angles turn counter-clockwise on screen, so the arcs run bottom-left, bottom-right,
    // top-right, top-left as seen by the user, each joined to the previous by a straight line.
    QPainterPath path;
    if (r <= 0) {
        path.addRect(QRectF(QPointF(left, top), QPointF(right, bottom)));
        return path;
    }
    path.arcMoveTo(corner(left, bottom), 180);
    path.arcTo(corner(left, bottom), 180, 90);
    path.arcTo(corner(right, bottom), 270, 90);
    path.arcTo(corner(right, top), 0, 90);
    path.arcTo(corner(left, top), 90, 90);
    path.closeSubpath();
    return path;
}

void RoundedRectView::paintPanel(QPainter &painter) const
{
    const QRectF bounds(QPointF(0, 0), QSizeF(size()));
    const QPainterPath path = bezierPathWithRoundRectInRect(bounds, _radius);
    painter.setRenderHint(QPainter::Antialiasing);
    if (_backgroundColor.isValid()) {
        QColor fill = _backgroundColor;
        if (_opaqueBackground && fill.alpha() > 0)
            fill.setAlpha(255);
        painter.fillPath(path, fill);
    }
    if (_borderWidth > 0 && _borderColor.isValid()) {
        QPen pen(_borderColor, _borderWidth);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.strokePath(path, pen);
    }
}

QImage RoundedRectView::backgroundImage() const
{
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    paintPanel(painter);
    return image;
}

void RoundedRectView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Replace whatever is underneath, so the window is see-through outside the panel.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(QPointF(0, 0), backgroundImage());
}
