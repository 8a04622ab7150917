// SPDX-License-Identifier: MIT
#include "platform/settings/UserDefaults.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/Bundle.h"
#include "platform/core/PropertyList.h"
#include "platform/core/RegularFile.h"
#include "platform/core/XdgBaseDirectory.h"
#include "platform/settings/LooseValue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <cstdio>
#include <map>
#include <optional>

namespace {

const QString kFallbackDomain = QStringLiteral("com.ambertide.Brisko");

void report(const QString &message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
}

using FileState = UserDefaults::FileState;

/// `makePrivate`: the file may hold a password as plain text, and the programs that own the
/// domain make it their user's alone, saying so on standard error.
FileState readDomainFile(const QString &path, QVariantMap *values, QString *error, bool makePrivate)
{
    const RegularFile::Contents contents =
        RegularFile::read(path, RegularFile::kMaxPropertyListBytes, makePrivate);
    if (contents.loosePermissions != 0) {
        const QString mode = QString::number(contents.loosePermissions, 8).rightJustified(4, u'0');
        report(contents.madePrivate
                   ? QStringLiteral("Brisko: the settings file \"%1\" could be read by other "
                                    "users (mode %2); it is now readable by its owner only.")
                         .arg(path, mode)
                   : QStringLiteral("Brisko: the settings file \"%1\" can be read by other users "
                                    "(mode %2) and could not be made private.")
                         .arg(path, mode));
    }
    *error = contents.error;
    switch (contents.status) {
    case RegularFile::Status::Read:
        break;
    case RegularFile::Status::Missing:
        // A link whose file is not there yet counts as missing too.
        return FileState::Missing;
    case RegularFile::Status::TooLarge:
        // No settings file of ours grows that large: kept aside like any broken one.
        return FileState::Broken;
    case RegularFile::Status::NotRegular:
    case RegularFile::Status::Failed:
        // Not ours to move: a folder or a device, or a file kept from us on purpose.
        return FileState::Unreadable;
    }
    const QVariant root = PropertyList::fromData(contents.data, error);
    if (!root.isValid())
        return FileState::Broken;
    if (root.metaType().id() != QMetaType::QVariantMap) {
        *error = QStringLiteral("the property list is not a dictionary");
        return FileState::Broken;
    }
    *values = root.toMap();
    return FileState::Read;
}

} // namespace

UserDefaults &UserDefaults::standardUserDefaults()
{
    QString domain = Bundle::mainBundle().bundleIdentifier();
    if (domain.isEmpty())
        domain = kFallbackDomain;
    return defaultsForDomain(domain);
}

UserDefaults &UserDefaults::defaultsForDomain(const QString &domain)
{
    // Process-wide and never destroyed, like the platform's shared defaults. The table itself
    // outlives static destruction too, so the instances stay reachable to the end (a leak
    // checker sees them as owned, and a late reader at exit finds them).
    static QMutex mutex;
    static auto *const instances = new std::map<QString, UserDefaults *>;
    const QMutexLocker locker(&mutex);
    UserDefaults *&instance = (*instances)[domain];
    if (!instance)
        instance = new UserDefaults(domain);
    return *instance;
}

UserDefaults::UserDefaults(const QString &domain, QObject *parent)
    : QObject(parent)
    , _domain(domain)
{}

UserDefaults::~UserDefaults() = default;

QString UserDefaults::pathForDomain(const QString &domain)
{
    return XdgBaseDirectory::configHome() + QLatin1Char('/') + domain + QLatin1String(".plist");
}

UserDefaults::FileState UserDefaults::inspectDomain(const QString &domain, QVariantMap *values,
                                                    QString *error)
{
    values->clear();
    return readDomainFile(pathForDomain(domain), values, error, false);
}

QString UserDefaults::domainPath() const
{
    return pathForDomain(_domain);
}

