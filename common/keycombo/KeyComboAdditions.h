// SPDX-License-Identifier: MIT
#pragma once

#include "common/keycombo/KeyCombo.h"

#include <QVariantMap>

#include <optional>

/// Key combinations kept in dictionaries in their stored form (archive data).
namespace KeyComboAdditions {

/// Nothing when the key is absent or its value is no key-combination archive. Pass the build:
/// `keyComboForKey<PaneKeyCombo>(dictionary, key)` in the pane.
template <typename Combo = KeyCombo>
std::optional<Combo> keyComboForKey(const QVariantMap &dictionary, const QString &key)
{
    const auto it = dictionary.constFind(key);
    if (it == dictionary.cend() || it->metaType().id() != QMetaType::QByteArray)
        return std::nullopt;
    return Combo::unarchive(it->toByteArray());
}

template <typename Build>
void setKeyCombo(QVariantMap &dictionary, const BasicKeyCombo<Build> &keyCombo, const QString &key)
{
    dictionary.insert(key, keyCombo.archivedData());
}

/// Storing no combination removes the key.
template <typename Build>
void setKeyCombo(QVariantMap &dictionary, const std::optional<BasicKeyCombo<Build>> &keyCombo,
                 const QString &key)
{
    if (keyCombo)
        dictionary.insert(key, keyCombo->archivedData());
    else
        dictionary.remove(key);
}

} // namespace KeyComboAdditions
