// SPDX-License-Identifier: MIT
#include "host/PreferencesWindow.h"

#include <QEvent>
#include <QKeySequence>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace {

// Room for a window manager's frame, its sides and its title bar, which are not known before
// the window is shown.
constexpr QSize kFrameRoom(16, 48);

} // namespace

PreferencesWindow::PreferencesWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    _scrollArea = new QScrollArea(this);
    _scrollArea->setFrameShape(QFrame::NoFrame);
    _scrollArea->setWidgetResizable(true);
    layout->addWidget(_scrollArea);
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
        // Kept, hidden, for when its pane is shown again.
        _scrollArea->takeWidget();
        _view->setParent(this);
        _view->hide();
    }
    _view = view;
    _scrollArea->setWidget(view);
    view->show();
    // A pane asks for the room it needs, as far as the screen has it; the user may make the
    // window larger from there.
    QSize wanted = size().expandedTo(view->sizeHint().expandedTo(view->minimumSizeHint()));
    if (const QScreen *screen = this->screen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() - kFrameRoom);
    resize(wanted);
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
