// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class AdvertTextView;
class MenuButton;
class MyTableView;
class PersonView;
class QLabel;
class SearchField;

/// The content of the search window: search field, menu button and status label along the top, the
/// list of matches at the left and the card at the right below them. The list keeps its place from
/// the left edge and the card keeps its place from the right edge as the window changes size, so
/// sliding the list by its own width's worth hides it under the card.
class SearchPanel final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kMargin = 10;
    static constexpr int kFieldHeight = 24;
    static constexpr int kLabelTop = 36;
    static constexpr int kLabelHeight = 18;
    /// Everything below this line shows only in the expanded forms.
    static constexpr int kBodyTop = 62;
    static constexpr int kCardWidth = 380;
    /// The card's height in the expanded window at the design's font size.
    static constexpr int kCardHeight = 325;
    static constexpr int kTableWidth = 140;
    /// Between the list and the card.
    static constexpr int kListGap = 10;
    static constexpr int kAdvertHeight = 16;
    static constexpr int kMenuButtonWidth = 24;

    explicit SearchPanel(QWidget *parent = nullptr);

    SearchField *searchField() const { return _searchField; }
    QLabel *matchesLabel() const { return _matchesLabel; }
    MyTableView *matchesTable() const { return _matchesTable; }
    PersonView *personView() const { return _personView; }
    /// The advert line along the bottom edge.
    AdvertTextView *advertView() const { return _advertView; }
    /// The menu button at the right of the search field.
    MenuButton *menuButton() const { return _menuButton; }

    /// How much taller than designed the field and the status line are, for fonts larger than
    /// the design's; the window grows by as much in every form.
    int extraHeight() const { return _bodyTop - kBodyTop + _advertHeight - kAdvertHeight; }
    /// How much larger than designed the card, and with `withList` the list beside it, are
    /// drawn for a desktop font larger than the design's; the expanded window grows by as much.
    QSize expandedExtraSize(bool withList) const;

    /// The size the window comes to rest at. The card and the list are fitted into it, not
    /// into each size the window passes through on its way; a form without room for the card
    /// leaves the card as it was. Until it is set the panel's own size counts.
    void setRestingSize(const QSize &size);

    /// Shows `text` in the status line and has a screen reader say it.
    void setStatusText(const QString &text);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void _layOut();
    /// Gives the card and the list their widths for the resting size.
    void _fitCardAndList();
    /// Selected text in the field and the chosen match are drawn in the theme's selection
    /// colours, which not every theme makes readable (Fusion's white on blue is 3.7:1).
    void _keepSelectionReadable();
    /// The keyboard never leaves the search field, so what changes elsewhere (the count, the
    /// chosen match, the chosen row) becomes the field's description: screen readers speak a
    /// new description of the focused object at once.
    void _announce(const QString &text);
    void _announceMatch(int row);
    void _announcePerson();
    void _announceCardRow();

    /// Where the rows below the field start, from the fonts; kBodyTop at the design's size.
    int _fieldHeight = kFieldHeight;
    int _labelTop = kLabelTop;
    int _labelHeight = kLabelHeight;
    int _bodyTop = kBodyTop;
    int _advertHeight = kAdvertHeight;
    QSize _restingSize;
    /// The card's and the list's widths from the last resting size with room for the card.
    int _cardWidth = kCardWidth;
    int _tableWidth = kTableWidth;
    SearchField *_searchField = nullptr;
    QLabel *_matchesLabel = nullptr;
    MyTableView *_matchesTable = nullptr;
    PersonView *_personView = nullptr;
    AdvertTextView *_advertView = nullptr;
    MenuButton *_menuButton = nullptr;
};
