// SPDX-License-Identifier: MIT
#include "app/chrome/MenuButton.h"

#include "common/utility/AccessibleRole.h"

#include <QAccessible>
#include <QApplication>
#include <QEnterEvent>
#include <QFontDatabase>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

MenuButton::MenuButton(QWidget *parent)
    : QToolButton(parent)
{
    // Not the check box its hover state would make it to a screen reader; set before any
    // text, which already makes the button's accessible side.
    AccessibleRole::set(this, QAccessible::ButtonMenu);
    // The on state is the hover highlight; clicks never toggle it, the pointer does.
    setCheckable(true);
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setText(QStringLiteral("\u2699"));
    const QString key = QKeySequence(Qt::Key_F10).toString(QKeySequence::NativeText);
    setToolTip(tr("Menu (%1)").arg(key));
    // A screen reader would spell out the gear sign. The button never takes the focus, so
    // its description says how the keyboard reaches it.
    setAccessibleName(tr("Menu"));
    setAccessibleDescription(key);
}

MenuButton::~MenuButton()
{
    delete _contextMenu;
}

QMenu *MenuButton::contextMenu()
{
    if (_contextMenu)
        return _contextMenu;
    // The menu is not a child of the button: a popup parented into a translucent frameless
    // window would inherit its translucency.
    _contextMenu = new QMenu;
    _contextMenu->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    // No shortcuts: the search field owns the keyboard.
    _contextMenu->addAction(tr("About Brisko"), this, &MenuButton::showAbout);
    _contextMenu->addSeparator();
    _contextMenu->addAction(tr("Preferences"), this, &MenuButton::showPreference);
    _contextMenu->addAction(tr("Help"), this, &MenuButton::showHelp);
    _contextMenu->addSeparator();
    _contextMenu->addAction(tr("Quit Brisko"), this, [this] {
        Q_EMIT terminate();
        QCoreApplication::quit();
    });
    return _contextMenu;
}

void MenuButton::popUpMenu(const QPoint &globalPos)
{
    contextMenu()->exec(globalPos);
    setChecked(false);
}

void MenuButton::popUpMenuFromKeyboard()
{
    QMenu *menu = contextMenu();
    setChecked(true);
    // Chosen once the menu is up, so that a screen reader hears the item and Return takes it.
    QTimer::singleShot(0, menu, [menu] { menu->setActiveAction(menu->actions().value(0)); });
    popUpMenu(mapToGlobal(QPoint(0, height())));
    // The keyboard is back where it was, but a popup closing moves no focus, so nothing
    // would tell a screen reader where it is.
    if (QWidget *focused = QApplication::focusWidget()) {
        QAccessibleEvent back(focused, QAccessible::Focus);
        QAccessible::updateAccessibility(&back);
    }
}

void MenuButton::enterEvent(QEnterEvent *event)
{
    setChecked(true);
    QToolButton::enterEvent(event);
}

void MenuButton::leaveEvent(QEvent *event)
{
    setChecked(false);
    QToolButton::leaveEvent(event);
}

void MenuButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QToolButton::mousePressEvent(event);
        return;
    }
    event->accept();
    popUpMenu(event->globalPosition().toPoint());
}
