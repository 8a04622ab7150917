// SPDX-License-Identifier: MIT
#include "app/controller/MatchRowDelegate.h"

#include "app/controller/MatchesTableModel.h"
#include "common/utility/Contrast.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>

#include <limits>

namespace {

using Range = MatchExplanation::Range;

QList<QTextLayout::FormatRange> boldRanges(const QList<Range> &emphasis)
{
    QList<QTextLayout::FormatRange> formats;
    for (const Range &range : emphasis) {
        QTextLayout::FormatRange format;
        format.start = int(range.start);
        format.length = int(range.length);
        format.format.setFontWeight(QFont::Bold);
        formats.append(format);
    }
    return formats;
}

/// One line of text laid out without wrapping.
struct Line
{
    Line(const QString &text, const QList<Range> &emphasis, const QFont &font,
         Qt::LayoutDirection direction = Qt::LeftToRight,
         qreal width = std::numeric_limits<qreal>::max() / 4)
        : layout(text, font)
    {
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        option.setTextDirection(direction);
        option.setAlignment(Qt::AlignLeft);
        layout.setTextOption(option);
        layout.setFormats(boldRanges(emphasis));
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (line.isValid())
            line.setLineWidth(width);
        layout.endLayout();
    }
    qreal width() const { return layout.lineCount() ? layout.lineAt(0).naturalTextWidth() : 0; }

    QTextLayout layout;
};

QList<Range> clipped(const QList<Range> &emphasis, qsizetype length)
{
    QList<Range> out;
    for (const Range &range : emphasis) {
        const qsizetype end = std::min(range.start + range.length, length);
        if (range.start < end)
            out.append({range.start, end - range.start});
    }
    return out;
}

} // namespace

MatchRowDelegate::MatchRowDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{}

QFont MatchRowDelegate::detailFont(const QFont &font)
{
    QFont smaller = font;
    if (font.pointSizeF() > 0)
        smaller.setPointSizeF(font.pointSizeF() * 0.85);
    else if (font.pixelSize() > 0)
        smaller.setPixelSize(std::max(1, qRound(font.pixelSize() * 0.85)));
    return smaller;
}

QString MatchRowDelegate::fitted(const QString &text, QList<Range> *emphasis, const QFont &font,
                                 qreal width)
{
    if (Line(text, *emphasis, font).width() <= width)
        return text;
    const QString ellipsis(QChar(0x2026));
    const auto fits = [&](qsizetype length) {
        return Line(text.left(length) + ellipsis, clipped(*emphasis, length), font).width() <=
               width;
    };
    // The longest beginning that fits with the ellipsis after it.
    qsizetype low = 0, high = text.size() - 1;
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (fits(middle))
            low = middle;
        else
            high = middle - 1;
    }
    if (low > 0 && text[low - 1].isHighSurrogate())
        --low;
    *emphasis = clipped(*emphasis, low);
    return text.left(low) + ellipsis;
}

QString MatchRowDelegate::fittedDetail(const QString &text, qsizetype valueStart,
                                       QList<Range> *emphasis, const QFont &font, qreal width)
{
    QList<Range> kept = *emphasis;
    const QString whole = fitted(text, &kept, font, width);
    // What matched first shows whole: nothing to move.
    if (emphasis->isEmpty() || (!kept.isEmpty() && kept.first() == emphasis->first())) {
        *emphasis = kept;
        return whole;
    }
    // A few characters before the match say where it stands.
    constexpr qsizetype kContext = 6;
    qsizetype from = std::max(valueStart, emphasis->first().start - kContext);
    if (from > valueStart && text[from].isLowSurrogate())
        --from;
    if (from <= valueStart) {
        *emphasis = kept;
        return whole;
    }
    const QString ellipsis(QChar(0x2026));
    const QString shifted = text.left(valueStart) + ellipsis + text.mid(from);
    const qsizetype shift = valueStart + ellipsis.size() - from;
    QList<Range> moved;
    for (const Range &range : std::as_const(*emphasis)) {
        if (range.start >= from)
            moved.append({range.start + shift, range.length});
    }
    *emphasis = moved;
    return fitted(shifted, emphasis, font, width);
}

void MatchRowDelegate::_measure(const QStyleOptionViewItem &option) const
{
    if (_measured && option.font == _measuredFont)
        return;
    // A name row is as tall as the style makes a row of one line of text, as it was before
    // rows had a second line.
    QStyleOptionViewItem sample = option;
    sample.features |= QStyleOptionViewItem::HasDisplay;
    sample.text = QStringLiteral("Xg");
    const QWidget *widget = option.widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    _nameRowHeight =
        style->sizeFromContents(QStyle::CT_ItemViewItem, &sample, QSize(), widget).height();
    // A little room below the second line sets the row off from the next name.
    _detailLineHeight = QFontMetrics(detailFont(option.font)).height() + 2;
    _measuredFont = option.font;
    _measured = true;
}

QSize MatchRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *model = qobject_cast<const MatchesTableModel *>(index.model());
    if (!model)
        return QStyledItemDelegate::sizeHint(option, index);
    // Every row of the list is asked when it is laid out: nothing here may cost more than a
    // look at the name.
    _measure(option);
    const int height = _nameRowHeight + (model->rowHasDetail(index.row()) ? _detailLineHeight : 0);
    return QSize(option.rect.width() > 0 ? option.rect.width() : 1, height);
}

void MatchRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    const auto *model = qobject_cast<const MatchesTableModel *>(index.model());
    if (!model)
        return QStyledItemDelegate::paint(painter, option, index);
    _measure(option);
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();

    // The style draws the row's background and selection; the text is ours.
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    const MatchesTableModel::Row row = model->rowAt(index.row());
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active) ? QPalette::Active
                                                                               : QPalette::Inactive;
    const bool selected = option.state & QStyle::State_Selected;
    const QColor text =
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor ground =
        option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);

    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect area = option.rect.adjusted(margin, 0, -margin, 0);
    const QFontMetrics nameMetrics(option.font);
    const qreal nameTop = area.top() + (_nameRowHeight - nameMetrics.height()) / 2.0;

    painter->save();
    painter->setClipRect(option.rect);
    QList<Range> nameEmphasis = row.nameEmphasis;
    const QString name = fitted(row.name, &nameEmphasis, option.font, area.width());
    painter->setPen(text);
    Line(name, nameEmphasis, option.font, option.direction, area.width())
        .layout.draw(painter, QPointF(area.left(), nameTop));

    if (!row.detail.isEmpty()) {
        const QFont font = detailFont(option.font);
        QList<Range> detailEmphasis = row.detailEmphasis;
        const QString detail =
            fittedDetail(row.detail, row.detailValueStart, &detailEmphasis, font, area.width());
        // Quieter than the name, but never below the contrast text needs.
        painter->setPen(selected ? text
                                 : Contrast::readable(Contrast::mixed(text, ground, 0.3), ground));
        Line(detail, detailEmphasis, font, option.direction, area.width())
            .layout.draw(painter, QPointF(area.left(), nameTop + nameMetrics.height()));
    }
    painter->restore();
}
