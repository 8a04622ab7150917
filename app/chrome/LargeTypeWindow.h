// SPDX-License-Identifier: MIT
#pragma once

#include "app/chrome/FramelessWindow.h"
#include "app/chrome/LargeTypeView.h"

#include <functional>

/// Shows one text across the screen in the largest bold type that fits, on a rounded panel.
/// Keys pressed while it is key do nothing; releasing one fades the window out.
class LargeTypeWindow final : public FramelessWindow
{
    Q_OBJECT
public:
    static constexpr qreal MaximumFontSize = 80.0;
    static constexpr qreal FontSizeStep = 2.0;
    /// Share of the primary screen's width and height the text may take.
    static constexpr qreal ScreenFraction = 0.85;
    /// Added to the text's width and height: ten points on each side.
    static constexpr qreal Margin = 20.0;

    explicit LargeTypeWindow(QWidget *parent = nullptr);

    LargeTypeView *largeTypeView() const { return _largeTypeView; }

    /// Where the text colour comes from, asked each time a text is shown. By default the
    /// `largeTypeFgColor` setting of the standard user defaults.
    void setForegroundColorProvider(std::function<QColor()> provider);

    /// Lays the text out in the largest size that fits the screen the window shows on and
    /// shows it; a text longer than a note of the card is cut as the card cuts it.
    void setDisplayString(const QString &value);
    /// Resizes and centres the window around the text, then hands the text to the view.
    void setDisplayAttributedString(const LargeTypeString &string);

    /// The bold font large type sets its text in.
    static QFont largeTypeFont(const QString &family, qreal size);
    /// The extent of `text` in the bold font of `family` at `size`.
    static QSizeF sizeOfString(const QString &text, const QString &family, qreal size);
    /// Tries 80, 78, 76 … and returns the first size at which the text fits 85 % of
    /// `screenSize` in both directions. A text that never fits gets the smallest size tried
    /// (2), where it overflows.
    static qreal largestFontSizeForString(const QString &text, const QString &family,
                                          const QSizeF &screenSize,
                                          qreal maxFontSize = MaximumFontSize);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    LargeTypeView *_largeTypeView;
    std::function<QColor()> _foregroundColor;
};
