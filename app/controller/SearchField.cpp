// SPDX-License-Identifier: MIT
#include "app/controller/SearchField.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QToolButton>

#include <optional>

namespace {

std::optional<SearchField::Command> cardCommandForKey(const QKeyEvent *event,
                                                      Qt::KeyboardModifiers modifiers)
{
    if (event->matches(QKeySequence::Copy))
        return SearchField::Command::CopyCardRow;
    if (modifiers == Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_Down:
            return SearchField::Command::NextCardRow;
        case Qt::Key_Up:
            return SearchField::Command::PreviousCardRow;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return SearchField::Command::OpenCardRow;
        default:
            return std::nullopt;
        }
    }
    if ((modifiers == Qt::NoModifier && event->key() == Qt::Key_Menu) ||
        (modifiers == Qt::ShiftModifier && event->key() == Qt::Key_F10))
        return SearchField::Command::CardRowMenu;
    return std::nullopt;
}

std::optional<SearchField::Command> commandForKey(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (const auto command = cardCommandForKey(event, modifiers))
        return command;
    // Other modified keys (Shift-Tab, Alt-Up …) keep their ordinary editing meaning.
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
    case Qt::Key_F10:
        return SearchField::Command::ShowMenu;
    default:
        return std::nullopt;
    }
}

} // namespace

SearchField::SearchField(QWidget *parent)
    : QLineEdit(parent)
{
    setPlaceholderText(tr("Search string"));
    setAccessibleName(tr("Search contacts"));
    setClearButtonEnabled(true);
    for (QToolButton *clear : findChildren<QToolButton *>())
        clear->setAccessibleName(tr("Clear"));
}

bool SearchField::event(QEvent *event)
{
    // The field's own menu gives way to the card's row menu when the keyboard asks for one.
    if (event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard &&
        _offerCommand(Command::CardRowMenu)) {
        event->accept();
        return true;
    }
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
    if (!command || !_offerCommand(*command))
        return false;
    event->accept();
    return true;
}

bool SearchField::_offerCommand(Command command)
{
    return _commandHandler && _commandHandler(command);
}
