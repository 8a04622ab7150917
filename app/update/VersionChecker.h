// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QDate>
#include <QString>

#include <cstdint>

/// Finds out whether the maker has published a newer version: the web site holds, per
/// product, a file "version" with the latest packed version (0x403 is 4.0.3) as hexadecimal
/// digits. Also decides, with a day number kept in the settings, when an automatic check is
/// due.
class VersionChecker final
{
    Q_DECLARE_TR_FUNCTIONS(VersionChecker)

public:
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

    /// The published version, fetched on first use and kept; 0 while it cannot be had (the
    /// next call then asks again).
    std::uint32_t latestVersion();
    void clearCache() { _latestVersion = 0; }
    bool hasNewer();

    QString currentVersionString() const;
    QString latestVersionString();

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
    std::uint32_t _fetchLatestVersion() const;
    QString _pageAddress() const;

    QString _hostname;
    QString _appName;
    QString _appPath;
    std::uint32_t _version = 0;
    std::uint32_t _latestVersion = 0;
    std::uint32_t _autoCheckInterval = 0;
};
