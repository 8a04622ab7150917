// SPDX-License-Identifier: MIT
#include "pane/keycombo/KeyComboPanel.h"

#include "common/keycombo/KeyBroadcaster.h"
#include "pane/view/PaneUiLoader.h"
#include "platform/hotkey/KeyboardGrab.h"
#include "platform/notifications/NotificationCenter.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>

namespace {

// Positional key codes that end the panel when pressed without a modifier.
constexpr qint16 kReturnKeyCode = 36;
constexpr qint16 kEscapeKeyCode = 53;

} // namespace

KeyComboPanel *KeyComboPanel::sharedPanelWithMainWindow(QWidget *mainWindow, const Bundle &bundle)
{
    static QPointer<KeyComboPanel> shared;
    if (!shared)
        shared = _load(mainWindow, bundle);
    return shared;
}

KeyComboPanel *KeyComboPanel::_load(QWidget *mainWindow, const Bundle &bundle)
{
    const QString path =
        bundle.pathForResource(QStringLiteral("KeyComboPanel"), QStringLiteral("ui"));
    QString error;
    PaneUiLoader loader;
    QWidget *loaded = path.isEmpty() ? nullptr : loader.loadFile(path, &error);
    auto *window = qobject_cast<QDialog *>(loaded);
    auto *textField =
        loaded ? loaded->findChild<QLineEdit *>(QStringLiteral("textField")) : nullptr;
    auto *keyCapture =
        loaded ? loaded->findChild<KeyBroadcaster *>(QStringLiteral("keyBroadcaster")) : nullptr;
    const auto button = [loaded](const char *name) {
        return loaded ? loaded->findChild<QAbstractButton *>(QString::fromLatin1(name)) : nullptr;
    };
    QAbstractButton *okButton = button("okButton");
    QAbstractButton *cancelButton = button("cancelButton");
    QAbstractButton *clearButton = button("clearButton");
    if (!window || !textField || !keyCapture || !okButton || !cancelButton || !clearButton) {
        delete loaded;
        qWarning("Failed to load KeyComboPanel nib file.");
        return nullptr;
    }
    if (mainWindow)
        window->setParent(mainWindow, window->windowFlags() | Qt::Dialog);
    if (!KeyboardGrab::isPossible()) {
        // Without the keyboard to itself (a native Wayland window) the recorder never sees a
        // key the desktop acts on; the user should know before choosing one.
        auto *limitation = new QLabel(
            QCoreApplication::translate("KeyComboPanel",
                                        "Your desktop's own shortcuts still act while you "
                                        "record: a key combination they use cannot be recorded."),
            window);
        limitation->setObjectName(QStringLiteral("limitationLabel"));
        limitation->setWordWrap(true);
        if (auto *layout = qobject_cast<QBoxLayout *>(window->layout()))
            layout->insertWidget(1, limitation);
    }
    auto *panel = new KeyComboPanel(window, textField, keyCapture);
    connect(okButton, &QAbstractButton::clicked, panel, &KeyComboPanel::ok);
    connect(cancelButton, &QAbstractButton::clicked, panel, &KeyComboPanel::cancel);
    connect(clearButton, &QAbstractButton::clicked, panel, &KeyComboPanel::clear);
    return panel;
}

KeyComboPanel::KeyComboPanel(QDialog *window, QLineEdit *textField, QWidget *keyCapture)
    : QObject(window)
    , _window(window)
    , mTextField(textField)
    , _keyCapture(keyCapture)
{
    clear();
    NotificationCenter::defaultCenter().addObserver(
        this, KeyBroadcasterKeyEvent,
        [this](const Notification &notification) { keyEvent(notification); });
}

KeyComboPanel::~KeyComboPanel() = default;

int KeyComboPanel::runModal()
{
    _window->setWindowModality(_window->parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
    _keyCapture->setFocus();
    // Taken once the sheet is on screen; an X server refuses a grab for an unmapped window.
    _keyboardGrab = std::make_unique<KeyboardGrab>(_window);
    const int code = _window->exec();
    _keyboardGrab.reset();
    _window->hide();
    return code == 1 ? 1 : 0;
}

void KeyComboPanel::setKeyCombo(const PaneKeyCombo &keyCombo)
{
    mKeyCombo = keyCombo;
    _keyComboChanged();
}

void KeyComboPanel::ok()
{
    _window->done(1);
}

void KeyComboPanel::cancel()
{
    _window->done(0);
}

void KeyComboPanel::clear()
{
    setKeyCombo(PaneKeyCombo::clearKeyCombo());
}

void KeyComboPanel::keyEvent(const Notification &notification)
{
    const auto keyCode =
        static_cast<qint16>(notification.userInfo.value(QStringLiteral("KeyCode")).toInt());
    const qint64 modifiers = notification.userInfo.value(QStringLiteral("Modifiers")).toLongLong();
    if (modifiers == 0 && keyCode == kReturnKeyCode)
        return ok();
    if (modifiers == 0 && keyCode == kEscapeKeyCode)
        return cancel();
    setKeyCombo(PaneKeyCombo(keyCode, modifiers));
}

void KeyComboPanel::_keyComboChanged()
{
    if (mTextField)
        mTextField->setText(mKeyCombo.userDisplayRep());
    // The recorder keeps the keyboard, so a screen reader hears the combination as its
    // description.
    if (_keyCapture)
        _keyCapture->setAccessibleDescription(mKeyCombo.userDisplayRep());
}
