// SPDX-License-Identifier: MIT
#include "pane/keycombo/PaneBundle.h"

#include "common/keycombo/KeyCombo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace PaneBundle {

QString bundlePathForModule(const QString &modulePath)
{
    // Only names are compared: the path need not exist, and QDir::cdUp would insist it did.
    const QString linuxDir = QFileInfo(QDir::cleanPath(modulePath)).path();
    const QString contentsDir = QFileInfo(linuxDir).path();
    const QString bundleDir = QFileInfo(contentsDir).path();
    if (QFileInfo(linuxDir).fileName() != QLatin1String("Linux") ||
        QFileInfo(contentsDir).fileName() != QLatin1String("Contents") ||
        !bundleDir.endsWith(QLatin1String(".prefPane")))
        return {};
    return QFileInfo(bundleDir).absoluteFilePath();
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
