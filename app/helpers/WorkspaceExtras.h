// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// Opening files, web addresses and mail addresses through the shared workspace.
namespace WorkspaceExtras {

/// Opens `path` with the application called `application`: a `.desktop` application id or
/// an executable on PATH first, then a bundle `<application>.app` in ~/Applications and in
/// /Applications. False when the file is missing or no such application is found.
bool rkOpenFile(const QString &path, const QString &application);

/// Opens the text as a URL; a text without a scheme ("example.com", "example.com:8080/x")
/// is opened as "http://" + text. False for an empty or unusable text.
bool openURLString(const QString &string);

/// Opens "mailto:" + the address in the mail program. The address is one path; a "?" in it
/// cannot add headers or a body.
bool openEmailAddress(const QString &address);

/// Whether the text starts with a URL scheme ("mailto:", "https:"); a host with a port
/// ("example.com:8080") does not.
bool hasScheme(const QString &text);

/// True for an application bundle with a runnable executable, or a runnable program file.
bool _isApplicationAtPath(const QString &path);

/// `directory`/`name`.app (a leading "~" expanded) when that is an application; else empty.
QString _isApplicationInDirectory(const QString &name, const QString &directory);

} // namespace WorkspaceExtras
