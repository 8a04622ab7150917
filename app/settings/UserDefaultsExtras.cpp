// SPDX-License-Identifier: MIT
#include "app/settings/UserDefaultsExtras.h"

#include "common/DictionaryAccess.h"
#include "platform/archive/ObjectArchive.h"

#include <QTimeZone>

#include <cmath>
#include <limits>

namespace UserDefaultsExtras {
namespace {

const QDateTime &referenceDate()
{
    static const QDateTime date(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    return date;
}

} // namespace

bool registerDefaultsWithResource(UserDefaults &defaults, const QString &name)
{
    const QVariantMap dictionary = DictionaryAccess::dictionaryWithContentsOfResource(name);
    if (dictionary.isEmpty())
        return false;
    defaults.registerDefaults(dictionary);
    return true;
}

QString stringForKey(const UserDefaults &defaults, const QString &key, const QString &defaultValue)
{
    // A stored value of another kind (an array, say) is no string either.
    const QString value = defaults.stringForKey(key);
    return value.isNull() ? defaultValue : value;
}

QColor colorForKey(const UserDefaults &defaults, const QString &key)
{
    return ObjectArchive::unarchiveColor(defaults.dataForKey(key));
}

void setColor(UserDefaults &defaults, const QColor &color, const QString &key)
{
    if (color.isValid())
        defaults.setObject(ObjectArchive::archivedColor(color), key);
    else
        defaults.removeObjectForKey(key);
}

std::optional<QFont> fontForKey(const UserDefaults &defaults, const QString &key)
{
    return ObjectArchive::unarchiveFont(defaults.dataForKey(key));
}

void setFont(UserDefaults &defaults, const QFont &font, const QString &key)
{
    defaults.setObject(ObjectArchive::archivedFont(font), key);
}

QPointF pointForKey(const UserDefaults &defaults, const QString &key)
{
    const QVariantList list = defaults.arrayForKey(key);
    if (list.size() < 2)
        return {};
    const auto element = [&](int index) { return static_cast<float>(list.at(index).toDouble()); };
    return {element(0), element(1)};
}

void setPoint(UserDefaults &defaults, const QPointF &point, const QString &key)
{
    defaults.setObject(QVariantList{static_cast<float>(point.x()), static_cast<float>(point.y())},
                       key);
}

QDateTime dateForKey(const UserDefaults &defaults, const QString &key)
{
    const qint64 seconds = defaults.integerForKey(key);
    if (seconds <= 0)
        return {};
    return referenceDate().addSecs(seconds);
}

void setDate(UserDefaults &defaults, const QDateTime &date, const QString &key)
{
    if (!date.isValid()) {
        defaults.setInteger(0, key);
        return;
    }
    // msecsTo truncates toward zero once divided, as the stored form requires.
    defaults.setInteger(referenceDate().msecsTo(date) / 1000, key);
}

qint64 incrementIntegerForKey(UserDefaults &defaults, const QString &key)
{
    const qint64 value = defaults.integerForKey(key);
    const qint64 next = value == std::numeric_limits<qint64>::max() ? value : value + 1;
    defaults.setInteger(next, key);
    defaults.synchronize();
    return next;
}

KeyCombo keyComboForKey(const UserDefaults &defaults, const QString &key)
{
    return KeyCombo::unarchive(defaults.dataForKey(key)).value_or(KeyCombo::clearKeyCombo());
}

void setKeyCombo(UserDefaults &defaults, const KeyCombo &keyCombo, const QString &key)
{
    defaults.setObject(keyCombo.archivedData(), key);
}

void setKeyCombo(UserDefaults &defaults, const std::optional<KeyCombo> &keyCombo,
                 const QString &key)
{
    if (keyCombo)
        setKeyCombo(defaults, *keyCombo, key);
    else
        defaults.removeObjectForKey(key);
}

} // namespace UserDefaultsExtras
