// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QRectF>
#include <QVariant>
#include <QWidget>

#include <memory>

class CardActions;
class QMenu;

/// One row of the contact card: a label at the left ("mobile", "work") and a value at the
/// right (a number, an address, a web address, the note). Hovering the label highlights the
/// row; a click on the label, a right click or a Control-click opens its menu of actions; a
/// click on the value runs its default action. Geometry is reasoned about y-up inside the
/// row (see FlippedGeometry).
class PropertyView final : public QWidget
{
    Q_OBJECT

public:
    // The kinds of value a row shows.
    static const QString PhoneProperty;
    static const QString EmailProperty;
    static const QString HomePageProperty;
    static const QString URLsProperty;
    static const QString AddressProperty;
    static const QString NoteProperty;

    // Lengths and font sizes of the design; the row draws them grown by CardText::scale().
    /// Where the value starts; the label ends kLabelGap before it.
    static constexpr qreal kValueX = 80;
    static constexpr qreal kLabelGap = 6;
    static constexpr qreal kRightMargin = 8;
    /// The highlight reaches this far above and below the text; rows get room for it.
    static constexpr qreal kHighlightRoom = 2;
    static constexpr int kFontSize = 12;
    static constexpr int kMenuFontSize = 10;
    /// Lines of a value beyond these are not shown (a note wraps instead).
    static constexpr int kMaxValueLines = 20;
    /// A note longer than this shows its beginning; copying still takes the whole note.
    static constexpr qsizetype kMaxNoteCharacters = 20000;

    explicit PropertyView(CardActions *actions, QWidget *parent = nullptr);
    ~PropertyView() override;

    // Set up by the card, in this order.
    using QObject::setProperty;
    void setProperty(const QString &property);
    QString propertyIdentifier() const { return _property; }
    /// Stores the label as people read it: "_$!<Mobile>!$_" becomes "mobile".
    void setLabel(const QString &label);
    QString label() const { return _label; }
    void setValue(const QString &value);
    QString value() const { return _value; }
    /// The address dictionary of an address row; nothing for other rows.
    void setInfo(const QVariant &info);
    QVariant info() const { return _info; }

    /// The words shown for a stored label.
    static QString displayLabel(const QString &storedLabel);
    /// The height of the value's text in a row `rowWidth` wide; the card lays rows out by it.
    static qreal textHeight(const QString &property, const QString &value, qreal rowWidth);

    // Actions.
    /// The row's default action: large type for phones and addresses, a new message for an
    /// e-mail address, the page for a web address, nothing for the note.
    void open();
    void copy();
    void showLargeType();
    void dialWithVonage();
    void dialWithSkype();
    /// Calls the number with the desktop's handler of tel: links (KDE Connect, a softphone).
    void call();
    void openMapLink();
    void copyMapLink();

    /// The card's body scrolled: the label is no longer where it was drawn.
    void boundsChanged();

    bool isHighlighted() const { return _highlight; }
    /// Highlights the row as hovering does, for the card's keyboard walk.
    void setHighlighted(bool highlighted);

    /// Where label and value are drawn, y-up inside the row.
    QRectF labelRect() const;
    QRectF valueRect() const;
    /// The texts as drawn, cut to fit.
    QString displayedLabel() const;
    QString displayedValue() const;

    /// The row's menu. With a position (Qt coordinates of the row) only a press on the label
    /// gets one; without, the menu always comes.
    std::unique_ptr<QMenu> _menuForEvent(const QPointF *position);
    /// Pops the menu up at `globalPosition` and runs the chosen action.
    void popUpMenu(const QPoint &globalPosition);

Q_SIGNALS:
    /// The highlight went on or off, by hovering, scrolling or setHighlighted().
    void highlightChanged(bool highlighted);
    /// One of the row's actions is about to run on its value.
    void acted();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool _isWebRow() const;
    QUrl _mapLink() const;
    /// Fits the texts to the row's current size; a hidden row hears of a new size only when
    /// it is shown, so everything that needs the layout asks for it here.
    void _layOut() const;
    void _invalidateLayout();
    void _setHighlight(bool highlight);
    QRectF _inQt(const QRectF &yUp) const;

    CardActions *_actions;
    QString _property;
    QString _label;
    QString _value;
    QVariant _info;
    mutable QSize _laidOutSize;
    mutable QFont _labelFont;
    mutable QString _shownLabel;
    mutable QString _shownValue;
    mutable qreal _wrapWidth = 0;
    mutable QRectF _labelRect;
    mutable QRectF _valueRect;
    /// The label's hover tracking; off after scrolling until the row is drawn again.
    bool _tracking = false;
    bool _pointerInLabel = false;
    bool _highlight = false;
    // The release that ends a double click belongs to a gesture that has already acted.
    bool _releaseEndsDoubleClick = false;
};
