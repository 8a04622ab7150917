// SPDX-License-Identifier: MIT
#pragma once

#include "app/chrome/FramelessWindow.h"

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
    /// A smaller line under the text (what keeps the hot key from working); empty for none.
    QString note() const;
    void setNote(const QString &note);

    /// Shows "Activation hot key: <description>" with `note` under it, fades in centred and
    /// schedules the fade-out.
    void showSplash(const QString &hotKeyDescription, const QString &note = QString());

    /// The pending fade-out, exposed so it can be inspected and fired in tests.
    QTimer &fadeOutTimer() { return _fadeOutTimer; }

private:
    void _fitText();

    SplashView *_splashView;
    QTimer _fadeOutTimer;
};
