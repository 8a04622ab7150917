// SPDX-License-Identifier: MIT
#pragma once

#include <QPointF>
#include <QRectF>
#include <QTransform>

/// The card's geometry is reasoned about with the y axis pointing up from a view's bottom
/// edge, the way its layout rules are stated; Qt paints with y pointing down from the top.
/// Each view converts here and nowhere else. The conversion is its own inverse.
namespace FlippedGeometry {

inline QRectF flipped(const QRectF &rect, qreal viewHeight)
{
    return QRectF(rect.x(), viewHeight - rect.y() - rect.height(), rect.width(), rect.height());
}

inline QPointF flipped(const QPointF &point, qreal viewHeight)
{
    return QPointF(point.x(), viewHeight - point.y());
}

/// Maps paths and shapes built in y-up coordinates onto the painter's.
inline QTransform flipTransform(qreal viewHeight)
{
    return QTransform(1, 0, 0, -1, 0, viewHeight);
}

} // namespace FlippedGeometry
