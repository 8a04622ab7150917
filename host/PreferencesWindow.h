// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class QScrollArea;

/// The host's one window: an ordinary, resizable desktop window that holds the main view of
/// the pane being shown and is titled after it. It is never made larger than the screen's
/// free area; a pane larger than that (large fonts on a small screen) scrolls.
class PreferencesWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit PreferencesWindow(QWidget *parent = nullptr);
    ~PreferencesWindow() override;

    /// Puts `view` in the window in place of the view shown so far, which is kept (hidden)
    /// for when its pane is shown again.
    void setPaneView(QWidget *view, const QString &title);

    /// Brings the window up and to the front.
    void present();
    /// Calls `done` once the window is on screen, at the latest after `timeoutMs`.
    void whenShown(std::function<void()> done, int timeoutMs = 5000);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void _runShownCallbacks();

    QScrollArea *_scrollArea = nullptr;
    QPointer<QWidget> _view;
    std::vector<std::function<void()>> _shownCallbacks;
    bool _filterInstalled = false;
};
