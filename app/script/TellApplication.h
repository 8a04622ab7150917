// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <optional>

/// Scripts addressed to other applications. On this desktop each application is driven by a
/// program: the preferences host `brisko-preferences` stands for "System Preferences", and
/// `xdg-open` with a "skype:" link for "Skype". Every value that goes into a script is
/// shell-quoted.
namespace TellApplication {

/// Scripts addressed to another application are given up after this many seconds.
inline constexpr int kTimeoutSeconds = 3;

/// The preferences host's program and the option that asks it to show a pane.
QString preferencesHostProgram();
QString showPaneOption();
/// The bundle identifier of the preference pane.
QString paneIdentifier();

/// The program that drives `application` here; empty when no program does.
QString commandForApplication(const QString &application);

/// Shell text that defines the shell function `application` as the program driving
/// `application`, then runs `script`. Empty when no program drives that application.
QString tellApplicationScript(const QString &application, const QString &script);

/// Runs tellApplicationScript() through the shared runner with the 3-second time-out and no
/// error dictionary. No result when no program drives that application or the run failed.
std::optional<QString> _tellApplication(const QString &application, const QString &script);

/// The body sent to "System Preferences" to bring the pane to the front. The application
/// itself starts the host directly (PreferencePaneOpener), so that it learns when the pane
/// is shown.
QString openPreferencePaneScript(const QString &identifier = paneIdentifier());

/// Shell text that asks Skype, detached, to call `number` ("xdg-open 'skype:NUMBER?call'").
QString skypeCallScript(const QString &number);
/// Runs skypeCallScript() through the shared runner; the result and any error are the
/// caller's to ignore.
std::optional<QString> dialWithSkype(const QString &number);

} // namespace TellApplication
