// SPDX-License-Identifier: MIT
#include "tests/support/Screenshot.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace Screenshot {

QImage grabbed(QWidget &window)
{
    return window.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage onBackdrop(const QImage &window, int margin)
{
    QImage backdrop(window.size() / window.devicePixelRatio() + QSize(2 * margin, 2 * margin),
                    QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&backdrop);
    QLinearGradient gradient(0, 0, backdrop.width(), backdrop.height());
    gradient.setColorAt(0, QColor(38, 84, 124));
    gradient.setColorAt(1, QColor(150, 90, 160));
    painter.fillRect(backdrop.rect(), gradient);
    painter.setPen(QPen(QColor(255, 255, 255, 60), 6));
    for (int x = -backdrop.height(); x < backdrop.width(); x += 48)
        painter.drawLine(x, backdrop.height(), x + backdrop.height(), 0);
    painter.drawImage(QPoint(margin, margin), window);
    return backdrop;
}

bool save(const QImage &image, const QString &name)
{
    const QString configured = qEnvironmentVariable("BRISKO_SCREENSHOT_DIR");
    const QString dir =
        configured.isEmpty() ? QStringLiteral(BRISKO_BINARY_DIR "/screenshots") : configured;
    QDir().mkpath(dir);
    return image.save(dir + QLatin1Char('/') + name);
}

} // namespace Screenshot
