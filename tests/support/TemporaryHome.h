// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <map>

/// Points HOME and the XDG folders at a fresh temporary directory for the lifetime of the
/// object, so no test ever touches the user's own files; restores them afterwards.
class TemporaryHome final
{
public:
    TemporaryHome();
    ~TemporaryHome();
    TemporaryHome(const TemporaryHome &) = delete;
    TemporaryHome &operator=(const TemporaryHome &) = delete;

    QString path() const { return _dir.path(); }
    QString configHome() const { return _dir.path() + QLatin1String("/.config"); }
    QString dataHome() const { return _dir.path() + QLatin1String("/.local/share"); }
    QString runtimeDir() const { return _dir.path() + QLatin1String("/.run"); }

private:
    QTemporaryDir _dir;
    std::map<QByteArray, QByteArray> _saved;
};
