// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

class FramelessWindow;

/// The look the application gives its windows at launch.
namespace WindowAppearance {

inline constexpr qreal SearchWindowBorderWidth = 1.0;
inline constexpr qreal SearchWindowRadius = 12.0;
inline constexpr qreal LargeTypeBorderWidth = 1.0;
inline constexpr qreal LargeTypeRadius = 10.0;

/// The theme's base colour (white on a light theme) at alpha 0.95; also the matches table's
/// background.
QColor searchWindowBackgroundColor(const QPalette &palette = QGuiApplication::palette());
/// Half way between the theme's base and text colours, opaque: the outline of the search and
/// the large type window.
QColor borderColor(const QPalette &palette = QGuiApplication::palette());

/// The colours the card draws its rows in, taken from the theme and each brought to AA
/// contrast against what it is drawn on; a dark theme gets a dark card.
struct CardColors
{
    QColor background; // under the rows: the search window, opaque
    QColor value;
    QColor link; // the value of a web row
    QColor label;
    QColor highlightedValueBackground;
    QColor highlightedValue;
    QColor highlightedLabelBackground;
    QColor highlightedLabel;
    QColor outline;
};
CardColors cardColors(const QPalette &palette);
/// Fully transparent: the splash shows its text only.
QColor splashBackgroundColor();

void applySearchWindowAppearance(FramelessWindow *window);
/// Border and radius of the large type window; its background comes from the settings and is
/// applied again on every change with `FramelessWindow::setBackgroundColor`.
void applyLargeTypeAppearance(FramelessWindow *window, const QColor &background);
void applySplashAppearance(FramelessWindow *window);

} // namespace WindowAppearance
