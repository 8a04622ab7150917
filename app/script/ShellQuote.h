// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

/// Quoting values for POSIX shell text.
namespace ShellQuote {

/// The value as one shell word that the shell takes literally: single quotes around it, each
/// single quote inside written as '\''. NUL characters, which no shell word can hold, are
/// dropped.
QString quoted(const QString &value);

/// The words quoted and joined by blanks: one command line.
QString commandLine(const QStringList &words);

} // namespace ShellQuote
