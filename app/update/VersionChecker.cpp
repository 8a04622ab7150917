// SPDX-License-Identifier: MIT
#include "app/update/VersionChecker.h"

#include "app/chrome/RKWindow.h"
#include "app/helpers/StringExtras.h"
#include "common/SettingsKeys.h"
#include "common/utility/AlertPanel.h"
#include "platform/net/UrlLoading.h"
#include "platform/settings/UserDefaults.h"
#include "platform/workspace/Workspace.h"

#include <QThread>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace {

QString &overriddenAddress()
{
    static QString address;
    return address;
}

} // namespace

VersionChecker::VersionChecker(const QString &hostname, const QString &appName,
                               const QString &appPath, std::uint32_t version,
                               std::uint32_t interval)
    : _hostname(hostname)
    , _appName(appName)
    , _appPath(appPath.isEmpty() ? appName.toLower() : appPath)
    , _version(version)
    , _autoCheckInterval(interval)
    , _timeoutSeconds(kFetchTimeoutSeconds)
{}

VersionChecker::VersionChecker(const QString &hostname, const QString &appName,
                               std::uint32_t version, std::uint32_t interval)
    : VersionChecker(hostname, appName, QString(), version, interval)
{}

bool VersionChecker::needAutoVersionCheck() const
{
    return needAutoVersionCheck(_today.isValid() ? _today : QDate::currentDate());
}

bool VersionChecker::needAutoVersionCheck(const QDate &today) const
{
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    const qint64 due = defaults.integerForKey(DefNextCheckVersionDay);
    const qint64 day = dayNumber(today);
    if (due > day)
        return false;
    defaults.setInteger(day + _autoCheckInterval, DefNextCheckVersionDay);
    defaults.synchronize();
    return due > 0;
}

std::uint32_t VersionChecker::latestVersion()
{
    if (_latestVersion == 0)
        _latestVersion = _fetchLatestVersion();
    return _latestVersion;
}

bool VersionChecker::hasNewer()
{
    return latestVersion() > _version;
}

QString VersionChecker::currentVersionString() const
{
    return StringExtras::stringFromHexVersion(_version);
}

QString VersionChecker::latestVersionString()
{
    return StringExtras::stringFromHexVersion(latestVersion());
}

void VersionChecker::runAlertHasNewer(bool hasNewer)
{
    if (hasNewer) {
        if (AlertPanel::run(
                tr("New Version Available!"),
                tr("%1 %2 is now available for download.").arg(_appName, latestVersionString()),
                tr("Visit Website"), tr("Later")) == RKWindow::AlertDefaultReturn)
            Workspace::shared().openUrl(QUrl(_pageAddress()));
        return;
    }
    if (AlertPanel::run(tr("Latest Version"),
                        tr("You are currently running %1 %2, the latest version available.")
                            .arg(_appName, currentVersionString()),
                        tr("Okay"), tr("Visit Website"), QString(), nullptr,
                        AlertPanel::DefaultReturn) == RKWindow::AlertAlternateReturn)
        Workspace::shared().openUrl(QUrl(_pageAddress()));
}

void VersionChecker::visitWebsite() const
{
    Workspace::shared().openUrl(QUrl(_pageAddress() + QLatin1Char('/')));
}

qint64 VersionChecker::dayNumber(const QDate &date)
{
    return date.toJulianDay() - QDate(1, 1, 1).toJulianDay() + 1;
}

QString VersionChecker::serviceAddress() const
{
    if (!overriddenAddress().isEmpty())
        return overriddenAddress();
    const QString fromEnvironment = qEnvironmentVariable("BRISKO_VERSION_CHECK_ADDRESS");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QLatin1String("http://") + _hostname;
}

void VersionChecker::setServiceAddress(const QString &address)
{
    overriddenAddress() = address;
}

void VersionChecker::fetchLatestVersionInBackground(std::function<void(std::uint32_t)> done)
{
    if (_latestVersion != 0) {
        QTimer::singleShot(0, this, [this, done] { done(_latestVersion); });
        return;
    }
    struct Outcome
    {
        std::optional<QByteArray> contents;
        QString error;
    };
    const auto outcome = std::make_shared<Outcome>();
    QThread *thread =
        QThread::create([outcome, url = _versionFileUrl(), timeout = _timeoutSeconds] {
            outcome->contents = UrlLoading::dataWithContentsOfURL(url, timeout, &outcome->error);
        });
    // Delivered on this object's thread, and never to a checker that is gone.
    connect(thread, &QThread::finished, this, [this, outcome, done] {
        const std::uint32_t version = _takeFetched(outcome->contents, outcome->error);
        if (version != 0)
            _latestVersion = version;
        done(version);
    });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

std::uint32_t VersionChecker::_fetchLatestVersion()
{
    QString error;
    const std::optional<QByteArray> contents =
        UrlLoading::dataWithContentsOfURL(_versionFileUrl(), _timeoutSeconds, &error);
    return _takeFetched(contents, error);
}

QUrl VersionChecker::_versionFileUrl() const
{
    return QUrl(serviceAddress() + QLatin1Char('/') + _appPath + QLatin1String("/version"));
}

std::uint32_t VersionChecker::_takeFetched(const std::optional<QByteArray> &contents,
                                           const QString &error)
{
    const std::uint32_t version = contents ? versionFromFile(*contents) : 0;
    _fetchError = contents ? QString() : error;
    if (contents && version == 0)
        _fetchError = QStringLiteral("the version file holds no version");
    return version;
}

QString VersionChecker::_pageAddress() const
{
    return QLatin1String("http://") + _hostname + QLatin1Char('/') + _appPath;
}
