// SPDX-License-Identifier: MIT
#pragma once

#include "app/chrome/RoundedRectView.h"

#include <QColor>
#include <QFont>
#include <QSizeF>
#include <QString>

/// A text with the two attributes large type uses: its font and its colour.
struct LargeTypeString
{
    QString text;
    QFont font;
    QColor color;

    /// The extent of the text set in its font, several lines measured as one block.
    QSizeF size() const;
};

/// The large type panel: the rounded background with the text centred on it.
class LargeTypeView final : public RoundedRectView
{
    Q_OBJECT
public:
    explicit LargeTypeView(QWidget *parent = nullptr);

    const LargeTypeString &displayString() const { return _displayString; }
    void setDisplayAttributedString(const LargeTypeString &string);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    LargeTypeString _displayString;
};
