// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>

class FramelessWindow;

/// The look the application gives its windows at launch.
namespace WindowAppearance {

inline constexpr qreal SearchWindowBorderWidth = 1.0;
inline constexpr qreal SearchWindowRadius = 12.0;
inline constexpr qreal LargeTypeBorderWidth = 1.0;
inline constexpr qreal LargeTypeRadius = 10.0;

/// White level 0.98 at alpha 0.95; also the matches table's background.
QColor searchWindowBackgroundColor();
/// White level 0.5, opaque: the outline of the search and the large type window.
QColor borderColor();
/// Fully transparent: the splash shows its text only.
QColor splashBackgroundColor();

void applySearchWindowAppearance(FramelessWindow *window);
/// Border and radius of the large type window; its background comes from the settings and is
/// applied again on every change with `FramelessWindow::setBackgroundColor`.
void applyLargeTypeAppearance(FramelessWindow *window, const QColor &background);
void applySplashAppearance(FramelessWindow *window);

} // namespace WindowAppearance
