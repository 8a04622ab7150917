// SPDX-License-Identifier: MIT
#include "host/PaneLoader.h"

#include "platform/prefpane/PreferencePane.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

namespace {

const QString kPaneExtension = QStringLiteral(".prefPane");

QStringList panesIn(const QString &folder)
{
    QStringList panes;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QLatin1Char('*') + kPaneExtension},
                                             QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        panes.append(dir.absoluteFilePath(name));
    return panes;
}

} // namespace

PaneLoader::PaneLoader() = default;

PaneLoader::~PaneLoader()
{
    // The panes' code lives in their plug-ins, which are never unloaded, so deleting the
    // panes here is safe; the loaders themselves only forget the plug-ins.
    for (auto &[path, loaded] : _loaded) {
        delete loaded.pane;
        delete loaded.loader;
    }
}

QStringList PaneLoader::paneFolders()
{
    QStringList folders;
    for (const QString &folder :
         qEnvironmentVariable("BRISKO_PREFPANE_PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        folders.append(folder);
    const QString programDir = QCoreApplication::applicationDirPath();
    if (!programDir.isEmpty()) {
        folders.append(QDir::cleanPath(programDir + QLatin1String("/../lib/brisko")));
        folders.append(QDir::cleanPath(programDir + QLatin1String("/..")));
    }
    return folders;
}

Bundle PaneLoader::findPane(const QString &identifier, const QStringList &folders)
{
    if (identifier.contains(QLatin1Char('/'))) {
        const Bundle bundle(identifier);
        return bundle.isValid() ? bundle : Bundle();
    }
    for (const QString &folder : folders) {
        for (const QString &path : panesIn(folder)) {
            const Bundle bundle(path);
            if (bundle.isValid() &&
                (identifier.isEmpty() || bundle.bundleIdentifier() == identifier))
                return bundle;
        }
    }
    return Bundle();
}

PreferencePane *PaneLoader::paneForBundle(const Bundle &bundle, QString *error)
{
    const auto known = _loaded.find(bundle.bundlePath());
    if (known != _loaded.end())
        return known->second.pane;

    const QString executable = bundle.executablePath();
    if (executable.isEmpty() || !QFileInfo(executable).isFile()) {
        *error =
            QCoreApplication::translate("PaneLoader", "%1 has no plug-in at %2.")
                .arg(bundle.bundlePath(), executable.isEmpty() ? QStringLiteral("?") : executable);
        return nullptr;
    }
    auto *loader = new QPluginLoader(executable);
    QObject *root = loader->instance();
    auto *factory = qobject_cast<PreferencePaneFactory *>(root);
    if (!factory) {
        *error = root ? QCoreApplication::translate("PaneLoader", "%1 is not a preference pane.")
                            .arg(executable)
                      : loader->errorString();
        delete loader;
        return nullptr;
    }
    const QString className =
        bundle.infoDictionary().value(QStringLiteral("NSPrincipalClass")).toString();
    PreferencePane *pane = factory->createPrincipalClass(className, bundle);
    if (!pane) {
        *error = QCoreApplication::translate("PaneLoader", "%1 has no principal class \"%2\".")
                     .arg(executable, className);
        delete loader;
        return nullptr;
    }
    _loaded[bundle.bundlePath()] = {loader, pane};
    return pane;
}

QString PaneLoader::titleForBundle(const Bundle &bundle)
{
    const QVariantMap info = bundle.infoDictionary();
    const QString label = info.value(QStringLiteral("NSPrefPaneIconLabel")).toString();
    return label.isEmpty() ? info.value(QStringLiteral("CFBundleName")).toString() : label;
}
