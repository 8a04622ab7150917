// SPDX-License-Identifier: MIT
#include "platform/notifications/DistributedNotificationCenter.h"

#include "distributednotificationcenter_adaptor.h"
#include "distributednotificationcenter_interface.h"
#include "platform/notifications/DistributedNotificationEmitter.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusSignature>
#include <QDBusVariant>
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QUrl>

#include <atomic>
#include <cstdio>

namespace {

QString nextConnectionName()
{
    // Qt hands back the open connection for a name already in use, and every copy of this
    // code in a process (a plug-in brings its own) counts from one: the counter's address
    // keeps the copies' names apart.
    static std::atomic<int> counter{0};
    return QStringLiteral("brisko-notifications-%1-%2")
        .arg(quintptr(&counter), 0, 16)
        .arg(++counter);
}

QVariant cleanedValue(const QVariant &value);

QVariantList cleanedList(const QVariantList &list)
{
    QVariantList cleaned;
    for (const QVariant &element : list) {
        const QVariant value = cleanedValue(element);
        if (value.isValid())
            cleaned.append(value);
    }
    return cleaned;
}

QVariantMap cleanedMap(const QVariantMap &map)
{
    QVariantMap cleaned;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const QVariant value = cleanedValue(it.value());
        if (value.isValid())
            cleaned.insert(it.key(), value);
    }
    return cleaned;
}

// An invalid or unmarshallable QVariant inside the map makes libdbus abort the process, so
// everything outside the types D-Bus knows is converted to text or dropped (invalid result).
QVariant cleanedValue(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::UnknownType:
    case QMetaType::Void:
    case QMetaType::Nullptr:
        return {};
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::QStringList:
        return value;
    case QMetaType::Char:
    case QMetaType::SChar:
        return QVariant(value.toInt());
    case QMetaType::Long:
        return QVariant(value.toLongLong());
    case QMetaType::ULong:
        return QVariant(value.toULongLong());
    case QMetaType::Float:
        return QVariant(value.toDouble());
    case QMetaType::QChar:
        return QVariant(QString(value.toChar()));
    case QMetaType::QDateTime:
        return QVariant(value.toDateTime().toString(Qt::ISODateWithMs));
    case QMetaType::QDate:
        return QVariant(value.toDate().toString(Qt::ISODate));
    case QMetaType::QTime:
        return QVariant(value.toTime().toString(Qt::ISODateWithMs));
    case QMetaType::QUrl:
        return QVariant(value.toUrl().toString());
    case QMetaType::QVariantMap:
        return QVariant(cleanedMap(value.toMap()));
    case QMetaType::QVariantHash: {
        QVariantMap map;
        const QVariantHash hash = value.toHash();
        for (auto it = hash.cbegin(); it != hash.cend(); ++it)
            map.insert(it.key(), it.value());
        return QVariant(cleanedMap(map));
    }
    case QMetaType::QVariantList:
        return QVariant(cleanedList(value.toList()));
    default:
        break;
    }
    if (value.metaType() == QMetaType::fromType<QDBusArgument>() ||
        value.metaType() == QMetaType::fromType<QDBusVariant>())
        return cleanedValue(DistributedNotificationCenter::plainValue(value));
    // Qt empties a malformed path or signature, and an empty one fails the whole signal.
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path().isEmpty() ? QVariant() : value;
    if (value.metaType() == QMetaType::fromType<QDBusSignature>())
        return value.value<QDBusSignature>().signature().isEmpty() ? QVariant() : value;
    if (value.canConvert<QString>()) {
        const QString text = value.toString();
        if (!text.isNull())
            return QVariant(text);
    }
    return {};
}

QVariant plainArgument(const QDBusArgument &argument)
{
    switch (argument.currentType()) {
    case QDBusArgument::MapType: {
        QVariantMap map;
        argument.beginMap();
        while (!argument.atEnd()) {
            argument.beginMapEntry();
            const QVariant key = DistributedNotificationCenter::plainValue(argument.asVariant());
            const QVariant value = DistributedNotificationCenter::plainValue(argument.asVariant());
            argument.endMapEntry();
            map.insert(key.toString(), value);
        }
        argument.endMap();
        return map;
    }
    case QDBusArgument::ArrayType: {
        QVariantList list;
        argument.beginArray();
        while (!argument.atEnd())
            list.append(DistributedNotificationCenter::plainValue(argument.asVariant()));
        argument.endArray();
        return list;
    }
    case QDBusArgument::StructureType: {
        QVariantList list;
        argument.beginStructure();
        while (!argument.atEnd())
            list.append(DistributedNotificationCenter::plainValue(argument.asVariant()));
        argument.endStructure();
        return list;
    }
    case QDBusArgument::BasicType:
    case QDBusArgument::VariantType:
        return DistributedNotificationCenter::plainValue(argument.asVariant());
    default:
        return {};
    }
}

QDBusConnection connectToSessionBus()
{
    // libdbus reads the session bus address once per process; reading it here lets a process
    // (a test) that starts its own bus point every later center at it.
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (!address.isEmpty())
        return QDBusConnection::connectToBus(address, nextConnectionName());
    return QDBusConnection::connectToBus(QDBusConnection::SessionBus, nextConnectionName());
}

} // namespace

