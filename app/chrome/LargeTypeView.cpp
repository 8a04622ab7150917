// SPDX-License-Identifier: MIT
#include "app/chrome/LargeTypeView.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr int TextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs;

} // namespace

QSizeF LargeTypeString::size() const
{
    if (text.isEmpty())
        return QSizeF(0, 0);
    return QFontMetricsF(font).size(TextFlags, text);
}

LargeTypeView::LargeTypeView(QWidget *parent)
    : RoundedRectView(parent)
{}

void LargeTypeView::setDisplayAttributedString(const LargeTypeString &string)
{
    _displayString = string;
    update();
}

void LargeTypeView::paintEvent(QPaintEvent *event)
{
    RoundedRectView::paintEvent(event);
    if (_displayString.text.isEmpty())
        return;
    const QSizeF extent = _displayString.size();
    // Not rounded to whole pixels: the block sits exactly in the middle.
    const QPointF origin((width() - extent.width()) * 0.5, (height() - extent.height()) * 0.5);
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(_displayString.font);
    painter.setPen(_displayString.color.isValid() ? _displayString.color : QColor(Qt::white));
    painter.drawText(QRectF(origin, extent), TextFlags, _displayString.text);
}
