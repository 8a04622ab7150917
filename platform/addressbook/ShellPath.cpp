// SPDX-License-Identifier: MIT
#include "platform/addressbook/ShellPath.h"

#include <QDir>

namespace ShellPath {

QString expanded(QString path)
{
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path.replace(0, 1, QDir::homePath());
    QString result;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (path[i] != QLatin1Char('$') || i + 1 == path.size()) {
            result.append(path[i]);
            continue;
        }
        qsizetype start = i + 1;
        const bool braced = path[start] == QLatin1Char('{');
        if (braced)
            ++start;
        qsizetype end = start;
        while (end < path.size() && (path[end].isLetterOrNumber() || path[end] == QLatin1Char('_')))
            ++end;
        if (end == start || (braced && (end >= path.size() || path[end] != QLatin1Char('}')))) {
            result.append(path[i]);
            continue;
        }
        result.append(qEnvironmentVariable(path.mid(start, end - start).toLocal8Bit().constData()));
        i = braced ? end : end - 1;
    }
    return result;
}

} // namespace ShellPath
