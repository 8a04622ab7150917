// SPDX-License-Identifier: MIT
#include "PaneBundle.h"

#include "keycombo/KeyCombo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace PaneBundle {

QString bundlePathForModule(const QString &modulePath)
{
    const QFileInfo module(modulePath);
    QDir linuxDir = module.absoluteDir();
    if (linuxDir.dirName() != QLatin1String("Linux") || !linuxDir.cdUp() ||
        linuxDir.dirName() != QLatin1String("Contents") || !linuxDir.cdUp() ||
        !linuxDir.dirName().endsWith(QLatin1String(".prefPane")))
        return {};
    return linuxDir.absolutePath();
}

Bundle bundleOfThisModule()
{
    Dl_info info{};
    // Any function of this module will do: dladdr names the file that holds it.
    if (dladdr(reinterpret_cast<void *>(&bundleOfThisModule), &info) == 0 || !info.dli_fname)
        return Bundle();
    const QString path = bundlePathForModule(QFile::decodeName(info.dli_fname));
    return path.isEmpty() ? Bundle() : Bundle(path);
}

void adoptBundleOfThisModule()
{
    const Bundle bundle = bundleOfThisModule();
    if (bundle.isValid())
        PaneKeyComboBuild::setBundle(bundle);
}

} // namespace PaneBundle