bool UserDefaults::_readFile(QVariantMap *values, bool alreadyLocked) const
{
    const QString path = domainPath();
    QString error;
    values->clear();
    FileState state = readDomainFile(path, values, &error, true);
    if (state == FileState::Read || state == FileState::Missing) {
        _reportedProblem.clear();
        return true;
    }
    if (state == FileState::Unreadable) {
        // Every synchronise meets it again; once is enough to say so.
        const QString message =
            QStringLiteral("Brisko: cannot read the settings file \"%1\": %2").arg(path, error);
        if (message != _reportedProblem)
            report(message);
        _reportedProblem = message;
        return false;
    }
    // A broken file is only moved under the lock, after reading it again: a writer may have
    // replaced it in between, and its new file must not be moved aside.
    std::optional<AtomicFile::Lock> lock;
    if (!alreadyLocked) {
        lock.emplace(path);
        if (!lock->isLocked())
            return false;
        state = readDomainFile(path, values, &error, true);
        if (state != FileState::Broken)
            return state != FileState::Unreadable;
    }
    values->clear();
    const QString keptAs = AtomicFile::moveAside(path);
    if (keptAs.isEmpty()) {
        report(QStringLiteral("Brisko: the settings file \"%1\" cannot be read (%2) and could "
                              "not be moved aside; the factory settings are used.")
                   .arg(path, error));
        return false;
    }
    report(QStringLiteral("Brisko: the settings file \"%1\" cannot be read (%2). It was kept as "
                          "\"%3\"; the factory settings are used instead.")
               .arg(path, error, keptAs));
    return true;
}

void UserDefaults::_loadIfNeeded() const
{
    if (_loaded)
        return;
    _loaded = true;
    _readFile(&_stored, false);
}

QVariant UserDefaults::_storedOrPending(const QString &key, bool *found) const
{
    _loadIfNeeded();
    *found = true;
    const auto changed = _changed.constFind(key);
    if (changed != _changed.cend())
        return *changed;
    if (_removed.contains(key)) {
        *found = false;
        return {};
    }
    const auto stored = _stored.constFind(key);
    if (stored != _stored.cend())
        return *stored;
    *found = false;
    return {};
}

QVariant UserDefaults::objectForKey(const QString &key) const
{
    bool found = false;
    const QVariant value = _storedOrPending(key, &found);
    return found ? value : _registered.value(key);
}

void UserDefaults::setObject(const QVariant &value, const QString &key)
{
    if (!value.isValid()) {
        removeObjectForKey(key);
        return;
    }
    // Kept in the form a reader of the file will see, so values read before and after a
    // synchronise are of the same kind.
    const QVariant stored = PropertyList::fromData(PropertyList::toXml(value));
    if (!stored.isValid()) {
        report(QStringLiteral("Brisko: the value for \"%1\" (%2) cannot be kept in the settings "
                              "domain %3; nothing was changed.")
                   .arg(key, QString::fromLatin1(value.typeName()), _domain));
        return;
    }
    _loadIfNeeded();
    _removed.remove(key);
    _changed.insert(key, stored);
    Q_EMIT didChange();
}

void UserDefaults::removeObjectForKey(const QString &key)
{
    _loadIfNeeded();
    _changed.remove(key);
    _removed.insert(key);
    Q_EMIT didChange();
}

bool UserDefaults::boolForKey(const QString &key) const
{
    return LooseValue::boolValue(objectForKey(key));
}

qint64 UserDefaults::integerForKey(const QString &key) const
{
    return LooseValue::longLongValue(objectForKey(key));
}

double UserDefaults::floatForKey(const QString &key) const
{
    return LooseValue::doubleValue(objectForKey(key));
}

QString UserDefaults::stringForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    const int type = value.metaType().id();
    if (type == QMetaType::QString)
        return value.toString();
    // Numbers answer with their text, as on the other desktop; other kinds are no string.
    if (LooseValue::isNumeric(value) && type != QMetaType::Bool)
        return value.toString();
    return {};
}

QVariantList UserDefaults::arrayForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    const int type = value.metaType().id();
    return type == QMetaType::QVariantList || type == QMetaType::QStringList ? value.toList()
                                                                             : QVariantList();
}

QByteArray UserDefaults::dataForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    return value.metaType().id() == QMetaType::QByteArray ? value.toByteArray() : QByteArray();
}

QVariantMap UserDefaults::dictionaryForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    return value.metaType().id() == QMetaType::QVariantMap ? value.toMap() : QVariantMap();
}

void UserDefaults::registerDefaults(const QVariantMap &defaults)
{
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it)
        _registered.insert(it.key(), it.value());
}

