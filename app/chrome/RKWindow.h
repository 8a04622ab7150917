// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <atomic>
#include <mutex>

class QAbstractButton;

/// A window that runs alert-style sheets over itself, one at a time, and shows its title with
/// an optional suffix. Every sheet operation waits until its sheet ends.
class RKWindow : public QWidget
{
    Q_OBJECT
public:
    /// Result codes of the alert buttons.
    enum AlertReturn
    {
        AlertDefaultReturn = 1,
        AlertAlternateReturn = 0,
        AlertOtherReturn = -1,
    };

    explicit RKWindow(QWidget *parent = nullptr);
    /// Takes over `window` as its content (title, size limits, focus widget), centres itself on
    /// the screen and saves its frame under "RK" plus the source's object name. `textured` asks
    /// for the textured look, which this desktop has no equivalent of.
    RKWindow(QWidget *window, bool textured);
    ~RKWindow() override;

    QString title() const { return _title; }
    void setTitle(const QString &title);
    QString titleSuffix() const { return _titleSuffix; }
    void setTitleSuffix(const QString &suffix);
    QString frameAutosaveName() const { return _frameAutosaveName; }
    bool isTextured() const { return _textured; }

    /// Maximises the window, or brings it back from maximised.
    void zoom();

    /// A sheet with one "Okay" button. Dropped when another alert sheet is up.
    void runMessageSheet(const QString &title, const QString &message);
    /// A sheet without buttons, taken away after `timeout` seconds.
    void runMessageSheet(const QString &title, const QString &message, double timeout);
    /// A sheet with up to three buttons (a missing title means no such button): returns 1 for
    /// the default, 0 for the alternate and -1 for the other button. Return presses the default
    /// button, Escape the alternate. -1 at once when another alert sheet is up.
    int runPromptSheet(const QString &title, const QString &message, const QString &defaultButton,
                       const QString &alternateButton = QString(),
                       const QString &otherButton = QString());
    /// Runs `sheet` over this window until one of its push buttons ends it; returns that
    /// button's tag (its "tag" property, 0 when unset). Push buttons without a click handler
    /// are wired to end the sheet; check boxes, radio buttons and buttons with handlers are left
    /// alone. -1 when a sheet of this window is already running.
    int runPromptSheet(QDialog *sheet);
    /// Ends the running custom sheet with the tag of `sender`.
    void endPromptSheet(QObject *sender);

    /// Shows `sheet` over this window without waiting.
    void beginSheet(QDialog *sheet);
    /// Hides and ends the sheet begun with `beginSheet`.
    void endSheet();

    /// The alert sheet currently up, if any.
    QMessageBox *alertPanel() const { return _alertPanel; }

    /// The tag of a button: its "tag" property.
    static int tagOf(const QObject *object);

private:
    void _updateTitle();
    void _setButtonActionForSheet(QDialog *sheet);
    void _setButtonActionForView(QWidget *view);
    static void _setKeyEquivalent(QMessageBox *alert);
    int _runModal(QDialog *sheet);
    template <typename Body, typename Result>
    Result _withSheetLock(Body body, Result refused);

    QPointer<QMessageBox> _alertPanel;
    QPointer<QDialog> _currentSheet;
    QPointer<QDialog> _promptSheet;
    QString _title;
    QString _titleSuffix;
    QString _frameAutosaveName;
    bool _textured = false;
    std::mutex _lock;
    std::atomic<bool> _lockHeldByGuiThread = false;
};
