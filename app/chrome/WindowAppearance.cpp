// SPDX-License-Identifier: MIT
#include "app/chrome/WindowAppearance.h"

#include "app/chrome/FramelessWindow.h"
#include "common/utility/Contrast.h"

#include <QEvent>

namespace WindowAppearance {

namespace {

QColor whiteLevel(float white, float alpha)
{
    return QColor::fromRgbF(white, white, white, alpha);
}

} // namespace

QColor searchWindowBackgroundColor(const QPalette &palette)
{
    QColor color = palette.color(QPalette::Active, QPalette::Base);
    color.setAlphaF(0.95f);
    return color;
}

QColor borderColor(const QPalette &palette)
{
    return Contrast::mixed(palette.color(QPalette::Active, QPalette::Base),
                           palette.color(QPalette::Active, QPalette::Text), 0.5);
}

CardColors cardColors(const QPalette &palette)
{
    using Contrast::mixed;
    using Contrast::readable;
    const QColor base = palette.color(QPalette::Active, QPalette::Base).rgb();
    // The window lets the desktop show through a little, so the rows sit on the base over
    // anything from black to white.
    const qreal alpha = searchWindowBackgroundColor(palette).alphaF();
    const QColor overBlack = mixed(Qt::black, base, alpha);
    const QColor overWhite = mixed(Qt::white, base, alpha);
    const auto onWindow = [&](const QColor &color) {
        return readable(readable(color, overBlack), overWhite);
    };
    const QColor text = onWindow(palette.color(QPalette::Active, QPalette::Text));
    CardColors colors;
    colors.background = base;
    colors.value = text;
    colors.link = onWindow(palette.color(QPalette::Active, QPalette::Link));
    // Quieter than the value, as quiet as still reads.
    colors.label = onWindow(mixed(text, base, 0.45));
    colors.highlightedValueBackground = mixed(base, text, 0.2);
    colors.highlightedValue = readable(text, colors.highlightedValueBackground);
    colors.highlightedLabelBackground = mixed(base, text, 0.6);
    colors.highlightedLabel = readable(base, colors.highlightedLabelBackground);
    colors.outline = borderColor(palette);
    return colors;
}

QColor splashBackgroundColor()
{
    return whiteLevel(1.0f, 0.0f);
}

namespace {

constexpr char kFollowsTheme[] = "_brisko_followsTheme";

/// Gives the search window the new theme's colours when the desktop switches between light
/// and dark.
class ThemeFollower final : public QObject
{
public:
    explicit ThemeFollower(FramelessWindow *window)
        : QObject(window)
        , _window(window)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == _window && (event->type() == QEvent::ApplicationPaletteChange ||
                                   event->type() == QEvent::PaletteChange)) {
            _window->setBackgroundColor(searchWindowBackgroundColor());
            _window->setBorderColor(borderColor());
        }
        return false;
    }

private:
    FramelessWindow *_window;
};

} // namespace

void applySearchWindowAppearance(FramelessWindow *window)
{
    if (!window)
        return;
    if (!window->property(kFollowsTheme).toBool()) {
        window->setProperty(kFollowsTheme, true);
        new ThemeFollower(window);
    }
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
