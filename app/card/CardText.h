// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QSizeF>
#include <QString>

class QPainter;

/// Fonts and text fitting for the card. Values come from contact files and may be of any
/// length, so every text is cut to what could possibly show before it is measured: measuring
/// a name of two million characters would stall every paint.
namespace CardText {

/// The desktop's default font size the card's sizes were drawn for, in pixels.
inline constexpr qreal kDesignFontPixels = 13;

/// How much larger than designed the card draws everything (fonts, the header band, margins):
/// the desktop's default font against kDesignFontPixels, never below 1.
qreal scale();

/// The desktop's font at a size in the card's drawing units.
QFont systemFont(qreal pixelSize, bool bold = false);
/// The desktop's font at a size of the design, grown by scale().
QFont cardFont(qreal designSize, bool bold = false);

/// `text` cut to at most `maxCharacters`, never inside a surrogate pair; "…" marks the cut.
QString truncated(const QString &text, qsizetype maxCharacters);

/// One line that fits `width`, ending in "…" when cut. Control characters show as blanks.
QString elidedLine(const QString &text, const QFontMetricsF &metrics, qreal width);

/// Each line fitted to `width` as elidedLine() does, and at most `maxLines` of them.
QString elidedLines(const QString &text, const QFontMetricsF &metrics, qreal width, int maxLines);

/// The extent of a text of one or more lines.
QSizeF sizeOf(const QString &text, const QFontMetricsF &metrics);

/// The extent of a text wrapped at `width`: at blanks, and inside a word only when the word
/// is longer than a line.
QSizeF wrappedSize(const QString &text, const QFont &font, qreal width);
/// Draws it so, in the painter's pen, its top-left corner at `topLeft`.
void drawWrapped(QPainter &painter, const QPointF &topLeft, const QString &text, const QFont &font,
                 qreal width);

/// The most characters a tooltip shows of a long value.
inline constexpr qsizetype kToolTipCharacters = 2000;

} // namespace CardText