DistributedNotificationCenter &DistributedNotificationCenter::defaultCenter()
{
    // Never destroyed: observers may outlive main(), and closing the bus connection from a
    // static destructor races the Qt D-Bus thread.
    static auto *center = new DistributedNotificationCenter;
    return *center;
}

DistributedNotificationCenter::DistributedNotificationCenter(QObject *parent)
    : QObject(parent)
    , _connection(connectToSessionBus())
{
    if (!_connection.isConnected())
        return;
    _emitter = new DistributedNotificationEmitter(this);
    new DistributedNotificationCenterAdaptor(_emitter);
    _connection.registerObject(Path, _emitter, QDBusConnection::ExportAdaptors);

    // No service: the signal is heard from every sender on the bus.
    auto *proxy =
        new ComAmbertideDistributedNotificationCenterInterface(QString(), Path, _connection, this);
    connect(proxy, &ComAmbertideDistributedNotificationCenterInterface::Notification, this,
            &DistributedNotificationCenter::_deliver);
}

DistributedNotificationCenter::~DistributedNotificationCenter()
{
    const QString name = _connection.name();
    if (_connection.isConnected())
        _connection.unregisterObject(Path);
    _connection = QDBusConnection(QString());
    QDBusConnection::disconnectFromBus(name);
}

bool DistributedNotificationCenter::isAvailable() const
{
    return _connection.isConnected();
}

QString DistributedNotificationCenter::unavailableReason() const
{
    if (isAvailable())
        return {};
    const QString detail = _connection.lastError().message();
    return QStringLiteral("The session bus is not reachable%1; notifications between Brisko's "
                          "processes are off.")
        .arg(detail.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(detail));
}

DistributedNotificationCenter::ObserverId
DistributedNotificationCenter::addObserver(QObject *context, const QString &name,
                                           const QString &object, Handler handler)
{
    if (!context || !handler)
        return 0;
    const ObserverId id = ++_lastObserverId;
    _observers.emplace(id, Observer{context, name, object, std::move(handler)});
    return id;
}

void DistributedNotificationCenter::removeObserver(ObserverId id)
{
    _observers.erase(id);
}

void DistributedNotificationCenter::removeObservers(QObject *context)
{
    std::erase_if(_observers, [context](const auto &entry) {
        return !entry.second.context || entry.second.context == context;
    });
}

bool DistributedNotificationCenter::postNotification(const QString &name, const QString &object,
                                                     const QVariantMap &userInfo)
{
    if (!isAvailable()) {
        if (!_reportedUnavailable) {
            _reportedUnavailable = true;
            std::fprintf(stderr, "Brisko: %s\n", qUtf8Printable(unavailableReason()));
            std::fflush(stderr);
        }
        return false;
    }
    // The generated adaptor relays this as the bus signal.
    Q_EMIT _emitter->Notification(name, object, cleanedUserInfo(userInfo));
    return true;
}

bool DistributedNotificationCenter::flush(int timeoutMs)
{
    if (!isAvailable())
        return false;
    // The bus answers in order, so its reply to this call comes after everything sent before.
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetId"));
    const QDBusMessage reply = _connection.call(call, QDBus::Block, timeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

QVariantMap DistributedNotificationCenter::cleanedUserInfo(const QVariantMap &userInfo)
{
    return cleanedMap(userInfo);
}

QVariant DistributedNotificationCenter::plainValue(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<QDBusVariant>())
        return plainValue(value.value<QDBusVariant>().variant());
    if (value.metaType() == QMetaType::fromType<QDBusArgument>())
        return plainArgument(value.value<QDBusArgument>());
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    if (value.metaType() == QMetaType::fromType<QDBusSignature>())
        return value.value<QDBusSignature>().signature();
    if (value.metaType().id() == QMetaType::QVariantMap) {
        QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            it.value() = plainValue(it.value());
        return map;
    }
    if (value.metaType().id() == QMetaType::QVariantList) {
        QVariantList list = value.toList();
        for (QVariant &element : list)
            element = plainValue(element);
        return list;
    }
    return value;
}

void DistributedNotificationCenter::_deliver(const QString &name, const QString &object,
                                             const QVariantMap &userInfo)
{
    const DistributedNotification notification{name, object,
                                               plainValue(QVariant(userInfo)).toMap()};
    // Handlers may add or remove observers, so walk a snapshot and re-check each one.
    std::vector<ObserverId> ids;
    for (const auto &[id, observer] : _observers)
        ids.push_back(id);
    for (ObserverId id : ids) {
        auto it = _observers.find(id);
        if (it == _observers.end())
            continue;
        if (!it->second.context) {
            _observers.erase(it);
            continue;
        }
        const Observer &observer = it->second;
        if ((!observer.name.isNull() && observer.name != name) ||
            (!observer.object.isNull() && observer.object != object))
            continue;
        const Handler handler = observer.handler;
        handler(notification);
    }
}
