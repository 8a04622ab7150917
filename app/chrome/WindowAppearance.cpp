// SPDX-License-Identifier: MIT
#include "chrome/WindowAppearance.h"

#include "chrome/FramelessWindow.h"

namespace WindowAppearance {

namespace {

QColor whiteLevel(float white, float alpha)
{
    return QColor::fromRgbF(white, white, white, alpha);
}

} // namespace

QColor searchWindowBackgroundColor()
{
    return whiteLevel(0.98f, 0.95f);
}

QColor borderColor()
{
    return whiteLevel(0.5f, 1.0f);
}

QColor splashBackgroundColor()
{
    return whiteLevel(1.0f, 0.0f);
}

void applySearchWindowAppearance(FramelessWindow *window)
{
    if (!window)
        return;
    window->setBackgroundColor(searchWindowBackgroundColor());
    window->setBorderColor(borderColor());
    window->setBorderWidth(SearchWindowBorderWidth);
    window->setRadius(SearchWindowRadius);
    window->update();
}

void applyLargeTypeAppearance(FramelessWindow *window, const QColor &background)
{
    if (!window)
        return;
    window->setBackgroundColor(background);
    window->setBorderColor(borderColor());
    window->setBorderWidth(LargeTypeBorderWidth);
    window->setRadius(LargeTypeRadius);
    window->update();
}

void applySplashAppearance(FramelessWindow *window)
{
    if (!window)
        return;
    window->setBackgroundColor(splashBackgroundColor());
    window->update();
}

} // namespace WindowAppearance
