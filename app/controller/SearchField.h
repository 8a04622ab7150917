// SPDX-License-Identifier: MIT
#pragma once

#include <QLineEdit>

#include <functional>

/// The search window's pattern input. Keyboard focus never leaves it (the list of matches
/// refuses focus), so the keys that walk and open the matches arrive here and are offered
/// to a command handler first, the way a text field hands its commands to its delegate.
class SearchField final : public QLineEdit
{
    Q_OBJECT

public:
    enum class Command
    {
        InsertNewline,   // Return or Enter
        InsertTab,       // Tab
        CancelOperation, // Escape
        MoveUp,
        MoveDown,
        // The card's rows, walked while the field keeps the keyboard.
        NextCardRow,     // Ctrl+Down
        PreviousCardRow, // Ctrl+Up
        OpenCardRow,     // Ctrl+Return
        CopyCardRow,     // Ctrl+C
        CardRowMenu,     // Menu, Shift+F10
        // The window's own menu, behind the menu button.
        ShowMenu, // F10
    };

    /// Answers true when it handled the command; the field then does nothing more with the key.
    using CommandHandler = std::function<bool(Command)>;

    explicit SearchField(QWidget *parent = nullptr);

    void setCommandHandler(CommandHandler handler) { _commandHandler = std::move(handler); }

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool _offerCommand(QKeyEvent *event);
    bool _offerCommand(Command command);

    CommandHandler _commandHandler;
};
