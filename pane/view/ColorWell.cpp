// SPDX-License-Identifier: MIT
#include "pane/view/ColorWell.h"

#include <QColorDialog>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionButton>
#include <QStylePainter>

ColorWell::ColorWell(QWidget *parent)
    : QPushButton(parent)
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &ColorWell::_chooseColor);
}

void ColorWell::setColor(const QColor &color)
{
    if (color == _color)
        return;
    _color = color;
    setAccessibleDescription(color.isValid() ? color.name(QColor::HexArgb) : QString());
    update();
}

QSize ColorWell::sizeHint() const
{
    const QSize text = QPushButton::sizeHint();
    return {qMax(text.width(), 64), text.height()};
}

void ColorWell::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect swatch = style()
                             ->subElementRect(QStyle::SE_PushButtonContents, &option, this)
                             .adjusted(3, 3, -3, -3);
    QPainter painter(this);
    // A checkerboard shows through translucent colours.
    const int cell = 4;
    for (int y = swatch.top(); y <= swatch.bottom(); y += cell) {
        for (int x = swatch.left(); x <= swatch.right(); x += cell) {
            const bool dark = ((x - swatch.left()) / cell + (y - swatch.top()) / cell) % 2;
            painter.fillRect(QRect(x, y, cell, cell).intersected(swatch),
                             dark ? QColor(0xcc, 0xcc, 0xcc) : Qt::white);
        }
    }
    if (_color.isValid())
        painter.fillRect(swatch, _color);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    // The swatch covers where some styles draw their focus; the keyboard must see where it is.
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(swatch.adjusted(1, 1, -1, -1));
    }
}

void ColorWell::_chooseColor()
{
    QPointer<ColorWell> well(this);
    QColorDialog dialog(_color.isValid() ? _color : QColor(Qt::white), window());
    dialog.setOption(QColorDialog::ShowAlphaChannel);
    dialog.setWindowModality(Qt::WindowModal);
    if (!accessibleName().isEmpty())
        dialog.setWindowTitle(accessibleName());
    const bool chosen = dialog.exec() == QDialog::Accepted;
    // The pane may have gone away while the dialog was up.
    if (!well || !chosen)
        return;
    const QColor color = dialog.selectedColor();
    if (!color.isValid() || color == _color)
        return;
    setColor(color);
    Q_EMIT colorChosen(color);
}
