// SPDX-License-Identifier: MIT
#include "platform/session/SessionInstance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

namespace {

const QString kObjectPath = QStringLiteral("/Instance");
const QString kInterface = QStringLiteral("com.ambertide.Instance");
SessionInstance *currentInstance = nullptr;

} // namespace

SessionInstance::SessionInstance(const QString &serviceName, QObject *parent)
    : QObject(parent)
    , _serviceName(serviceName)
{}

SessionInstance::~SessionInstance()
{
    release();
}

void SessionInstance::release()
{
    if (!_owned)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(kObjectPath);
    bus.unregisterService(_serviceName);
    _owned = false;
    if (currentInstance == this)
        currentInstance = nullptr;
}

SessionInstance *SessionInstance::current()
{
    return currentInstance;
}

SessionInstance::Claim SessionInstance::claim()
{
    if (_owned)
        return Claim::Owned;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return Claim::NoBus;
    // The object answers before the name is public, so no caller finds the name unanswered.
    if (!bus.registerObject(kObjectPath, this, QDBusConnection::ExportScriptableSlots))
        return Claim::NoBus;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus.interface()->registerService(_serviceName, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        _owned = true;
        currentInstance = this;
        return Claim::Owned;
    }
    bus.unregisterObject(kObjectPath);
    return reply.isValid() ? Claim::Taken : Claim::NoBus;
}

bool SessionInstance::askToReopen(const QString &serviceName, int timeoutMs)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    const QDBusMessage call = QDBusMessage::createMethodCall(serviceName, kObjectPath, kInterface,
                                                             QStringLiteral("Reopen"));
    const QDBusMessage answer = bus.call(call, QDBus::Block, timeoutMs);
    return answer.type() == QDBusMessage::ReplyMessage;
}

void SessionInstance::Reopen()
{
    Q_EMIT reopenRequested();
}
