// SPDX-License-Identifier: MIT
#pragma once

#include <QToolButton>

class QMenu;

/// The search window's action button: lit while the pointer is over it, and a click pops up
/// the application's menu. The items' signals are for the application controller; Quit ends
/// the application by itself.
class MenuButton final : public QToolButton
{
    Q_OBJECT
public:
    explicit MenuButton(QWidget *parent = nullptr);
    ~MenuButton() override;

    /// The pop-up menu, built on first use: "About Brisko", separator, "Preferences", "Help",
    /// separator, "Quit Brisko".
    QMenu *contextMenu();

    /// Pops the menu up at `globalPos` and waits until it closes; the button is off afterwards.
    void popUpMenu(const QPoint &globalPos);
    /// The keyboard's way to the menu (F10 in the search field, which keeps the focus): it
    /// pops up under the button with its first item chosen, the button lit meanwhile.
    void popUpMenuFromKeyboard();

Q_SIGNALS:
    void showAbout();
    void showPreference();
    void showHelp();
    /// Emitted before the application is told to quit.
    void terminate();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QMenu *_contextMenu = nullptr;
};
