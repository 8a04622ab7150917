// SPDX-License-Identifier: MIT
#include "pane/store/BriskoDefaults.h"

#include "common/DictionaryAccess.h"
#include "common/SettingsKeys.h"
#include "common/keycombo/StoredKeyCombo.h"
#include "common/utility/RKUtility.h"
#include "pane/BriskoPanePref.h"
#include "platform/archive/ObjectArchive.h"
#include "platform/notifications/ControlCommands.h"
#include "platform/notifications/DistributedNotificationCenter.h"
#include "platform/settings/LooseValue.h"
#include "platform/settings/UserDefaults.h"

#include <QColor>
#include <QFileInfo>

namespace {

const QString kColor = QStringLiteral("Color");

QVariantMap &factoryDefaultsCache()
{
    static QVariantMap cache;
    return cache;
}

} // namespace

BriskoDefaults::BriskoDefaults(BriskoPanePref *prefController, QObject *parent)
    : QObject(parent)
    , _prefController(prefController)
{}

QString BriskoDefaults::applicationPath() const
{
    if (!_prefController)
        return {};
    return _prefController->bundle().pathForResource(QStringLiteral("Brisko"),
                                                     QStringLiteral("app"));
}

QVariantMap BriskoDefaults::factoryDefaults() const
{
    QVariantMap &cache = factoryDefaultsCache();
    if (cache.isEmpty()) {
        const QString application = applicationPath();
        if (!application.isEmpty())
            cache = DictionaryAccess::dictionaryWithContentsOfResource(
                QStringLiteral("FactoryDefaults"), Bundle(application));
    }
    return cache;
}

QVariantMap BriskoDefaults::dictionary() const
{
    QVariantMap merged = factoryDefaults();
    UserDefaults::appSynchronize(BriskoDomain);
    const QVariantMap stored = UserDefaults::persistentDomainForName(BriskoDomain);
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        merged.insert(it.key(), it.value());
    return merged;
}

bool BriskoDefaults::isColorKey(const QString &key)
{
    const qsizetype at = key.indexOf(kColor);
    return at >= 0 && at == key.size() - kColor.size();
}

QVariant BriskoDefaults::valueForKey(const QString &key) const
{
    if (key == DefAutoLaunch)
        return autoLaunch();
    return valueForUndefinedKey(key);
}

bool BriskoDefaults::setValueForKey(const QVariant &value, const QString &key)
{
    if (key == DefAutoLaunch) {
        setAutoLaunch(LooseValue::boolValue(value));
        return true;
    }
    return setValueForUndefinedKey(value, key);
}

QVariant BriskoDefaults::valueForUndefinedKey(const QString &key) const
{
    const QVariantMap merged = dictionary();
    if (isColorKey(key)) {
        const QColor color = DictionaryAccess::colorForKey(merged, key);
        return color.isValid() ? QVariant(color) : QVariant();
    }
    return merged.value(key);
}

bool BriskoDefaults::setValueForUndefinedKey(const QVariant &value, const QString &key)
{
    QVariant stored = value;
    if (value.metaType().id() == QMetaType::QColor)
        stored = ObjectArchive::archivedColor(value.value<QColor>());
    if (!UserDefaults::setAppValue(key, stored, BriskoDomain))
        return false;
    // The application hears "Refresh" only for what it can already read from the file.
    if (!UserDefaults::appSynchronize(BriskoDomain)) {
        // Kept, the value would read as if stored, and reach the file with a later write.
        UserDefaults::discardAppChange(key, BriskoDomain);
        return false;
    }
    DistributedNotificationCenter::defaultCenter().postNotification(
        ControlCommands::NotificationName, ControlCommands::Refresh);
    return true;
}

bool BriskoDefaults::boolForKey(const QString &key) const
{
    return LooseValue::boolValue(valueForKey(key));
}

bool BriskoDefaults::setBool(bool value, const QString &key)
{
    return setValueForKey(value, key);
}

PaneKeyCombo BriskoDefaults::keyComboForKey(const QString &key) const
{
    // The application registers what this rule gives, so the pane shows that key.
    return StoredKeyCombo::inUse<PaneKeyCombo>(valueForKey(key), factoryDefaults().value(key));
}

bool BriskoDefaults::setKeyCombo(const PaneKeyCombo &keyCombo, const QString &key)
{
    return setValueForKey(keyCombo.archivedData(), key);
}

bool BriskoDefaults::autoLaunch() const
{
    return RKUtility::appAutoLaunches(QStringLiteral("Brisko.app"));
}

void BriskoDefaults::setAutoLaunch(bool autoLaunch)
{
    const QString application = applicationPath();
    if (application.isEmpty()) {
        if (_prefController)
            _prefController->runPromptSheetWithTitle(
                tr("Cannot Find Brisko"),
                tr("Unable to find the background application. Please re-install Brisko."),
                tr("Okay"), QString(), QString());
        return;
    }
    if (autoLaunch)
        RKUtility::addAutoLaunchPath(application, false);
    else
        RKUtility::removeAutoLaunchAppNamed(QFileInfo(application).fileName());
}
