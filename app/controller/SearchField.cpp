// SPDX-License-Identifier: MIT
#include "controller/SearchField.h"

#include <QKeyEvent>

#include <optional>

namespace {

std::optional<SearchField::Command> commandForKey(const QKeyEvent *event)
{
    // Modified keys (Shift-Tab, Ctrl-Up …) keep their ordinary editing meaning.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier)
        return std::nullopt;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return SearchField::Command::InsertNewline;
    case Qt::Key_Tab:
        return SearchField::Command::InsertTab;
    case Qt::Key_Escape:
        return SearchField::Command::CancelOperation;
    case Qt::Key_Up:
        return SearchField::Command::MoveUp;
    case Qt::Key_Down:
        return SearchField::Command::MoveDown;
    default:
        return std::nullopt;
    }
}

} // namespace

SearchField::SearchField(QWidget *parent)
    : QLineEdit(parent)
{
    setPlaceholderText(tr("Search string"));
    setClearButtonEnabled(true);
}

bool SearchField::event(QEvent *event)
{
    // Tab never reaches keyPressEvent: the widget machinery turns it into a focus change
    // first, which would take the keyboard away from the search.
    if (event->type() == QEvent::KeyPress) {
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        if (keyEvent->key() == Qt::Key_Tab && _offerCommand(keyEvent))
            return true;
        if (keyEvent->key() == Qt::Key_Tab || keyEvent->key() == Qt::Key_Backtab) {
            keyEvent->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void SearchField::keyPressEvent(QKeyEvent *event)
{
    if (_offerCommand(event))
        return;
    QLineEdit::keyPressEvent(event);
}

bool SearchField::_offerCommand(QKeyEvent *event)
{
    const std::optional<Command> command = commandForKey(event);
    if (!command || !_commandHandler)
        return false;
    if (!_commandHandler(*command))
        return false;
    event->accept();
    return true;
}
