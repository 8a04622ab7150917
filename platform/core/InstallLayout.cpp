// SPDX-License-Identifier: MIT
#include "platform/core/InstallLayout.h"

#include "platform/core/Bundle.h"

#include <QDir>
#include <QFileInfo>

namespace InstallLayout {

QString launcherForApplicationBundle(const Bundle &applicationBundle, const QString &name)
{
    // The real place counts: a link to the bundle (the build tree's Brisko.app) sits elsewhere.
    const QString bundle = QFileInfo(applicationBundle.bundlePath()).canonicalFilePath();
    if (bundle.isEmpty() || name.isEmpty() || name.contains(QLatin1Char('/')))
        return {};
    // Brisko.app → Resources → Contents → BriskoPane.prefPane → the folder holding the pane.
    const QString paneFolder = QDir::cleanPath(bundle + QLatin1String("/../../../.."));
    const QString folders[] = {paneFolder + QLatin1String("/../../bin"),
                               paneFolder + QLatin1String("/bin")};
    for (const QString &bin : folders) {
        const QFileInfo launcher(QDir::cleanPath(bin) + QLatin1Char('/') + name);
        if (launcher.isFile() && launcher.isExecutable())
            return launcher.filePath();
    }
    return {};
}

QString preferredCommand(const Bundle &applicationBundle, const QString &name,
                         const QString &executable)
{
    const QString launcher = launcherForApplicationBundle(applicationBundle, name);
    const QString target = QFileInfo(executable).canonicalFilePath();
    if (launcher.isEmpty() || target.isEmpty() || QFileInfo(launcher).canonicalFilePath() != target)
        return executable;
    return launcher;
}

} // namespace InstallLayout
