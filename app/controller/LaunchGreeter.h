// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

class ControllerHost;
class SplashWindow;
class UpdateCheck;

/// What greets the user once the launch has finished: the share prompt for an established user
/// who was never asked, else the splash with the activation hot key when the settings want it.
/// The greeting waits for the launch's update check and for any open alert, so that it never
/// comes up over one.
class LaunchGreeter final : public QObject
{
    Q_OBJECT

public:
    /// What greets the user at launch (never both).
    enum class Greeting
    {
        Nothing,
        SharePrompt,
        Splash,
    };

    LaunchGreeter(ControllerHost &host, const UpdateCheck &updateCheck, QObject *parent = nullptr);
    ~LaunchGreeter() override;

    static Greeting launchGreeting(qint64 activationCount, bool hasPromptedToShare,
                                   bool showSplash);

    SplashWindow *splashWindow() const { return _splashWindow.get(); }

    /// The launch has finished: the greeting is due, and comes at once unless something holds
    /// it.
    void launchDidFinish();
    /// The share prompt or the splash, once launched, with the launch check done and no alert
    /// open.
    void greetWhenDue();

    /// Asks an established user, once, to share the product or review it.
    void runShareOrReviewPrompt();
    void runShareOrReviewPanelWithTitle(const QString &title, const QString &message);
    /// The social network's share page for the product's home page.
    static QUrl shareUrl();

private:
    void _showSplashScreen();

    ControllerHost &_host;
    const UpdateCheck &_updateCheck;
    std::unique_ptr<SplashWindow> _splashWindow;
    bool _greetingDue = false;
};
