// SPDX-License-Identifier: MIT
#pragma once

#include <QAccessible>

class QWidget;

/// What a screen reader calls a widget that draws itself: a plain QWidget is only a "filler"
/// to AT-SPI, so the card's rows, its header and the status line name their part here. The
/// accessible name and description stay the widget's own (setAccessibleName/-Description).
namespace AccessibleRole {

/// Gives `widget` `role`; call it before anything asks the widget for its accessible side,
/// since Qt keeps the first answer for the widget's life.
void set(QWidget *widget, QAccessible::Role role);

} // namespace AccessibleRole
