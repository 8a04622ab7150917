// SPDX-License-Identifier: MIT
#include "common/keycombo/KeyCombo.h"

#include "platform/archive/Archive.h"
#include "platform/core/PropertyList.h"

#include <QCoreApplication>
#include <QFile>
#include <QMutex>

#include <array>

namespace {

constexpr std::array<qint16, 16> kFunctionKeyCodes = {122, 120, 99,  118, 96,  97,  98,  100,
                                                      101, 109, 103, 111, 105, 107, 113, 106};

struct ModifierName
{
    qint64 flag;
    const char *name;
};

// Linux desktops name the modifiers in this order, whatever order the keys were pressed in.
constexpr std::array<ModifierName, 4> modifierNames = {{
    {0x1000, "Ctrl"},
    {0x0800, "Alt"},
    {0x0200, "Shift"},
    {0x0100, "Super"},
}};

Bundle &paneBundle()
{
    static Bundle bundle;
    return bundle;
}

} // namespace

QString ApplicationKeyComboBuild::invalidText()
{
    return QCoreApplication::translate("KeyCombo", "Click to Set");
}

Bundle ApplicationKeyComboBuild::bundle()
{
    return Bundle::mainBundle();
}

QString PaneKeyComboBuild::invalidText()
{
    return QCoreApplication::translate("KeyCombo", "None");
}

Bundle PaneKeyComboBuild::bundle()
{
    return paneBundle().bundlePath().isEmpty() ? Bundle::mainBundle() : paneBundle();
}

void PaneKeyComboBuild::setBundle(const Bundle &bundle)
{
    paneBundle() = bundle;
}

template <typename Build>
BasicKeyCombo<Build>::BasicKeyCombo(qint16 keyCode, qint64 modifiers)
    : mKeyCode(keyCode)
    , mModifiers(static_cast<Modifiers>(modifiers))
{}

template <typename Build>
bool BasicKeyCombo<Build>::isValid() const
{
    if (mKeyCode >= 0 && mModifiers > 0)
        return true;
    for (const qint16 code : kFunctionKeyCodes) {
        if (code == mKeyCode)
            return true;
    }
    return false;
}

template <typename Build>
QString BasicKeyCombo<Build>::userDisplayRep() const
{
    if (!isValid())
        return Build::invalidText();
    return _stringForModifiers(mModifiers) + _stringForKeyCode(mKeyCode);
}

template <typename Build>
QVariantMap BasicKeyCombo<Build>::keyCodesDictionary()
{
    // One dictionary per build, since each build names the keys from its own bundle.
    static QMutex mutex;
    static QVariantMap dictionary;
    const QMutexLocker locker(&mutex);
    if (dictionary.isEmpty()) {
        const QString path =
            Build::bundle().pathForResource(QStringLiteral("KeyCodes"), QStringLiteral("plist"));
        if (!path.isEmpty())
            dictionary = PropertyList::readFile(path).toMap();
    }
    return dictionary;
}

template <typename Build>
QString BasicKeyCombo<Build>::_stringForModifiers(qint64 modifiers)
{
    QString names;
    for (const ModifierName &row : modifierNames) {
        if (modifiers & row.flag)
            names += QLatin1String(row.name) + QLatin1Char('+');
    }
    return names;
}

template <typename Build>
QString BasicKeyCombo<Build>::_stringForKeyCode(qint16 keyCode)
{
    return _stringForKeyCode(keyCode, keyCodesDictionary());
}

template <typename Build>
QString BasicKeyCombo<Build>::_stringForKeyCode(qint16 keyCode, const QVariantMap &keyNames)
{
    const auto it = keyNames.constFind(QString::number(keyCode));
    if (it != keyNames.cend() && it->metaType().id() == QMetaType::QString)
        return it->toString();
    // A negative code shows as its 16-bit pattern, never with a minus sign.
    return QString::number(static_cast<quint16>(keyCode), 16).toUpper();
}

template <typename Build>
QByteArray BasicKeyCombo<Build>::archivedData() const
{
    ArchiveWriter writer(KeyComboClassName, 0);
    writer.writeInt16(mKeyCode);
    // The pane's 64-bit flags are narrowed; readers sign-extend them again.
    writer.writeInt32(static_cast<qint32>(mModifiers));
    return writer.data();
}

template <typename Build>
std::optional<BasicKeyCombo<Build>> BasicKeyCombo<Build>::unarchive(const QByteArray &data)
{
    ArchiveReader reader(data);
    if (!reader.isValid() || reader.className() != KeyComboClassName || reader.classVersion() != 0)
        return std::nullopt;
    BasicKeyCombo combo;
    const std::optional<qint16> keyCode = reader.readInt16();
    const std::optional<qint32> modifiers = reader.readInt32();
    if (!modifiers || !reader.finish())
        return std::nullopt;
    combo.mKeyCode = *keyCode;
    combo.mModifiers = static_cast<Modifiers>(*modifiers);
    return combo;
}

template class BasicKeyCombo<ApplicationKeyComboBuild>;
template class BasicKeyCombo<PaneKeyComboBuild>;
