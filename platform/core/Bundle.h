// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariantMap>

/// A bundle is a directory `X.app` or `X.prefPane` with `Contents/Info.plist`,
/// `Contents/Linux/<executable>` and `Contents/Resources/`.
class Bundle final
{
public:
    explicit Bundle(QString path = {});

    /// The bundle that holds the running executable. Programs that do not live inside a
    /// bundle (tests, command-line tools) name one with setMainBundlePath() or with the
    /// environment variable BRISKO_MAIN_BUNDLE.
    static Bundle mainBundle();
    static void setMainBundlePath(const QString &path);

    bool isValid() const;
    QString bundlePath() const { return _path; }
    QString resourcePath() const;
    QString executablePath() const;

    /// Path of resource `name.type` in the bundle's resources, or an empty string.
    QString pathForResource(const QString &name, const QString &type) const;

    QVariantMap infoDictionary() const;
    QString bundleIdentifier() const;

private:
    QString _path;
};
