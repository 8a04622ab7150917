// SPDX-License-Identifier: MIT
#include "chrome/SplashWindow.h"

#include "chrome/RoundedRectView.h"
#include "chrome/WindowAppearance.h"
#include "chrome/WindowExtras.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace {

constexpr int Padding = 24;
constexpr int FontPixelSize = 30;

QFont splashFont()
{
    QFont font;
    font.setPixelSize(FontPixelSize);
    font.setBold(true);
    return font;
}

} // namespace

/// Draws the splash text with a light halo, so it reads on any desktop behind the transparent
/// window. Without a compositing manager transparency cannot show; the view then draws the
/// search window's panel behind the text instead of a black box.
class SplashView final : public RoundedRectView
{
public:
    QString text;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        RoundedRectView::paintEvent(event);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        if (opaqueBackground() && backgroundColor().alpha() == 0) {
            const QPainterPath panel =
                bezierPathWithRoundRectInRect(QRectF(rect()), WindowAppearance::SearchWindowRadius);
            painter.fillPath(panel, QColor(WindowAppearance::searchWindowBackgroundColor().rgb()));
            painter.strokePath(panel, QPen(WindowAppearance::borderColor(), 1));
        }
        if (text.isEmpty())
            return;
        const QFont font = splashFont();
        const QFontMetricsF metrics(font);
        const qreal x = (width() - metrics.horizontalAdvance(text)) * 0.5;
        const qreal y = (height() - metrics.height()) * 0.5 + metrics.ascent();
        QPainterPath glyphs;
        glyphs.addText(QPointF(x, y), font, text);
        painter.strokePath(glyphs, QPen(QColor(255, 255, 255, 210), 5, Qt::SolidLine, Qt::RoundCap,
                                        Qt::RoundJoin));
        painter.fillPath(glyphs, QColor(40, 40, 40));
    }
};

SplashWindow::SplashWindow(QWidget *parent)
    : FramelessWindow(new SplashView, parent)
{
    _splashView = static_cast<SplashView *>(backgroundView());
    WindowAppearance::applySplashAppearance(this);
    _fadeOutTimer.setSingleShot(true);
    _fadeOutTimer.setInterval(int(DisplayDuration * 1000));
    connect(&_fadeOutTimer, &QTimer::timeout, this, [this] { WindowExtras::fadeOut(this); });
}

QString SplashWindow::text() const
{
    return _splashView->text;
}

void SplashWindow::setText(const QString &text)
{
    _splashView->text = text;
    const QFontMetricsF metrics(splashFont());
    resize(qCeil(metrics.horizontalAdvance(text)) + 2 * Padding,
           qCeil(metrics.height()) + 2 * Padding);
    _splashView->update();
}

void SplashWindow::showSplash(const QString &hotKeyDescription)
{
    setText(tr("Activation hot key: %1").arg(hotKeyDescription));
    WindowAppearance::applySplashAppearance(this);
    // Centred across, a little above the middle, like a window the desktop centres itself.
    WindowExtras::centerWithSize(this, QSizeF(size()), 0);
    WindowExtras::fadeIn(this);
    _fadeOutTimer.start();
}
