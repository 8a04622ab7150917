// SPDX-License-Identifier: MIT
#pragma once

#include "app/search/MatchExplanation.h"

#include <QFont>
#include <QStyledItemDelegate>

/// Draws a row of the list of matches (MatchesTableModel): the name, and below it, in a smaller
/// and quieter type, why the person matched; what the typed words matched is set in bold on
/// both lines. A row with a second line is as much taller as that line needs.
class MatchRowDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using Range = MatchExplanation::Range;

    explicit MatchRowDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    /// The font of the second line, for rows in `font`.
    static QFont detailFont(const QFont &font);
    /// `text` cut with "…" so that it fits `width` in `font` with `emphasis` in bold; the
    /// emphasis kept in step.
    static QString fitted(const QString &text, QList<Range> *emphasis, const QFont &font,
                          qreal width);
    /// The same for a second line whose value starts at `valueStart`: when what matched would
    /// be cut off, the label stays and the value is shown from a little before the match.
    static QString fittedDetail(const QString &text, qsizetype valueStart, QList<Range> *emphasis,
                                const QFont &font, qreal width);

private:
    void _measure(const QStyleOptionViewItem &option) const;

    // The heights of a row in the last font asked for: every row of a long list asks.
    mutable QFont _measuredFont;
    mutable bool _measured = false;
    mutable int _nameRowHeight = 0;
    mutable int _detailLineHeight = 0;
};
