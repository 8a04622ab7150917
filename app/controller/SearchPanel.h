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
    static constexpr int kTableWidth = 140;
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

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void _layOut();

    SearchField *_searchField = nullptr;
    QLabel *_matchesLabel = nullptr;
    MyTableView *_matchesTable = nullptr;
    PersonView *_personView = nullptr;
    AdvertTextView *_advertView = nullptr;
    MenuButton *_menuButton = nullptr;
};
