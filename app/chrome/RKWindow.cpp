// SPDX-License-Identifier: MIT
#include "app/chrome/RKWindow.h"

#include <QAbstractButton>
#include <QDialog>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMetaMethod>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const char TagProperty[] = "tag";

// Whether anything handles the button's clicks yet. QObject keeps isSignalConnected()
// protected; naming it through a derived class yields a member pointer usable on any object.
struct SignalAccess : QObject
{
    using QObject::isSignalConnected;
};

bool hasClickHandler(const QAbstractButton *button)
{
    static const QMetaMethod clicked = QMetaMethod::fromSignal(&QAbstractButton::clicked);
    constexpr auto isConnected = &SignalAccess::isSignalConnected;
    return (button->*isConnected)(clicked);
}

} // namespace

RKWindow::RKWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    _updateTitle();
}

RKWindow::RKWindow(QWidget *window, bool textured)
    : QWidget(nullptr, Qt::Window)
    , _textured(textured)
{
    if (!window) {
        _updateTitle();
        return;
    }
    setTitle(window->windowTitle());
    setMinimumSize(window->minimumSize());
    setMaximumSize(window->maximumSize());
    QWidget *firstResponder = window->focusWidget();
    const QSize contentSize = window->size();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    window->setParent(this, Qt::Widget);
    layout->addWidget(window);
    window->show();
    resize(contentSize);
    if (firstResponder)
        firstResponder->setFocus();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    _frameAutosaveName = QStringLiteral("RK%1").arg(window->objectName());
}

RKWindow::~RKWindow() = default;

void RKWindow::setTitle(const QString &title)
{
    _title = title;
    _updateTitle();
}

void RKWindow::setTitleSuffix(const QString &suffix)
{
    _titleSuffix = suffix;
    _updateTitle();
}

void RKWindow::_updateTitle()
{
    const QString title = _title.isNull() ? QStringLiteral("null") : _title;
    setWindowTitle(_titleSuffix.isEmpty() ? title
                                          : QStringLiteral("%1 %2").arg(title, _titleSuffix));
}

void RKWindow::zoom()
{
    if (isMaximized())
        showNormal();
    else
        showMaximized();
}

int RKWindow::tagOf(const QObject *object)
{
    return object ? object->property(TagProperty).toInt() : 0;
}

template <typename Body, typename Result>
Result RKWindow::_withSheetLock(Body body, Result refused)
{
    if (QThread::currentThread() != thread()) {
        // Widgets live on the GUI thread: wait for the sheet of any other caller, then run
        // there and wait for the answer.
        std::lock_guard guard(_lock);
        Result result = refused;
        QMetaObject::invokeMethod(
            this, [&] { result = body(); }, Qt::BlockingQueuedConnection);
        return result;
    }
    // On the GUI thread a held lock means a sheet is running further up this very thread
    // (its nested loop delivered this request) or a caller elsewhere is being served by this
    // thread: waiting would never end, so the request is refused.
    if (!_lock.try_lock())
        return refused;
    std::lock_guard guard(_lock, std::adopt_lock);
    return body();
}

int RKWindow::_runModal(QDialog *sheet)
{
    sheet->setWindowModality(Qt::WindowModal);
    QPointer<QDialog> guard(sheet);
    QEventLoop loop;
    int result = AlertOtherReturn;
    const auto finished = connect(sheet, &QDialog::finished, &loop, [&](int code) {
        result = code;
        loop.quit();
    });
    connect(sheet, &QObject::destroyed, &loop, &QEventLoop::quit);
    sheet->open();
    if (guard && guard->isVisible())
        loop.exec();
    if (guard) {
        disconnect(finished);
        guard->hide();
    }
    return result;
}

void RKWindow::_setKeyEquivalent(QMessageBox *alert)
{
    QAbstractButton *alternate = nullptr;
    for (QAbstractButton *button : alert->buttons()) {
        const int tag = tagOf(button);
        if (tag == AlertDefaultReturn) {
            if (auto *push = qobject_cast<QPushButton *>(button))
                alert->setDefaultButton(push);
        } else if (tag == AlertAlternateReturn) {
            alternate = button;
        }
    }
    alert->setEscapeButton(alternate);
}

void RKWindow::runMessageSheet(const QString &title, const QString &message)
{
    runPromptSheet(title, message, tr("Okay"));
}

