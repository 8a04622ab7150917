// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QPushButton>

/// A button that shows a colour and, when pressed, lets the user pick another in the
/// desktop's colour dialog, a sheet on the button's window.
class ColorWell final : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(QColor color READ color WRITE setColor USER true)

public:
    explicit ColorWell(QWidget *parent = nullptr);

    QColor color() const { return _color; }
    void setColor(const QColor &color);

    QSize sizeHint() const override;

Q_SIGNALS:
    /// The user picked a colour other than the one shown; it is shown already.
    void colorChosen(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void _chooseColor();

    QColor _color;
};
