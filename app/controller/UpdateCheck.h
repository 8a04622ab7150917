// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

class ControllerHost;
class VersionChecker;

/// The update check and its alerts: the check at launch, in the background and only when the
/// user asked for automatic checks and one is due, and the alerts of the menu's "Check for
/// Updates".
class UpdateCheck final : public QObject
{
    Q_OBJECT

public:
    /// `version` is the running one, packed one hexadecimal digit per part; an automatic check
    /// is due every `intervalDays`.
    UpdateCheck(ControllerHost &host, const QString &hostname, const QString &appName,
                std::uint32_t version, std::uint32_t intervalDays, QObject *parent = nullptr);
    ~UpdateCheck() override;

    VersionChecker &versionChecker() const { return *_versionChecker; }

    /// The check at launch: when the user asked for automatic checks and one is due, the
    /// version is fetched in the background, and an alert offers the product's page if it is
    /// newer. launchCheckDidEnd() follows once that has been said.
    void checkAutomatically();
    bool isLaunchCheckPending() const { return _launchCheckPending; }

    /// The menu's check, with its alert open: asks the site, says whether a newer version
    /// exists (or that nothing could be found out) and visits the product's page when the user
    /// chooses to.
    void runCheckAlert();

Q_SIGNALS:
    void launchCheckDidEnd();

private:
    /// "New Version Available!"; true when the user chose to visit the web site.
    bool _runNewVersionAlert();
    /// An update check's "OK" alert; true when the user chose to visit the web site instead.
    bool _runReportAlert(const QString &title, const QString &message);

    ControllerHost &_host;
    std::unique_ptr<VersionChecker> _versionChecker;
    std::uint32_t _version;
    bool _launchCheckPending = false;
};