void RKWindow::runMessageSheet(const QString &title, const QString &message, double timeout)
{
    _withSheetLock(
        [&] {
            QMessageBox panel(this);
            panel.setWindowTitle(title);
            panel.setText(title);
            panel.setInformativeText(message);
            panel.setStandardButtons(QMessageBox::NoButton);
            panel.setWindowModality(Qt::WindowModal);
            panel.show();
            // The caller waits for the whole time; the loop keeps the sheet painted meanwhile.
            QEventLoop loop;
            QTimer::singleShot(std::max(0, int(timeout * 1000)), &loop, &QEventLoop::quit);
            loop.exec(QEventLoop::ExcludeUserInputEvents);
            panel.hide();
            return true;
        },
        false);
}

int RKWindow::runPromptSheet(const QString &title, const QString &message,
                             const QString &defaultButton, const QString &alternateButton,
                             const QString &otherButton)
{
    return _withSheetLock(
        [&]() -> int {
            if (_alertPanel)
                return AlertOtherReturn;
            QMessageBox panel(this);
            _alertPanel = &panel;
            panel.setIcon(QMessageBox::Warning);
            panel.setWindowTitle(title);
            panel.setText(title);
            panel.setInformativeText(message);
            const auto add = [&panel](const QString &text, QMessageBox::ButtonRole role, int tag) {
                QPushButton *button = panel.addButton(text, role);
                button->setProperty(TagProperty, tag);
            };
            add(defaultButton.isEmpty() ? tr("OK") : defaultButton, QMessageBox::AcceptRole,
                AlertDefaultReturn);
            if (!alternateButton.isEmpty())
                add(alternateButton, QMessageBox::RejectRole, AlertAlternateReturn);
            if (!otherButton.isEmpty())
                add(otherButton, QMessageBox::DestructiveRole, AlertOtherReturn);
            _setKeyEquivalent(&panel);

            int result = AlertOtherReturn;
            connect(&panel, &QMessageBox::buttonClicked, &panel,
                    [&result](QAbstractButton *button) { result = tagOf(button); });
            const int code = _runModal(&panel);
            Q_UNUSED(code);
            _alertPanel = nullptr;
            return result;
        },
        int(AlertOtherReturn));
}

int RKWindow::runPromptSheet(QDialog *sheet)
{
    if (!sheet)
        return AlertOtherReturn;
    return _withSheetLock(
        [&]() -> int {
            if (sheet->parentWidget() != this)
                sheet->setParent(this, sheet->windowFlags() | Qt::Dialog);
            _setButtonActionForSheet(sheet);
            _promptSheet = sheet;
            const int result = _runModal(sheet);
            _promptSheet = nullptr;
            return result;
        },
        int(AlertOtherReturn));
}

void RKWindow::endPromptSheet(QObject *sender)
{
    if (_promptSheet)
        _promptSheet->done(tagOf(sender));
}

void RKWindow::_setButtonActionForSheet(QDialog *sheet)
{
    _setButtonActionForView(sheet);
}

void RKWindow::_setButtonActionForView(QWidget *view)
{
    const QList<QWidget *> subviews = view->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *subview : subviews) {
        if (auto *button = qobject_cast<QAbstractButton *>(subview)) {
            // Push buttons only: check boxes, radio buttons and toggles show a state.
            auto *push = qobject_cast<QPushButton *>(button);
            if (!push || push->isCheckable() || hasClickHandler(push))
                continue;
            connect(push, &QAbstractButton::clicked, this, [this, push] { endPromptSheet(push); });
        } else if (!subview->findChildren<QWidget *>(Qt::FindDirectChildrenOnly).isEmpty()) {
            // Boxes hold their buttons directly here, with no content view in between.
            _setButtonActionForView(subview);
        }
    }
}

void RKWindow::beginSheet(QDialog *sheet)
{
    if (!sheet)
        return;
    if (sheet->parentWidget() != this)
        sheet->setParent(this, sheet->windowFlags() | Qt::Dialog);
    sheet->setWindowModality(Qt::WindowModal);
    _currentSheet = sheet;
    sheet->open();
}

void RKWindow::endSheet()
{
    if (!_currentSheet)
        return;
    _currentSheet->hide();
    _currentSheet->done(QDialog::Rejected);
    _currentSheet = nullptr;
}
