// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <QSet>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

/// One settings domain: an XML property list `$XDG_CONFIG_HOME/<domain>.plist` (mode 0600)
/// shared by several processes.
///
/// Reads see this process's unsynchronised changes, over the file as last read, over the
/// registered defaults. synchronize() takes an advisory lock (flock on `<file>.lock`), re-reads
/// the file, applies only the keys this process set or removed since its last synchronise,
/// and replaces the file through a temporary file that is fsynced first, so two processes
/// writing different keys never lose each other's values and a crash mid-write leaves the old
/// file whole. A file that does not parse is moved aside under a new name (never overwritten,
/// never deleted), reported once on standard error, and reads fall back to the registered
/// defaults. Main thread only.
class UserDefaults final : public QObject
{
    Q_OBJECT

public:
    /// The defaults of the main bundle's identifier, else of "com.ambertide.Brisko".
    static UserDefaults &standardUserDefaults();

    explicit UserDefaults(const QString &domain, QObject *parent = nullptr);
    ~UserDefaults() override;

    QString domain() const { return _domain; }
    /// `$XDG_CONFIG_HOME/<domain>.plist` (`$HOME/.config` when XDG_CONFIG_HOME is unset).
    QString domainPath() const;
    static QString pathForDomain(const QString &domain);

    /// The value for the key: changed here, else stored, else registered; invalid for none.
    QVariant objectForKey(const QString &key) const;
    /// A value without a property-list form is refused with a message on standard error;
    /// an invalid QVariant removes the key.
    void setObject(const QVariant &value, const QString &key);
    void removeObjectForKey(const QString &key);

    /// Typed reads: 0, NO, an empty string or list when the key is absent or of another kind.
    /// Numbers and numeric text both answer the number reads, as they do on the other desktop.
    bool boolForKey(const QString &key) const;
    qint64 integerForKey(const QString &key) const;
    double floatForKey(const QString &key) const;
    QString stringForKey(const QString &key) const;
    QVariantList arrayForKey(const QString &key) const;
    QByteArray dataForKey(const QString &key) const;
    QVariantMap dictionaryForKey(const QString &key) const;

    void setBool(bool value, const QString &key) { setObject(value, key); }
    void setInteger(qint64 value, const QString &key) { setObject(value, key); }
    void setFloat(double value, const QString &key) { setObject(value, key); }

    /// Adds to the registration domain (the values served when nothing is stored).
    void registerDefaults(const QVariantMap &defaults);
    QVariantMap registeredDefaults() const { return _registered; }

    /// Writes this process's changes (if any) and reads everyone else's. False, with the
    /// changes kept for the next try, when the file cannot be written.
    bool synchronize();

    /// Stored values merged with this process's changes; no registered defaults.
    QVariantMap persistentDomain() const;
    /// Every value a read can see: registered defaults overlaid with persistentDomain().
    QVariantMap dictionaryRepresentation() const;

    // Access to any domain from outside its own process, the way the pane reaches the
    // application's settings. Each domain has one process-wide instance.
    static QVariant copyAppValue(const QString &key, const QString &domain);
    /// An invalid value removes the key. Nothing is on disk before appSynchronize().
    static bool setAppValue(const QString &key, const QVariant &value, const QString &domain);
    static bool appSynchronize(const QString &domain);
    /// Forgets this process's change of `key` that no synchronise has put on disk, so reads
    /// show what is stored again.
    static void discardAppChange(const QString &key, const QString &domain);
    /// What the domain's file holds now (re-read), with this process's pending changes.
    static QVariantMap persistentDomainForName(const QString &domain);
    /// Removes every key of the domain and synchronises.
    static bool removePersistentDomainForName(const QString &domain);
    static UserDefaults &defaultsForDomain(const QString &domain);

    enum class FileState
    {
        Missing,
        Read,
        /// No property list: the programs that use the domain keep it aside.
        Broken,
        /// A folder, a pipe or a device, or a file this user may not read: left alone.
        Unreadable,
    };
    /// Reads the domain's file for a program that only looks: whatever is found stays where
    /// it is, nothing is reported and nothing is kept. `error` says why the file is not read.
    static FileState inspectDomain(const QString &domain, QVariantMap *values, QString *error);

Q_SIGNALS:
    /// A value changed here or another process's values were read in by synchronize().
    void didChange();

private:
    void _loadIfNeeded() const;
    QVariant _storedOrPending(const QString &key, bool *found) const;
    bool _readFile(QVariantMap *values, bool alreadyLocked) const;

    QString _domain;
    QVariantMap _registered;
    mutable QVariantMap _stored;
    mutable bool _loaded = false;
    QVariantMap _changed;
    QSet<QString> _removed;
    mutable QString _reportedProblem;
};
