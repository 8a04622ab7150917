// SPDX-License-Identifier: MIT
#include "PreferencesWindow.h"

#include <QEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

PreferencesWindow::PreferencesWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    _layout = new QVBoxLayout(this);
    _layout->setContentsMargins(0, 0, 0, 0);
    for (const QKeySequence::StandardKey key : {QKeySequence::Close, QKeySequence::Quit}) {
        auto *shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
}

PreferencesWindow::~PreferencesWindow() = default;

void PreferencesWindow::setPaneView(QWidget *view, const QString &title)
{
    setWindowTitle(title);
    if (view == _view)
        return;
    if (_view) {
        _view->hide();
        _layout->removeWidget(_view);
    }
    _view = view;
    _layout->addWidget(view);
    view->show();
    // A pane asks for the room it needs; the user may make the window larger from there.
    const QSize wanted = view->sizeHint().expandedTo(view->minimumSizeHint());
    resize(size().expandedTo(wanted));
}

void PreferencesWindow::present()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void PreferencesWindow::whenShown(std::function<void()> done, int timeoutMs)
{
    if (isVisible() && windowHandle() && windowHandle()->isExposed()) {
        done();
        return;
    }
    if (!_filterInstalled && windowHandle()) {
        windowHandle()->installEventFilter(this);
        _filterInstalled = true;
    }
    _shownCallbacks.push_back(std::move(done));
    // A window manager may keep a window from being drawn (another desktop, say); whoever
    // waits is told all the same.
    QTimer::singleShot(timeoutMs, this, &PreferencesWindow::_runShownCallbacks);
}

bool PreferencesWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Expose && windowHandle() && windowHandle()->isExposed())
        QTimer::singleShot(0, this, &PreferencesWindow::_runShownCallbacks);
    return QWidget::eventFilter(watched, event);
}

void PreferencesWindow::_runShownCallbacks()
{
    std::vector<std::function<void()>> callbacks;
    callbacks.swap(_shownCallbacks);
    for (const auto &callback : callbacks)
        callback();
}
