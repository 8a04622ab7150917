// SPDX-License-Identifier: MIT
#pragma once

#include "common/keycombo/KeyCombo.h"
#include "platform/core/Bundle.h"

#include <QObject>
#include <QPointer>

#include <memory>

class KeyboardGrab;
class QDialog;
class QLineEdit;
class QWidget;
struct Notification;

/// The pane's recorder of the activation hot key: a sheet, read from the pane's "KeyComboPanel"
/// interface file, that takes every key press of its key capture button (KeyBroadcaster) as
/// the new combination until the user confirms or cancels. Return or Escape alone confirm and
/// cancel; with a modifier they are recorded like any other key. While it records, the sheet
/// holds the desktop's keyboard, so the desktop's own shortcuts are recorded instead of run.
class KeyComboPanel final : public QObject
{
    Q_OBJECT
public:
    /// The process's one panel. The first call that can read the interface file makes it, as
    /// a sheet of `mainWindow`; later calls hand back the same panel and ignore their window
    /// for as long as that first window lives. Nothing while the file cannot be read ("Failed
    /// to load KeyComboPanel nib file." on standard error); the next call tries again.
    static KeyComboPanel *sharedPanelWithMainWindow(QWidget *mainWindow, const Bundle &bundle);

    ~KeyComboPanel() override;

    QDialog *window() const { return _window; }
    /// Shows the sheet and records until OK or Cancel ends it: 1 for OK, 0 for Cancel. The
    /// combination is not checked; invalid ones show as "None" and may be confirmed.
    int runModal();

    PaneKeyCombo keyCombo() const { return mKeyCombo; }
    void setKeyCombo(const PaneKeyCombo &keyCombo);

public Q_SLOTS:
    void ok();
    void cancel();
    /// The cleared combination (shown as "None").
    void clear();

private:
    KeyComboPanel(QDialog *window, QLineEdit *textField, QWidget *keyCapture);
    static KeyComboPanel *_load(QWidget *mainWindow, const Bundle &bundle);
    void keyEvent(const Notification &notification);
    void _keyComboChanged();

    // The panel is a part of its window, which belongs to the main window.
    QDialog *_window;
    QPointer<QLineEdit> mTextField;
    QPointer<QWidget> _keyCapture;
    PaneKeyCombo mKeyCombo;
    std::unique_ptr<KeyboardGrab> _keyboardGrab;
};
