// SPDX-License-Identifier: MIT
#include "app/card/MyTableView.h"

#include "app/chrome/WindowAppearance.h"

#include <QEvent>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QStyle>
#include <QToolTip>

MyTableView::MyTableView(QWidget *parent)
    : QListView(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A row that tells why its person matched has a second line; its delegate answers each
    // row's height from a look at the name alone, so laying out a long list stays cheap.
    setUniformItemSizes(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    setAccessibleName(tr("Matches"));
}

void MyTableView::selectRow(int row)
{
    if (!model() || !selectionModel())
        return;
    const QModelIndex index = model()->index(row, 0, rootIndex());
    if (!index.isValid())
        return;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

int MyTableView::selectedRow() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void MyTableView::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    QListView::selectionChanged(selected, deselected);
    Q_EMIT selectedRowChanged(selectedRow());
}

bool MyTableView::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QListView::viewportEvent(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text = index.data().toString();
    const QRect area = visualRect(index);
    // The room the item's text gets between the margins the delegate leaves on each side.
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    if (index.isValid() && fontMetrics().horizontalAdvance(text) > area.width() - margins)
        QToolTip::showText(help->globalPos(), text, viewport(), area);
    else
        QToolTip::hideText();
    return true;
}

void MyTableView::changeEvent(QEvent *event)
{
    QListView::changeEvent(event);
    // The list shares the window's background, which follows the theme.
    if (event->type() != QEvent::ApplicationPaletteChange && event->type() != QEvent::PaletteChange)
        return;
    const QColor base = WindowAppearance::searchWindowBackgroundColor();
    if (palette().color(QPalette::Active, QPalette::Base) == base)
        return;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, base);
    setPalette(palette);
}
