// SPDX-License-Identifier: MIT
#include "app/controller/SearchPanel.h"

#include "app/card/CardText.h"
#include "app/card/MyTableView.h"
#include "app/card/PersonView.h"
#include "app/card/PropertyView.h"
#include "app/chrome/MenuButton.h"
#include "app/chrome/WindowAppearance.h"
#include "app/controller/SearchField.h"
#include "common/utility/AccessibleRole.h"
#include "common/utility/AdvertTextView.h"
#include "common/utility/Contrast.h"

#include <QLabel>
#include <QResizeEvent>

SearchPanel::SearchPanel(QWidget *parent)
    : QWidget(parent)
{
    _searchField = new SearchField(this);
    _matchesLabel = new QLabel(this);
    _matchesLabel->setTextFormat(Qt::PlainText);
    _matchesLabel->setAlignment(Qt::AlignCenter);
    AccessibleRole::set(_matchesLabel, QAccessible::StatusBar);
    _matchesTable = new MyTableView(this);
    _personView = new PersonView(this);
    _advertView = new AdvertTextView(this);
    _advertView->setFocusPolicy(Qt::NoFocus);
    // On the search window's translucent base rather than on a window colour.
    _advertView->setBackgroundRole(QPalette::Base);
    _advertView->setForegroundRole(QPalette::Text);
    _advertView->setBackgroundAlpha(WindowAppearance::searchWindowBackgroundColor().alphaF());
    _menuButton = new MenuButton(this);

    // A click anywhere else in the window would hand the keyboard to the window itself;
    // the search field keeps it instead, as it keeps it when a row is clicked.
    setFocusPolicy(Qt::ClickFocus);
    setFocusProxy(_searchField);

    connect(_matchesTable, &MyTableView::selectedRowChanged, this, &SearchPanel::_announceMatch);
    connect(_personView, &PersonView::personChanged, this, &SearchPanel::_announcePerson);
    connect(_personView, &PersonView::selectedRowChanged, this, &SearchPanel::_announceCardRow);

    _matchesTable->setGeometry(kMargin, _bodyTop, kTableWidth, 0);
    // Shown or hidden, the list leaves the card more or less of the window's width.
    _matchesTable->installEventFilter(this);
    _keepSelectionReadable();
    _layOut();
}

void SearchPanel::setStatusText(const QString &text)
{
    _matchesLabel->setText(text);
    _matchesLabel->setAccessibleName(text);
    _announce(text);
}

void SearchPanel::_announce(const QString &text)
{
    if (!text.isEmpty())
        _searchField->setAccessibleDescription(text);
}

void SearchPanel::_announceMatch(int row)
{
    const QAbstractItemModel *model = _matchesTable->model();
    // A single match is announced by its card; the list shows only with several.
    if (!model || row < 0 || model->rowCount() < 2)
        return;
    const QString name = model->index(row, 0).data().toString();
    _announce(tr("%1, %2 of %3").arg(name).arg(row + 1).arg(model->rowCount()));
}

void SearchPanel::_announcePerson()
{
    // With several matches the count and the chosen match have been said already.
    if (_matchesLabel->text().isEmpty())
        _announce(_personView->headerLines().join(QStringLiteral(", ")));
}

void SearchPanel::_announceCardRow()
{
    if (const PropertyView *row = _personView->selectedRow())
        _announce(row->accessibleName() + QLatin1Char(' ') + row->accessibleDescription());
}
QSize SearchPanel::expandedExtraSize(bool withList) const
{
    const qreal grown = CardText::scale() - 1;
    const int width = qRound(kCardWidth * grown) + (withList ? qRound(kTableWidth * grown) : 0);
    return {width, qRound(kCardHeight * grown)};
}

void SearchPanel::setRestingSize(const QSize &size)
{
    _restingSize = size;
    _layOut();
}

bool SearchPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == _matchesTable &&
        (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        _layOut();
    return QWidget::eventFilter(watched, event);
}

void SearchPanel::_fitCardAndList()
{
    const QSize rest = _restingSize.isValid() ? _restingSize : size();
    const int cardHeight = rest.height() - kMargin - _advertHeight - _bodyTop;
    if (cardHeight <= 0)
        return;
    const qreal scale = CardText::scale();
    int card = qRound(kCardWidth * scale);
    int table = qRound(kTableWidth * scale);
    const bool withList = !_matchesTable->isHidden();
    // A screen too narrow for them at this font: the card and the list give up the same
    // share of their widths, and the values in the card end in "…".
    const int room = std::max(0, rest.width() - 2 * kMargin - (withList ? kListGap : 0));
    const int wanted = card + (withList ? table : 0);
    if (wanted > room) {
        card = card * room / wanted;
        table = table * room / wanted;
    }
    _cardWidth = card;
    _tableWidth = table;
    _personView->setRestingHeight(cardHeight);
}

void SearchPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    _layOut();
}

void SearchPanel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        _layOut();
    if (event->type() == QEvent::PaletteChange)
        _keepSelectionReadable();
}

void SearchPanel::_keepSelectionReadable()
{
    QPalette palette = this->palette();
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    const QColor readable =
        Contrast::readable(highlight, palette.color(QPalette::Active, QPalette::HighlightedText));
    if (readable == highlight)
        return;
    palette.setColor(QPalette::Highlight, readable);
    setPalette(palette);
}

void SearchPanel::_layOut()
{
    // Larger fonts than the design's push the status line and the body down rather than
    // cutting the text.
    _fieldHeight = std::max(kFieldHeight, _searchField->sizeHint().height());
    _labelTop = kMargin + _fieldHeight + (kLabelTop - kMargin - kFieldHeight);
    _labelHeight = std::max(kLabelHeight, _matchesLabel->fontMetrics().height() + 2);
    _bodyTop = _labelTop + _labelHeight + (kBodyTop - kLabelTop - kLabelHeight);
    _advertHeight = std::max(kAdvertHeight, _advertView->fontMetrics().height());
    const int w = width();
    const int h = height();
    // Collapsed, the body and the advert line lie below the window's bottom edge.
    const int bodyBottom = qMax(_bodyTop, h - kMargin - _advertHeight);
    const int bodyHeight = qMax(0, bodyBottom - _bodyTop);
    _fitCardAndList();

    const int fieldWidth = qMax(0, w - 2 * kMargin - kMenuButtonWidth);
    _searchField->setGeometry(kMargin, kMargin, fieldWidth, _fieldHeight);
    _menuButton->setGeometry(kMargin + fieldWidth, kMargin, kMenuButtonWidth, _fieldHeight);
    _matchesLabel->setGeometry(kMargin, _labelTop, qMax(0, w - 2 * kMargin), _labelHeight);
    _personView->setGeometry(w - kMargin - _cardWidth, _bodyTop, _cardWidth, bodyHeight);
    // The list's horizontal place belongs to whoever slides it; only its height follows.
    _matchesTable->setGeometry(_matchesTable->x(), _bodyTop, _tableWidth, bodyHeight);
    _advertView->setGeometry(kMargin, bodyBottom, qMax(0, w - 2 * kMargin), _advertHeight);
}
