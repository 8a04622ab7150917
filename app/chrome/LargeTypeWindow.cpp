// SPDX-License-Identifier: MIT
#include "app/chrome/LargeTypeWindow.h"

#include "app/card/CardText.h"
#include "app/card/PropertyView.h"
#include "app/chrome/WindowExtras.h"
#include "app/settings/UserDefaultsExtras.h"
#include "common/utility/AccessibleRole.h"
#include "platform/hotkey/NativeKeyCodes.h"

#include "common/SettingsKeys.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace {

QString systemFontFamily()
{
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

} // namespace

LargeTypeWindow::LargeTypeWindow(QWidget *parent)
    : FramelessWindow(new LargeTypeView, parent)
{
    _largeTypeView = static_cast<LargeTypeView *>(backgroundView());
    // Named for window lists and screen readers; the frameless window shows no title itself.
    setWindowTitle(tr("Large Type"));
    // The text is what a screen reader says as the window comes up: the panel that shows it
    // takes the window's focus, named by it.
    AccessibleRole::set(_largeTypeView, QAccessible::StaticText);
    _largeTypeView->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(_largeTypeView);
    _foregroundColor = [] {
        return UserDefaultsExtras::colorForKey(UserDefaults::standardUserDefaults(),
                                               DefLargeTypeFgColor);
    };
}

void LargeTypeWindow::setForegroundColorProvider(std::function<QColor()> provider)
{
    _foregroundColor = std::move(provider);
}

QFont LargeTypeWindow::largeTypeFont(const QString &family, qreal size)
{
    QFont font(family);
    // The sizes are points of a 1:1 display; Qt's points would grow with the screen's dpi.
    font.setPixelSize(std::max(1, qRound(size)));
    font.setBold(true);
    return font;
}

QSizeF LargeTypeWindow::sizeOfString(const QString &text, const QString &family, qreal size)
{
    return LargeTypeString{text, largeTypeFont(family, size), QColor()}.size();
}

qreal LargeTypeWindow::largestFontSizeForString(const QString &text, const QString &family,
                                                const QSizeF &screenSize, qreal maxFontSize)
{
    const qreal limitWidth = screenSize.width() * ScreenFraction;
    const qreal limitHeight = screenSize.height() * ScreenFraction;
    qreal size = maxFontSize;
    QSizeF extent = sizeOfString(text, family, size);
    // Stop at the last positive size: below it there is no font to shrink to.
    while ((extent.width() > limitWidth || extent.height() > limitHeight) &&
           size - FontSizeStep > 0) {
        size -= FontSizeStep;
        extent = sizeOfString(text, family, size);
    }
    return size;
}

void LargeTypeWindow::setDisplayString(const QString &value)
{
    // Sized for the screen the window comes up on, as centerWithSize() places it: the one it
    // shows on, or the one under the pointer.
    const QScreen *screen = isVisible() ? this->screen() : WindowExtras::mainScreen();
    const QSizeF screenSize = screen ? QSizeF(screen->geometry().size()) : QSizeF(1024, 768);
    // Nobody reads more at the smallest size than the card shows of a note, and each size
    // tried measures the whole text.
    const QString text = CardText::truncated(value, PropertyView::kMaxNoteCharacters);
    const QString family = systemFontFamily();
    const qreal size = largestFontSizeForString(text, family, screenSize);
    QColor color = _foregroundColor ? _foregroundColor() : QColor();
    if (!color.isValid())
        color = Qt::white;
    setDisplayAttributedString(LargeTypeString{text, largeTypeFont(family, size), color});
}

void LargeTypeWindow::setDisplayAttributedString(const LargeTypeString &string)
{
    const QSizeF extent = string.size();
    WindowExtras::centerWithSize(this, QSizeF(extent.width() + Margin, extent.height() + Margin),
                                 0);
    _largeTypeView->setDisplayAttributedString(string);
    _largeTypeView->setAccessibleName(
        CardText::truncated(string.text, CardText::kToolTipCharacters));
}

void LargeTypeWindow::keyPressEvent(QKeyEvent *event)
{
    // Swallowed: the key only counts when it is let go.
    event->accept();
}

void LargeTypeWindow::keyReleaseEvent(QKeyEvent *event)
{
    event->accept();
    // A modifier or a lock alone does not dismiss, nor do the releases X sends while a key
    // repeats.
    if (event->isAutoRepeat() || NativeKeyCodes::isModifierKey(event->key()) ||
        event->key() == Qt::Key_ScrollLock)
        return;
    WindowExtras::fadeOut(this);
}
