// SPDX-License-Identifier: MIT
#include "platform/core/Bundle.h"

#include "platform/core/PropertyList.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString &mainBundleOverride()
{
    static QString path;
    return path;
}

QString bundleOfExecutable()
{
    const QFileInfo executable(QStringLiteral("/proc/self/exe"));
    const QDir linuxDir = QFileInfo(executable.symLinkTarget()).absoluteDir();
    QDir contents = linuxDir;
    if (linuxDir.dirName() != QLatin1String("Linux") || !contents.cdUp() ||
        contents.dirName() != QLatin1String("Contents"))
        return {};
    return QFileInfo(contents.absolutePath()).absolutePath();
}

} // namespace

Bundle::Bundle(QString path)
    : _path(path.isEmpty() ? QString() : QDir::cleanPath(QDir(path).absolutePath()))
{}

Bundle Bundle::mainBundle()
{
    if (!mainBundleOverride().isEmpty())
        return Bundle(mainBundleOverride());
    const QString fromEnvironment = qEnvironmentVariable("BRISKO_MAIN_BUNDLE");
    if (!fromEnvironment.isEmpty())
        return Bundle(fromEnvironment);
    return Bundle(bundleOfExecutable());
}

void Bundle::setMainBundlePath(const QString &path)
{
    mainBundleOverride() = path;
}

bool Bundle::isValid() const
{
    return !_path.isEmpty() && QFileInfo(_path + QLatin1String("/Contents/Info.plist")).isFile();
}

QString Bundle::resourcePath() const
{
    return _path.isEmpty() ? QString() : _path + QLatin1String("/Contents/Resources");
}

QString Bundle::executablePath() const
{
    const QString name = infoDictionary().value(QStringLiteral("CFBundleExecutable")).toString();
    if (name.isEmpty())
        return {};
    return _path + QLatin1String("/Contents/Linux/") + name;
}

QString Bundle::pathForResource(const QString &name, const QString &type) const
{
    if (_path.isEmpty() || name.isEmpty())
        return {};
    QString file = resourcePath() + QLatin1Char('/') + name;
    if (!type.isEmpty())
        file += QLatin1Char('.') + type;
    return QFileInfo::exists(file) ? file : QString();
}

QVariantMap Bundle::infoDictionary() const
{
    if (_path.isEmpty())
        return {};
    return PropertyList::readFile(_path + QLatin1String("/Contents/Info.plist")).toMap();
}

QString Bundle::bundleIdentifier() const
{
    return infoDictionary().value(QStringLiteral("CFBundleIdentifier")).toString();
}
