// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <QTextStream>
#include <QVariant>

/// brisko-defaults: reads and writes settings domains from the shell, through the same store
/// and locking as the programs. Exit codes: 0 done, 1 nothing there, a file that cannot be
/// read (said why, left as it is) or the store failed,
/// 2 bad arguments (usage printed, nothing written).
namespace DefaultsTool {

/// `arguments` without the program name.
int run(const QStringList &arguments, QTextStream &out, QTextStream &err);

/// Readable form of a value: strings and numbers plainly, booleans 1/0, data as hex in angle
/// brackets, arrays and dictionaries nested with their elements indented.
QString describe(const QVariant &value);

} // namespace DefaultsTool
