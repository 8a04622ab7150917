// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <cstdint>

/// System services shared by the application and the preference pane. Class operations only.
///
/// Login items are XDG autostart entries, `$XDG_CONFIG_HOME/autostart/<Name>.desktop`, where
/// Name is the bundle name without its extension. Each entry starts the bundle's executable
/// and records the bundle path, so the check by last path component sees what was added.
class RKUtility final
{
public:
    RKUtility() = delete;

    /// Adds (or replaces) the login item for a bundle or an executable. `hide` is kept in the
    /// entry for the started program to honour. False when the entry cannot be written.
    static bool addAutoLaunchPath(const QString &path, bool hide);
    /// Removes the login item called `name`; "Brisko.app" and "Brisko" name the same item.
    static void removeAutoLaunchAppNamed(const QString &name);
    /// True when an enabled login item's path ends in the path component `fileName`.
    static bool appAutoLaunches(const QString &fileName);

    /// The background-only flag ("LSUIElement") of the running bundle's Info.plist.
    static bool isHeadless();
    /// Writes the flag; false (and nothing written) when the Info.plist cannot be read.
    static bool setHeadless(bool headless);

    /// Starts a new instance of the running executable and quits once that start succeeded;
    /// the session's instance name is handed to the new one. False, and nothing quits, when
    /// the new instance could not be started.
    static bool restartApplication();

    /// Resident memory of this process in kilobytes, as `ps` prints it; 0 on any failure.
    static int residentSetSize();

    /// The system version code in binary-coded decimal, taken from the kernel release:
    /// 0xMMmb for release MM.m.b (major up to 99, minor and bugfix up to 9 each, larger parts
    /// clamp). Asked again on each call until an answer other than 0 was found.
    static std::uint32_t systemVersion();
    static bool isPanther();
    static bool isJaguar();

    /// Runs `tool` with `arguments` and returns all it wrote to standard output. Standard input
    /// is an empty pipe. `status` receives the exit status, or -1 when the tool did not start
    /// or crashed.
    static QByteArray _runCommand(const QString &tool, const QStringList &arguments,
                                  const QString &currentDirectoryPath = {}, int *status = nullptr);

    /// The enabled login items: one map per entry with "Path" (the recorded bundle path, else
    /// the started program), "Name" and "Hide".
    static QVariantList _getAutoLaunchedApplications();

    /// The digits of ps output as one number; 0 when there are none or they overflow.
    static int _residentSetSizeFromOutput(const QByteArray &output);
    /// Packs a kernel release such as "6.1.0-18-amd64" as described at systemVersion().
    static std::uint32_t _systemVersionFromRelease(const QString &release);
    static bool _isPantherVersion(std::uint32_t version);
    static bool _isJaguarVersion(std::uint32_t version);
    /// The folder that holds the user's autostart entries.
    static QString _autostartDirectory();
};

/// The same answer as RKUtility::systemVersion().
std::uint32_t GetSystemVersion();
