// SPDX-License-Identifier: MIT
#include "card/CardText.h"

#include <QApplication>
#include <QStringList>

#include <cmath>

namespace CardText {

namespace {

constexpr QChar kEllipsis(0x2026);
// No glyph of a usable font is narrower than this, so a line never shows more characters
// than its width in drawing units divided by it.
constexpr qreal kNarrowestGlyph = 1.0;

QString withBlanksForControls(QString line)
{
    for (QChar &c : line) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return line;
}

} // namespace

QFont systemFont(int pixelSize, bool bold)
{
    QFont font = QApplication::font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QString truncated(const QString &text, qsizetype maxCharacters)
{
    if (text.size() <= maxCharacters)
        return text;
    qsizetype end = std::max<qsizetype>(0, maxCharacters - 1);
    if (end > 0 && text.at(end - 1).isHighSurrogate())
        --end;
    return text.left(end) + kEllipsis;
}

QString elidedLine(const QString &text, const QFontMetricsF &metrics, qreal width)
{
    if (width <= 0)
        return {};
    const auto possible = qsizetype(std::ceil(width / kNarrowestGlyph)) + 2;
    const QString line = withBlanksForControls(truncated(text, possible));
    return metrics.elidedText(line, Qt::ElideRight, width);
}

QString elidedLines(const QString &text, const QFontMetricsF &metrics, qreal width, int maxLines)
{
    QStringList lines;
    qsizetype start = 0;
    while (lines.size() < maxLines) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        lines.append(elidedLine(text.mid(start, end - start), metrics, width));
        if (end == text.size())
            return lines.join(QLatin1Char('\n'));
        start = end + 1;
    }
    // More lines than the row shows: the last one shown says so.
    lines.last() = metrics.elidedText(lines.last() + kEllipsis, Qt::ElideRight, width);
    return lines.join(QLatin1Char('\n'));
}

QSizeF sizeOf(const QString &text, const QFontMetricsF &metrics, qreal wrapWidth)
{
    const int flags = Qt::AlignLeft | Qt::AlignTop |
                      (wrapWidth > 0 ? Qt::TextWordWrap | Qt::TextWrapAnywhere : 0);
    const qreal width = wrapWidth > 0 ? wrapWidth : 1e6;
    const QSizeF size = metrics.boundingRect(QRectF(0, 0, width, 1e6), flags, text).size();
    // An empty value still takes one line, as it does in a label.
    return QSizeF(size.width(), std::max(size.height(), metrics.height()));
}

} // namespace CardText
