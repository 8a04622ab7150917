// SPDX-License-Identifier: MIT
#pragma once

#include "chrome/FramelessWindow.h"

#include <QTimer>

class SplashView;

/// The launch greeting: the activation hot key in large friendly text on a transparent window,
/// faded in centred on the screen and faded out again after a few seconds.
class SplashWindow final : public FramelessWindow
{
    Q_OBJECT
public:
    /// Seconds the splash stays before it fades out.
    static constexpr double DisplayDuration = 4.0;

    explicit SplashWindow(QWidget *parent = nullptr);

    QString text() const;
    /// Sets the text and sizes the window around it.
    void setText(const QString &text);

    /// Shows "Activation hot key: <description>", fades in centred and schedules the fade-out.
    void showSplash(const QString &hotKeyDescription);

    /// The pending fade-out, exposed so it can be inspected and fired in tests.
    QTimer &fadeOutTimer() { return _fadeOutTimer; }

private:
    SplashView *_splashView;
    QTimer _fadeOutTimer;
};
