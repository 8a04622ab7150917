// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>

/// Text contrast as the Web Content Accessibility Guidelines measure it, so that colours
/// derived from a theme stay readable on light and dark themes alike.
namespace Contrast {

/// What AA asks of body text, and of text from 14 points bold or 18 points up.
inline constexpr double kText = 4.5;
inline constexpr double kLargeText = 3.0;

/// The colour's relative luminance, 0 for black to 1 for white; alpha is ignored.
double luminance(const QColor &color);
/// From 1 (none) to 21 (black on white), either way round.
double ratio(const QColor &foreground, const QColor &background);
/// `color` moved as little as needed towards black or white, whichever the background
/// contrasts with more, until it reaches `minimum` against `background` (opaque).
QColor readable(const QColor &color, const QColor &background, double minimum = kText);
/// `from` blended towards `to`; 0 keeps `from`, 1 gives `to`.
QColor mixed(const QColor &from, const QColor &to, double amount);

} // namespace Contrast
