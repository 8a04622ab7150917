// SPDX-License-Identifier: MIT
#include "tests/support/TemporaryHome.h"

#include <QDir>
#include <QFile>

namespace {
const char *const kVariables[] = {"HOME",           "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                  "XDG_CACHE_HOME", "XDG_STATE_HOME",  "XDG_RUNTIME_DIR"};
}

TemporaryHome::TemporaryHome()
{
    for (const char *name : kVariables)
        _saved[name] = qgetenv(name);
    const QString home = _dir.path();
    QDir(home).mkpath(QStringLiteral(".config"));
    QDir(home).mkpath(QStringLiteral(".local/share"));
    QDir(home).mkpath(QStringLiteral(".cache"));
    QDir(home).mkpath(QStringLiteral(".local/state"));
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", configHome().toUtf8());
    qputenv("XDG_DATA_HOME", dataHome().toUtf8());
    qputenv("XDG_CACHE_HOME", (home + QLatin1String("/.cache")).toUtf8());
    qputenv("XDG_STATE_HOME", (home + QLatin1String("/.local/state")).toUtf8());
    // The runtime folder must be the user's alone, or Qt refuses it.
    QDir(home).mkpath(QStringLiteral(".run"));
    QFile::setPermissions(runtimeDir(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtimeDir().toUtf8());
}

TemporaryHome::~TemporaryHome()
{
    for (const auto &[name, value] : _saved) {
        if (value.isNull())
            qunsetenv(name.constData());
        else
            qputenv(name.constData(), value);
    }
}
