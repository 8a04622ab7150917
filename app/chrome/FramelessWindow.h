// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class RoundedRectView;

/// A borderless, rounded top-level panel that still takes the keyboard: it floats above normal
/// windows, has no taskbar entry and draws nothing but its `RoundedRectView`. Content widgets
/// (or a layout) go straight onto the window; the panel always stays beneath them.
class FramelessWindow : public QWidget
{
    Q_OBJECT
public:
    explicit FramelessWindow(QWidget *parent = nullptr);

    RoundedRectView *backgroundView() const { return _bgView; }

    void setBackgroundColor(const QColor &color);
    void setBorderColor(const QColor &color);
    void setBorderWidth(qreal width);
    void setRadius(qreal radius);

protected:
    /// For windows with their own panel view: `view` replaces the plain `RoundedRectView`.
    FramelessWindow(RoundedRectView *view, QWidget *parent);

    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void _installBackgroundView(RoundedRectView *view);
    void _updateMask();

    RoundedRectView *_bgView = nullptr;
    bool _compositing = true;
};
