// SPDX-License-Identifier: MIT
#include "pane/BriskoPanePref.h"
#include "pane/keycombo/PaneBundle.h"
#include "platform/core/Translations.h"
#include "platform/prefpane/PreferencePane.h"

#include <QObject>
#include <QtPlugin>

namespace {

// Runs when the host loads the module, before any key combination is shown, so the pane's
// key names come from its own bundle rather than from the host's.
[[maybe_unused]] const bool bundleAdopted = [] {
    PaneBundle::adoptBundleOfThisModule();
    return true;
}();

} // namespace

/// The plug-in's entry: the host asks it for the pane's principal class.
class BriskoPanePlugin final : public QObject, public PreferencePaneFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID PreferencePaneFactory_iid)
    Q_INTERFACES(PreferencePaneFactory)

public:
    PreferencePane *createPrincipalClass(const QString &className, const Bundle &bundle) override
    {
        if (className != QLatin1String("BriskoPanePref"))
            return nullptr;
        // The pane's texts travel in its own bundle, whatever host loads it.
        Translations::install({QStringLiteral("BriskoShared"), QStringLiteral("BriskoPane")},
                              bundle.resourcePath());
        return new BriskoPanePref(bundle);
    }
};

#include "BriskoPaneModule.moc"
