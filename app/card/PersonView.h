// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/Person.h"

#include <QImage>
#include <QList>
#include <QRectF>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

class CardActions;
class PropertyView;
class QScrollArea;

/// The contact card of the search window: a coloured header band with the person's name, two
/// smaller lines and the photo, and below it a scrolling body with one row per phone number,
/// e-mail address, web address, postal address and the note. The name is a link that opens
/// the person in the desktop's contacts program. Header geometry is reasoned about y-up (see
/// FlippedGeometry); the body lays its rows out top-down.
class PersonView final : public QWidget
{
    Q_OBJECT

public:
    // Lengths and font sizes of the design; the card draws them grown by CardText::scale().
    static constexpr qreal kTopBoxHeight = 80;
    static constexpr qreal kTextInset = 10;
    static constexpr qreal kTextMargin = kTopBoxHeight * 0.1;
    /// Between the baselines' boxes of the two smaller header lines.
    static constexpr qreal kLineStep = 18;
    static constexpr qreal kPhotoMargin = kTopBoxHeight * 0.05;
    static constexpr int kNameFontSize = 16;
    static constexpr int kSecondaryFontSize = 12;

    explicit PersonView(QWidget *parent = nullptr);
    ~PersonView() override;

    /// Where the rows send what they cannot do themselves; set before the first person.
    void setActions(CardActions *actions);

    /// The height the card comes to rest at, while its window may still be growing towards
    /// it; 0 (the default) for the card's own height. On a screen too small for the card at
    /// a large font the header band keeps to two fifths of it, so that rows still show.
    void setRestingHeight(int height);
    /// The header band's height: kTopBoxHeight grown with the desktop's font.
    qreal topBoxHeight() const;

    /// Shows `person`, or an empty card for nullptr. The same person again rebuilds the rows.
    void setPerson(PersonPtr person);
    PersonPtr person() const { return _person; }

    /// The rows in the body's order, top to bottom.
    QList<PropertyView *> rows() const;
    QScrollArea *scrollView() const { return _scrollView; }
    QWidget *bodyBox() const { return _bodyBox; }

    /// The header's lines from top to bottom as they are drawn, blank lines left out.
    QStringList headerLines() const;
    /// Where the name was last drawn and where the photo goes, y-up in the card.
    QRectF nameRect() const { return _nameRect; }
    QRectF photoRect() const;
    bool isNameHighlighted() const { return _highlightName; }

    /// The name's hover highlight under a name drawn in `nameColor`: a light blue, darkened
    /// (or lightened) only as far as the name needs to read on it.
    static QColor nameHighlightColor(const QColor &nameColor);

    /// The address as the card shows it: street, then city, state and zip, then the country
    /// when the address has one. Missing parts keep their separators.
    static QString _stringFromAddressDictionary(const QVariantMap &address);

    // The keyboard's way through the rows; the selected row shows the hover highlight.
    /// Selects the next (previous) row, wrapping around; false when there is no row.
    bool selectNextRow();
    bool selectPreviousRow();
    PropertyView *selectedRow() const;
    /// The selected row's default action, copy or menu; false when no row is selected.
    bool openSelectedRow();
    bool copySelectedRow();
    bool showMenuForSelectedRow();

    /// The body scrolled: every row's hover tracking is stale.
    void boundsChanged();

    /// The header band as screen readers see it: a heading named after the person, the two
    /// smaller lines as its description.
    QWidget *headerBox() const { return _headerBox; }

Q_SIGNALS:
    /// Another person, or none, is shown.
    void personChanged();
    /// The keyboard's walk chose another row.
    void selectedRowChanged();
    /// The user acted on the person shown: ran an action of a row, or opened the person in
    /// the contacts program.
    void personActedOn();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /// How a row is placed: its text's height plus `extraHeight`, then `gapAfter` before the
    /// next row.
    struct RowPlace
    {
        PropertyView *row;
        qreal extraHeight;
        qreal gapAfter;
    };

    void _setPropertyViewsForPerson(const Person *person);
    void _removeAllSubviews();
    void _addViewsForPerson(const QString &property, const QList<LabeledValue> &values);
    void _addSingleView(const QString &property, const QString &value);
    void _addAddressViewsForPerson(const QList<LabeledValue> &addresses);
    PropertyView *_newRow(const QString &property, const QString &label, const QString &value);
    void _layOutRows();
    /// The band above the body and the body below it.
    void _layOutParts();
    /// How much larger than designed the header band draws.
    qreal _headerScale() const;
    bool _selectRow(qsizetype index);
    void _setNameHighlight(bool highlight);
    void _readPhotoSize();
    const QImage &_imageForPerson();
    QRectF _topBox() const;
    QRectF _inQt(const QRectF &yUp) const;

    CardActions *_actions = nullptr;
    int _restingHeight = 0;
    PersonPtr _person;
    QScrollArea *_scrollView = nullptr;
    QWidget *_headerBox = nullptr;
    QWidget *_bodyBox = nullptr;
    QList<RowPlace> _places;
    qsizetype _selectedRow = -1;

    bool _highlightName = false;
    /// The name's hover tracking: made where the name is drawn, dropped for a new person.
    bool _nameTracking = false;
    bool _pointerInName = false;
    QRectF _nameRect;
    /// A line of the band as drawn was cut short; the band's tooltip shows them whole.
    bool _headerElided = false;

    QImage _photo;
    QSize _photoPixels;
    bool _photoLoaded = false;
    /// The photo's encoded bytes between reading its size and drawing it.
    QByteArray _photoData;
};
