// SPDX-License-Identifier: MIT
#include "chrome/MenuButton.h"

#include "utility/AccessibleRole.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QFontDatabase>
#include <QMenu>
#include <QMouseEvent>

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
    setToolTip(tr("Menu"));
    // A screen reader would spell out the gear sign.
    setAccessibleName(tr("Menu"));
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
