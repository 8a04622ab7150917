// SPDX-License-Identifier: MIT
#include "common/utility/Contrast.h"

#include <algorithm>
#include <cmath>

namespace Contrast {

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

} // namespace

double luminance(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

double ratio(const QColor &foreground, const QColor &background)
{
    const double a = luminance(foreground);
    const double b = luminance(background);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor mixed(const QColor &from, const QColor &to, double amount)
{
    const QColor a = from.toRgb();
    const QColor b = to.toRgb();
    const auto blend = [amount](float x, float y) { return float(x + (y - x) * amount); };
    return QColor::fromRgbF(blend(a.redF(), b.redF()), blend(a.greenF(), b.greenF()),
                            blend(a.blueF(), b.blueF()), blend(a.alphaF(), b.alphaF()));
}

QColor readable(const QColor &color, const QColor &background, double minimum)
{
    if (ratio(color, background) >= minimum)
        return color;
    const QColor target =
        ratio(Qt::white, background) > ratio(Qt::black, background) ? Qt::white : Qt::black;
    // Luminance grows steadily along the blend, so the first step that reads is the nearest.
    constexpr int kSteps = 64;
    for (int step = 1; step < kSteps; ++step) {
        const QColor candidate = mixed(color, target, double(step) / kSteps);
        if (ratio(candidate, background) >= minimum)
            return candidate;
    }
    return QColor(target.rgb() | (color.toRgb().rgba() & 0xff000000u));
}

} // namespace Contrast
