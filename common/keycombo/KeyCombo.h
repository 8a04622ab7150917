// SPDX-License-Identifier: MIT
#pragma once

#include "platform/core/Bundle.h"

#include <QByteArray>
#include <QString>
#include <QVariantMap>

#include <optional>

/// What differs between the application's and the pane's build of the key combination.
struct ApplicationKeyComboBuild
{
    using Modifiers = qint32;
    static QString invalidText();
    /// The bundle whose "KeyCodes" resource names the keys: the main bundle.
    static Bundle bundle();
};

struct PaneKeyComboBuild
{
    using Modifiers = qint64;
    static QString invalidText();
    /// The pane's own bundle once the pane module has named it (setBundle), else the main
    /// bundle.
    static Bundle bundle();
    static void setBundle(const Bundle &bundle);
};

/// One keyboard shortcut: a positional virtual key code and Carbon modifier flags. Immutable.
/// Both deliverables carry it; `KeyCombo` is the application's build, `PaneKeyCombo` the
/// pane's, and archives written by either read identically in the other.
template <typename Build>
class BasicKeyCombo final
{
public:
    using Modifiers = typename Build::Modifiers;

    static constexpr qint64 cmdKey = 0x0100;
    static constexpr qint64 shiftKey = 0x0200;
    static constexpr qint64 optionKey = 0x0800;
    static constexpr qint64 controlKey = 0x1000;

    /// The cleared combination (-1, -1): no hot key.
    BasicKeyCombo() = default;
    /// Stores both values unchecked; the application build keeps the low 32 bits.
    BasicKeyCombo(qint16 keyCode, qint64 modifiers);

    static BasicKeyCombo keyCombo() { return {}; }
    static BasicKeyCombo clearKeyCombo() { return {}; }
    static BasicKeyCombo keyComboWithKeyCode(qint16 keyCode, qint64 modifiers)
    {
        return {keyCode, modifiers};
    }

    qint16 keyCode() const { return mKeyCode; }
    /// The flags narrowed to 16 bits; every defined flag lies there.
    qint16 modifiers() const { return static_cast<qint16>(mModifiers); }
    /// The flags at the build's full width.
    Modifiers fullModifiers() const { return mModifiers; }

    /// A key with at least one modifier, or a function key alone.
    bool isValid() const;

    bool operator==(const BasicKeyCombo &other) const
    {
        return mKeyCode == other.mKeyCode && mModifiers == other.mModifiers;
    }

    /// The modifiers then the key, the way Linux desktops write them ("Ctrl+Alt+Space"); the
    /// build's invalid text for an invalid combination.
    QString userDisplayRep() const;
    QString description() const { return userDisplayRep(); }

    /// The "KeyCodes" resource of the build's bundle, loaded on first use and kept. While it
    /// cannot be loaded the dictionary is empty and the next call tries again.
    static QVariantMap keyCodesDictionary();
    /// Each modifier's name followed by "+", in the order Ctrl, Alt, Shift, Super.
    static QString _stringForModifiers(qint64 modifiers);
    static QString _stringForKeyCode(qint16 keyCode);
    /// The same lookup in a given dictionary: the name, else the code in upper-case hex.
    static QString _stringForKeyCode(qint16 keyCode, const QVariantMap &keyNames);

    /// The archive of class "KeyCombo", version 0: key code (int16), modifiers (int32).
    QByteArray archivedData() const;
    /// Nothing unless the data is a readable "KeyCombo" archive.
    static std::optional<BasicKeyCombo> unarchive(const QByteArray &data);

private:
    qint16 mKeyCode = -1;
    Modifiers mModifiers = -1;
};

extern template class BasicKeyCombo<ApplicationKeyComboBuild>;
extern template class BasicKeyCombo<PaneKeyComboBuild>;

using KeyCombo = BasicKeyCombo<ApplicationKeyComboBuild>;
using PaneKeyCombo = BasicKeyCombo<PaneKeyComboBuild>;

/// The class name every key-combination archive carries.
inline const QString KeyComboClassName = QStringLiteral("KeyCombo");