bool UserDefaults::synchronize()
{
    const QString path = domainPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        report(QStringLiteral("Brisko: cannot create the folder of \"%1\".").arg(path));
        return false;
    }
    // Observers of didChange run after the lock is given back: one may synchronise itself or
    // wait on the user, and no other writer may have to wait for that.
    std::optional<AtomicFile::Lock> lock(std::in_place, path);
    if (!lock->isLocked()) {
        report(QStringLiteral("Brisko: cannot lock the settings file \"%1\": %2")
                   .arg(path, lock->error()));
        return false;
    }
    QVariantMap current;
    if (!_readFile(&current, true)) {
        _loaded = true;
        return false;
    }
    const QVariantMap before = _stored;
    _loaded = true;
    if (_changed.isEmpty() && _removed.isEmpty()) {
        _stored = current;
        lock.reset();
        if (_stored != before)
            Q_EMIT didChange();
        return true;
    }
    QVariantMap merged = current;
    for (const QString &key : std::as_const(_removed))
        merged.remove(key);
    for (auto it = _changed.cbegin(); it != _changed.cend(); ++it)
        merged.insert(it.key(), it.value());
    const QByteArray xml = PropertyList::toXml(merged);
    QString error;
    if (xml.isEmpty() || !AtomicFile::replace(path, xml, &error)) {
        // The changes stay pending, so reads keep seeing them and the next call retries.
        _stored = current;
        report(QStringLiteral("Brisko: cannot write the settings file \"%1\": %2")
                   .arg(path, error.isEmpty() ? QStringLiteral("no property-list form") : error));
        return false;
    }
    _stored = merged;
    _changed.clear();
    _removed.clear();
    lock.reset();
    if (_stored != before)
        Q_EMIT didChange();
    return true;
}

QVariantMap UserDefaults::persistentDomain() const
{
    _loadIfNeeded();
    QVariantMap values = _stored;
    for (const QString &key : _removed)
        values.remove(key);
    for (auto it = _changed.cbegin(); it != _changed.cend(); ++it)
        values.insert(it.key(), it.value());
    return values;
}

QVariantMap UserDefaults::dictionaryRepresentation() const
{
    QVariantMap values = _registered;
    const QVariantMap persistent = persistentDomain();
    for (auto it = persistent.cbegin(); it != persistent.cend(); ++it)
        values.insert(it.key(), it.value());
    return values;
}

QVariant UserDefaults::copyAppValue(const QString &key, const QString &domain)
{
    return defaultsForDomain(domain).objectForKey(key);
}

bool UserDefaults::setAppValue(const QString &key, const QVariant &value, const QString &domain)
{
    UserDefaults &defaults = defaultsForDomain(domain);
    if (value.isValid() && PropertyList::toXml(value).isEmpty()) {
        defaults.setObject(value, key); // reports the refusal
        return false;
    }
    defaults.setObject(value, key);
    return true;
}

bool UserDefaults::appSynchronize(const QString &domain)
{
    return defaultsForDomain(domain).synchronize();
}

void UserDefaults::discardAppChange(const QString &key, const QString &domain)
{
    UserDefaults &defaults = defaultsForDomain(domain);
    if (!defaults._changed.remove(key) && !defaults._removed.remove(key))
        return;
    Q_EMIT defaults.didChange();
}

QVariantMap UserDefaults::persistentDomainForName(const QString &domain)
{
    UserDefaults &defaults = defaultsForDomain(domain);
    QVariantMap values;
    if (defaults._readFile(&values, false))
        defaults._stored = values;
    defaults._loaded = true;
    return defaults.persistentDomain();
}

bool UserDefaults::removePersistentDomainForName(const QString &domain)
{
    UserDefaults &defaults = defaultsForDomain(domain);
    defaults._loadIfNeeded();
    QVariantMap values;
    if (defaults._readFile(&values, false))
        defaults._stored = values;
    for (auto it = defaults._stored.cbegin(); it != defaults._stored.cend(); ++it)
        defaults.removeObjectForKey(it.key());
    for (const QString &key : defaults._changed.keys())
        defaults.removeObjectForKey(key);
    return defaults.synchronize();
}
