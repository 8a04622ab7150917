// SPDX-License-Identifier: MIT
#include "app/controller/UpdateCheck.h"

#include "app/chrome/RKWindow.h"
#include "app/controller/ControllerHost.h"
#include "app/update/VersionChecker.h"
#include "common/SettingsKeys.h"
#include "common/utility/AlertPanel.h"
#include "common/utility/RKWebsite.h"
#include "platform/settings/UserDefaults.h"

UpdateCheck::UpdateCheck(ControllerHost &host, const QString &hostname, const QString &appName,
                         std::uint32_t version, std::uint32_t intervalDays, QObject *parent)
    : QObject(parent)
    , _host(host)
    , _versionChecker(std::make_unique<VersionChecker>(hostname, appName, version, intervalDays))
    , _version(version)
{}

// A fetch still out when the check ends finishes on its own thread and is dropped: the checker
// hands nothing to a check that is gone.
UpdateCheck::~UpdateCheck() = default;

void UpdateCheck::checkAutomatically()
{
    // The factory settings are not registered yet at construction: only a stored choice counts.
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    if (!defaults.boolForKey(DefAutoVersionCheck) || !_versionChecker->needAutoVersionCheck())
        return;
    // Away from the main thread: a site that does not answer must hold neither the launch
    // nor the hot key. The alert comes from the event loop, never inside the construction of
    // the controller.
    _launchCheckPending = true;
    _versionChecker->fetchLatestVersionInBackground([this](std::uint32_t latest) {
        // An alert already open, the menu's check asked meanwhile, says as much.
        if (latest > _version && !_host.hasOpenAlert()) {
            _host.alertWillOpen();
            const bool visit = _runNewVersionAlert();
            if (visit)
                RKWebsite::visitPage(QStringLiteral("brisko"));
            _host.alertDidEnd();
        }
        _launchCheckPending = false;
        Q_EMIT launchCheckDidEnd();
    });
}

void UpdateCheck::runCheckAlert()
{
    bool visit = false;
    if (_versionChecker->latestVersion() == 0) {
        // Nothing is known of newer versions; calling this one the latest would mislead.
        visit = _runReportAlert(tr("Update Check Failed"),
                                tr("Brisko could not find out whether a newer version is "
                                   "available (%1). Please try again later.")
                                    .arg(_versionChecker->fetchError()));
    } else if (_versionChecker->hasNewer()) {
        visit = _runNewVersionAlert();
    } else {
        visit = _runReportAlert(tr("Latest Version"),
                                tr("You are currently running Brisko %1, the latest version "
                                   "available.")
                                    .arg(_versionChecker->currentVersionString()));
    }
    if (visit)
        RKWebsite::visitProductPage(RKWebsite::Brisko);
}

bool UpdateCheck::_runNewVersionAlert()
{
    return AlertPanel::run(tr("New Version Available!"),
                           tr("Brisko %1 is now available for download.")
                               .arg(_versionChecker->latestVersionString()),
                           tr("Visit Website"), tr("Later")) == RKWindow::AlertDefaultReturn;
}

bool UpdateCheck::_runReportAlert(const QString &title, const QString &message)
{
    // Only its button may open the site: Escape, and closing the alert as logging out or
    // "Shutdown" does, mean "OK".
    return AlertPanel::run(title, message, tr("OK"), tr("Visit Website"), QString(), nullptr,
                           AlertPanel::DefaultReturn) == AlertPanel::AlternateReturn;
}
