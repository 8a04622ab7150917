// SPDX-License-Identifier: MIT
#include "app/chrome/SplashWindow.h"

#include "app/chrome/RoundedRectView.h"
#include "app/chrome/WindowAppearance.h"
#include "app/chrome/WindowExtras.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <algorithm>

namespace {

constexpr int Padding = 24;
constexpr int FontPixelSize = 30;
constexpr int NoteFontPixelSize = 15;
constexpr int NoteGap = 8;

QFont splashFont()
{
    QFont font;
    font.setPixelSize(FontPixelSize);
    font.setBold(true);
    return font;
}

QFont noteFont()
{
    QFont font;
    font.setPixelSize(NoteFontPixelSize);
    return font;
}

/// The height the note takes below the text, gap included; 0 without a note.
qreal noteHeight(const QString &note)
{
    return note.isEmpty() ? 0 : NoteGap + QFontMetricsF(noteFont()).height();
}

} // namespace

/// Draws the splash text with a light halo, so it reads on any desktop behind the transparent
/// window. Without a compositing manager transparency cannot show; the view then draws the
/// search window's panel behind the text instead of a black box.
class SplashView final : public RoundedRectView
{
public:
    QString text;
    QString note;

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
        const QFontMetricsF metrics(splashFont());
        const qreal top = (height() - metrics.height() - noteHeight(note)) * 0.5;
        drawLine(painter, text, splashFont(), top + metrics.ascent(), 5);
        if (!note.isEmpty())
            drawLine(painter, note, noteFont(),
                     top + metrics.height() + NoteGap + QFontMetricsF(noteFont()).ascent(), 4);
    }

private:
    void drawLine(QPainter &painter, const QString &line, const QFont &font, qreal baseline,
                  qreal halo)
    {
        const qreal x = (width() - QFontMetricsF(font).horizontalAdvance(line)) * 0.5;
        QPainterPath glyphs;
        glyphs.addText(QPointF(x, baseline), font, line);
        painter.strokePath(glyphs, QPen(QColor(255, 255, 255, 210), halo, Qt::SolidLine,
                                        Qt::RoundCap, Qt::RoundJoin));
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
    _fitText();
}

QString SplashWindow::note() const
{
    return _splashView->note;
}

void SplashWindow::setNote(const QString &note)
{
    _splashView->note = note;
    _fitText();
    // A note that arrives while the splash is up must not push it off the centre.
    if (isVisible())
        WindowExtras::centerWithSize(this, QSizeF(size()), 0);
}

void SplashWindow::_fitText()
{
    const qreal textWidth = QFontMetricsF(splashFont()).horizontalAdvance(_splashView->text);
    const qreal noteWidth = QFontMetricsF(noteFont()).horizontalAdvance(_splashView->note);
    resize(qCeil(std::max(textWidth, noteWidth)) + 2 * Padding,
           qCeil(QFontMetricsF(splashFont()).height() + noteHeight(_splashView->note)) +
               2 * Padding);
    _splashView->update();
}

void SplashWindow::showSplash(const QString &hotKeyDescription, const QString &note)
{
    _splashView->note = note;
    setText(tr("Activation hot key: %1").arg(hotKeyDescription));
    WindowAppearance::applySplashAppearance(this);
    // Centred across, a little above the middle, like a window the desktop centres itself.
    WindowExtras::centerWithSize(this, QSizeF(size()), 0);
    WindowExtras::fadeIn(this);
    _fadeOutTimer.start();
}
