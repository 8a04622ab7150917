// SPDX-License-Identifier: MIT
#include "tools/defaults/FactoryDefaults.h"

#include "common/SettingsKeys.h"
#include "common/keycombo/KeyCombo.h"
#include "platform/archive/ObjectArchive.h"

#include <QColor>

namespace FactoryDefaults {

QVariantMap values()
{
    const auto color = [](const QColor &c) { return QVariant(ObjectArchive::archivedColor(c)); };
    // Control-Option-Space: reachable with one hand and taken by no common desktop shortcut.
    const KeyCombo hotKey(49, KeyCombo::controlKey | KeyCombo::optionKey);
    return {
        {DefHotKey, hotKey.archivedData()},
        {DefShowSplash, true},
        {DefHideAdvert, false},
        {DefAutoVersionCheck, true},
        {DefNextCheckVersionDay, qint64(0)},
        {DefVonageEnabled, false},
        {DefVonageName, QString()},
        {DefVonagePassword, QString()},
        {DefVonageNumbers, QVariantList()},
        {DefSelectedVonageNumber, QString()},
        // A deep slate header with white name and a pale blue company line; large type is
        // white on a translucent near-black, readable over any desktop.
        {DefCardHeaderBgColor, color(QColor::fromRgbF(0.184f, 0.267f, 0.380f, 1.0f))},
        {DefHeaderNameColor, color(QColor::fromRgbF(1.0f, 1.0f, 1.0f, 1.0f))},
        {DefHeaderCompanyColor, color(QColor::fromRgbF(0.776f, 0.839f, 0.914f, 1.0f))},
        {DefLargeTypeFgColor, color(QColor::fromRgbF(1.0f, 1.0f, 1.0f, 1.0f))},
        {DefLargeTypeBgColor, color(QColor::fromRgbF(0.0f, 0.0f, 0.0f, 0.8f))},
        {DefActivationCount, qint64(0)},
        {DefHasPromptedToShare, false},
        // Off, so that search finds exactly what was typed until the user asks for more.
        {DefIgnoreAccents, false},
        {DefMatchPhoneDigits, false},
        // On: the person the user reaches for comes first, and a name beats a note.
        {DefOrderByRelevance, true},
    };
}

} // namespace FactoryDefaults
