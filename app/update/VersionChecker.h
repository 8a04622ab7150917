// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <QUrl>

#include <cstdint>
#include <functional>
#include <optional>

/// Finds out whether the maker has published a newer version: the web site holds, per
/// product, a file "version" with the latest packed version (0x403 is 4.0.3) as hexadecimal
/// digits. Also decides, with a day number kept in the settings, when an automatic check is
/// due.
class VersionChecker final : public QObject
{
    Q_OBJECT

public:
    /// The check may run while the user waits; a site that does not answer must not hold the
    /// application for long.
    static constexpr int kFetchTimeoutSeconds = 10;

    /// `appPath` is the product's directory on the site; the lower-cased `appName` when empty.
    VersionChecker(const QString &hostname, const QString &appName, const QString &appPath,
                   std::uint32_t version, std::uint32_t interval);
    VersionChecker(const QString &hostname, const QString &appName, std::uint32_t version,
                   std::uint32_t interval);

    /// True when an automatic check is due today. Each due day schedules the next one an
    /// interval later; the very first call only schedules.
    bool needAutoVersionCheck() const;
    /// The same decision for the day `today`.
    bool needAutoVersionCheck(const QDate &today) const;
    /// The day needAutoVersionCheck() takes as today; an invalid date means the clock's.
    /// Tests pin it so that they cannot run across midnight.
    void setToday(const QDate &today) { _today = today; }

    /// The published version, fetched on first use and kept; 0 while it cannot be had (the
    /// next call then asks again, and fetchError() says why).
    std::uint32_t latestVersion();
    void clearCache() { _latestVersion = 0; }
    /// Why the last fetch found no version; empty after one that did.
    QString fetchError() const { return _fetchError; }
    /// How long a fetch waits for the site.
    void setTimeout(int seconds) { _timeoutSeconds = seconds; }
    bool hasNewer();
    /// Fetches the published version on a thread of its own, so a site that does not answer
    /// holds nobody, and hands it to `done` (0 when it cannot be had) on this object's thread
    /// once the fetch has ended; a known version is handed over at once, from the event loop.
    /// `done` is dropped when the checker is gone by then.
    void fetchLatestVersionInBackground(std::function<void(std::uint32_t)> done);

    QString currentVersionString() const;
    QString latestVersionString();

    /// Scheme and host the version file comes from: "http://" and the checker's host, unless
    /// BRISKO_VERSION_CHECK_ADDRESS in the environment, or setServiceAddress(), points it
    /// elsewhere (a loopback server in tests).
    QString serviceAddress() const;
    /// An empty address restores the checker's own host.
    static void setServiceAddress(const QString &address);

    /// A ready-made alert telling whether a newer version exists, with a way to the web site.
    void runAlertHasNewer(bool hasNewer);
    void visitWebsite() const;

    /// "4.0.3" → 0x403, "4.1" → 0x410, "4" → 0x400; 0 when a part is no hexadecimal number.
    static std::uint32_t parseVersionString(const QString &string);
    /// Days of the common era: 1 January of year 1 is day 1.
    static qint64 dayNumber(const QDate &date);
    /// The packed version at the start of a version file; 0 when it starts otherwise.
    static std::uint32_t versionFromFile(const QByteArray &contents);

private:
    std::uint32_t _fetchLatestVersion();
    QUrl _versionFileUrl() const;
    /// The version in a fetched file, noting why there is none.
    std::uint32_t _takeFetched(const std::optional<QByteArray> &contents, const QString &error);
    QString _pageAddress() const;

    QString _hostname;
    QString _appName;
    QString _appPath;
    std::uint32_t _version = 0;
    std::uint32_t _latestVersion = 0;
    std::uint32_t _autoCheckInterval = 0;
    int _timeoutSeconds = 0;
    QString _fetchError;
    QDate _today;
};
