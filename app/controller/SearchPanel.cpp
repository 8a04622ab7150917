// SPDX-License-Identifier: MIT
#include "controller/SearchPanel.h"

#include "card/MyTableView.h"
#include "card/PersonView.h"
#include "chrome/MenuButton.h"
#include "controller/SearchField.h"
#include "utility/AdvertTextView.h"

#include <QLabel>
#include <QResizeEvent>

SearchPanel::SearchPanel(QWidget *parent)
    : QWidget(parent)
{
    _searchField = new SearchField(this);
    _matchesLabel = new QLabel(this);
    _matchesLabel->setTextFormat(Qt::PlainText);
    _matchesLabel->setAlignment(Qt::AlignCenter);
    _matchesTable = new MyTableView(this);
    _personView = new PersonView(this);
    _advertView = new AdvertTextView(this);
    _advertView->setFocusPolicy(Qt::NoFocus);
    _menuButton = new MenuButton(this);

    // A click anywhere else in the window would hand the keyboard to the window itself;
    // the search field keeps it instead, as it keeps it when a row is clicked.
    setFocusPolicy(Qt::ClickFocus);
    setFocusProxy(_searchField);

    _matchesTable->setGeometry(kMargin, kBodyTop, kTableWidth, 0);
    _layOut();
}

void SearchPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    _layOut();
}

void SearchPanel::_layOut()
{
    const int w = width();
    const int h = height();
    // Collapsed, the body and the advert line lie below the window's bottom edge.
    const int bodyBottom = qMax(kBodyTop, h - kMargin - kAdvertHeight);
    const int bodyHeight = qMax(0, bodyBottom - kBodyTop);

    const int fieldWidth = qMax(0, w - 2 * kMargin - kMenuButtonWidth);
    _searchField->setGeometry(kMargin, kMargin, fieldWidth, kFieldHeight);
    _menuButton->setGeometry(kMargin + fieldWidth, kMargin, kMenuButtonWidth, kFieldHeight);
    _matchesLabel->setGeometry(kMargin, kLabelTop, qMax(0, w - 2 * kMargin), kLabelHeight);
    _personView->setGeometry(w - kMargin - kCardWidth, kBodyTop, kCardWidth, bodyHeight);
    // The list's horizontal place belongs to whoever slides it; only its height follows.
    _matchesTable->setGeometry(_matchesTable->x(), kBodyTop, kTableWidth, bodyHeight);
    _advertView->setGeometry(kMargin, bodyBottom, qMax(0, w - 2 * kMargin), kAdvertHeight);
}
