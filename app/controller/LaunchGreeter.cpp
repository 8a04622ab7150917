// SPDX-License-Identifier: MIT
#include "app/controller/LaunchGreeter.h"

#include "app/chrome/RKWindow.h"
#include "app/chrome/SplashWindow.h"
#include "app/controller/ControllerHost.h"
#include "app/controller/UpdateCheck.h"
#include "app/hotkey/HotKeyNotices.h"
#include "common/SettingsKeys.h"
#include "common/utility/AlertPanel.h"
#include "common/utility/RKWebsite.h"
#include "platform/settings/UserDefaults.h"
#include "platform/workspace/Workspace.h"

namespace {

UserDefaults &defaults()
{
    return UserDefaults::standardUserDefaults();
}

} // namespace

LaunchGreeter::LaunchGreeter(ControllerHost &host, const UpdateCheck &updateCheck, QObject *parent)
    : QObject(parent)
    , _host(host)
    , _updateCheck(updateCheck)
    , _splashWindow(std::make_unique<SplashWindow>())
{}

LaunchGreeter::~LaunchGreeter() = default;

LaunchGreeter::Greeting LaunchGreeter::launchGreeting(qint64 activationCount,
                                                      bool hasPromptedToShare, bool showSplash)
{
    if (activationCount > 100 && !hasPromptedToShare)
        return Greeting::SharePrompt;
    if (showSplash)
        return Greeting::Splash;
    return Greeting::Nothing;
}

void LaunchGreeter::launchDidFinish()
{
    _greetingDue = true;
    greetWhenDue();
}

void LaunchGreeter::greetWhenDue()
{
    if (!_greetingDue || _updateCheck.isLaunchCheckPending() || _host.hasOpenAlert())
        return;
    _greetingDue = false;
    switch (launchGreeting(defaults().integerForKey(DefActivationCount),
                           defaults().boolForKey(DefHasPromptedToShare),
                           defaults().boolForKey(DefShowSplash))) {
    case Greeting::SharePrompt:
        runShareOrReviewPrompt();
        defaults().setBool(true, DefHasPromptedToShare);
        defaults().synchronize();
        break;
    case Greeting::Splash:
        _showSplashScreen();
        break;
    case Greeting::Nothing:
        break;
    }
}

void LaunchGreeter::runShareOrReviewPrompt()
{
    runShareOrReviewPanelWithTitle(
        tr("Thank you for choosing Brisko"),
        tr("As an independent developer, our single greatest challenge is getting the word "
           "out.  Please consider taking a minute to share Brisko on your Facebook or post a "
           "review. Thank you!"));
}

void LaunchGreeter::runShareOrReviewPanelWithTitle(const QString &title, const QString &message)
{
    // While the panel is up the hot key only brings the application forward.
    _host.alertWillOpen();
    const int choice =
        AlertPanel::run(title, message, tr("Share on Facebook"), tr("Close"), tr("Post Review"));
    _host.alertDidEnd();

    if (choice == RKWindow::AlertDefaultReturn)
        Workspace::shared().openUrl(shareUrl());
    else if (choice == RKWindow::AlertOtherReturn)
        RKWebsite::visitPage(QStringLiteral("brisko/vt/"));
    _host.activateApplication();
}

QUrl LaunchGreeter::shareUrl()
{
    return RKWebsite::shareUrl();
}

void LaunchGreeter::_showSplashScreen()
{
    const std::optional<HotKeyFailure> failure = _host.activationHotKeyFailure();
    _splashWindow->showSplash(_host.activationHotKey().description(),
                              failure ? HotKeyNotices::splashNote(*failure) : QString());
}
