// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QWidget>

/// The panel behind a frameless window's content: a rounded area in the background colour
/// with an optional outline, transparent outside the rounded corners.
class RoundedRectView : public QWidget
{
    Q_OBJECT
public:
    explicit RoundedRectView(QWidget *parent = nullptr);

    QColor backgroundColor() const { return _backgroundColor; }
    /// Stores the colour and redraws; an invalid colour leaves the panel unfilled.
    void setBackgroundColor(const QColor &color);
    QColor borderColor() const { return _borderColor; }
    /// Stores the colour and redraws; an invalid colour means no outline.
    void setBorderColor(const QColor &color);
    qreal borderWidth() const { return _borderWidth; }
    /// Takes effect at the next redraw, like the radius.
    void setBorderWidth(qreal width);
    qreal radius() const { return _radius; }
    void setRadius(qreal radius);

    /// Without a compositing manager translucent pixels show as dark garbage, so the window
    /// asks the panel to paint its background fully opaque instead.
    void setOpaqueBackground(bool opaque);
    bool opaqueBackground() const { return _opaqueBackground; }

    /// The radius actually used for a panel of the given size: never more than half the
    /// shorter side, so an oversized radius gives a stadium.
    static qreal outlineRadius(const QSizeF &size, qreal radius);
    /// The rounded outline, running half a point inside `rect` so that a one-point border
    /// covers exactly the outermost row of pixels.
    static QPainterPath bezierPathWithRoundRectInRect(const QRectF &rect, qreal radius);

    /// The panel rendered into a new image of the view's size.
    QImage backgroundImage() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    /// Draws the panel itself; views that add content draw it after calling this.
    void paintPanel(QPainter &painter) const;

private:
    QColor _backgroundColor;
    QColor _borderColor;
    qreal _borderWidth = 0.0;
    qreal _radius = 0.0;
    bool _opaqueBackground = false;
};
