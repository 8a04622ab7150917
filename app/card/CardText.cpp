// SPDX-License-Identifier: MIT
#include "app/card/CardText.h"

#include <QApplication>
#include <QFontInfo>
#include <QStringList>
#include <QTextLayout>

#include <cmath>
#include <optional>

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

qreal scale()
{
    // Asked at every measure and paint; the font's pixel size is resolved once per font.
    static std::optional<QFont> measured;
    static qreal factor = 1;
    const QFont font = QApplication::font();
    if (font != measured) {
        measured = font;
        factor = std::max<qreal>(1, QFontInfo(font).pixelSize() / kDesignFontPixels);
    }
    return factor;
}

QFont systemFont(qreal pixelSize, bool bold)
{
    QFont font = QApplication::font();
    font.setPixelSize(std::max(1, qRound(pixelSize)));
    font.setBold(bold);
    return font;
}

QFont cardFont(qreal designSize, bool bold)
{
    return systemFont(designSize * scale(), bold);
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

QSizeF sizeOf(const QString &text, const QFontMetricsF &metrics)
{
    const QSizeF size =
        metrics.boundingRect(QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop, text).size();
    // An empty value still takes one line, as it does in a label.
    return QSizeF(size.width(), std::max(size.height(), metrics.height()));
}

namespace {

/// Lays the text out in lines of `width` and returns its extent.
QSizeF layOutWrapped(QTextLayout &layout, qreal width)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal height = 0;
    qreal widest = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
        widest = std::max(widest, line.naturalTextWidth());
    }
    layout.endLayout();
    return QSizeF(widest, std::max(height, QFontMetricsF(layout.font()).height()));
}

QString withLineSeparators(QString text)
{
    // A layout breaks lines only at the Unicode line separator.
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return text;
}

} // namespace

QSizeF wrappedSize(const QString &text, const QFont &font, qreal width)
{
    QTextLayout layout(withLineSeparators(text), font);
    return layOutWrapped(layout, width);
}

void drawWrapped(QPainter &painter, const QPointF &topLeft, const QString &text, const QFont &font,
                 qreal width)
{
    QTextLayout layout(withLineSeparators(text), font);
    layOutWrapped(layout, width);
    layout.draw(&painter, topLeft);
}

} // namespace CardText
