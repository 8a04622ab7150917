// SPDX-License-Identifier: MIT
// Stands in on a private session bus for the desktop services a real session would have:
//   brisko-desktop-stand-in [portal | old-portal] [notifications]
// "portal" is the desktop portal with global shortcuts (org.freedesktop.portal.Desktop:
// CreateSession, BindShortcuts, Request::Response, Session.Close, Activated, Deactivated and
// the host registry); "old-portal" owns the name but has no global shortcuts; "notifications" is
// org.freedesktop.Notifications. Standard output says what happened, one line each:
//   ready | registered APP_ID | session PATH | offered SESSION ID TRIGGER |
//   bound SESSION ID TRIGGER DESCRIPTION |
//   closed SESSION | activated N | deactivated N | notify {"app":…,"summary":…,"body":…}
// Standard input steers it, one command a line:
//   answer accept|cancel|refuse|omit|unassigned|silent|malformed|create-only
//                                 how BindShortcuts is answered from now on (echoed);
//                                 create-only binds what CreateSession offered, as KDE 5.27 does
//   activate ID | deactivate ID   signals every session that bound ID, closed ones too, as a
//                                 signal already on its way when a session closes would
//   activate ID TOKEN             the same, with TOKEN as the activation token
//   echo WORD                     says WORD, after everything that reached it before
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>

#include <iostream>
#include <string>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString ShortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
using Shortcuts = QList<QPair<QString, QVariantMap>>;

void say(const QString &line)
{
    std::cout << line.toStdString() << std::endl;
}

class Portal final : public QDBusVirtualObject
{
public:
    Portal(bool withShortcuts, QDBusConnection bus)
        : _withShortcuts(withShortcuts)
        , _bus(bus)
    {}

    QString answer = QStringLiteral("accept");

    QString introspect(const QString &) const override { return {}; }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &) override
    {
        const QString call = message.interface() + QLatin1Char('.') + message.member();
        if (call == QLatin1String("org.freedesktop.DBus.Properties.Get"))
            return _get(message);
        if (call == QLatin1String("org.freedesktop.host.portal.Registry.Register")) {
            say(QStringLiteral("registered ") + message.arguments().value(0).toString());
            return _bus.send(message.createReply());
        }
        if (call == QLatin1String("org.freedesktop.portal.Session.Close")) {
            _sessions[message.path()].open = false;
            say(QStringLiteral("closed ") + message.path());
            return _bus.send(message.createReply());
        }
        if (!_withShortcuts || message.interface() != ShortcutsInterface)
            return false;
        if (message.member() == QLatin1String("CreateSession"))
            return _createSession(message);
        if (message.member() == QLatin1String("BindShortcuts"))
            return _bindShortcuts(message);
        return false;
    }

    void signal(const QString &member, const QString &id, const QVariantMap &options = {})
    {
        int count = 0;
        for (auto it = _sessions.cbegin(); it != _sessions.cend(); ++it) {
            if (!it->ids.contains(id))
                continue;
            QDBusMessage signal = QDBusMessage::createTargetedSignal(it->owner, PortalPath,
                                                                     ShortcutsInterface, member);
            signal << QVariant::fromValue(QDBusObjectPath(it.key())) << id << qulonglong(1)
                   << options;
            _bus.send(signal);
            ++count;
        }
        say(member.toLower() + QStringLiteral(" %1").arg(count));
    }

private:
    struct Session
    {
        QString owner;
        QStringList ids;
        bool open = true;
        /// The shortcuts CreateSession came with.
        Shortcuts offered;
    };

    bool _get(const QDBusMessage &message)
    {
        if (!_withShortcuts || message.arguments().value(0).toString() != ShortcutsInterface)
            return _bus.send(
                message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                                         QStringLiteral("No such interface")));
        return _bus.send(message.createReply(QVariant::fromValue(QDBusVariant(uint(1)))));
    }

    QString _handle(const QDBusMessage &message, const QString &kind, const QString &token) const
    {
        QString sender = message.service().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        return PortalPath + QLatin1Char('/') + kind + QLatin1Char('/') + sender + QLatin1Char('/') +
               token;
    }

    void _respond(const QDBusMessage &message, const QString &request, uint response,
                  const QVariantMap &results)
    {
        QDBusMessage signal = QDBusMessage::createTargetedSignal(
            message.service(), request, QStringLiteral("org.freedesktop.portal.Request"),
            QStringLiteral("Response"));
        signal << response << results;
        _bus.send(signal);
    }

    bool _createSession(const QDBusMessage &message)
    {
        const QVariantMap options = qdbus_cast<QVariantMap>(message.arguments().value(0));
        const QString request = _handle(message, QStringLiteral("request"),
                                        options.value(QStringLiteral("handle_token")).toString());
        const QString session =
            _handle(message, QStringLiteral("session"),
                    options.value(QStringLiteral("session_handle_token")).toString());
        Session created{message.service(), {}, true, {}};
        const QVariant offered = options.value(QStringLiteral("shortcuts"));
        if (offered.metaType() == QMetaType::fromType<QDBusArgument>() &&
            offered.value<QDBusArgument>().currentSignature() == QLatin1String("a(sa{sv})"))
            created.offered = qdbus_cast<Shortcuts>(offered);
        _sessions.insert(session, created);
        _bus.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        say(QStringLiteral("session ") + session);
        for (const auto &[id, properties] : std::as_const(created.offered))
            say(QStringLiteral("offered %1 %2 %3")
                    .arg(session, id,
                         properties.value(QStringLiteral("preferred_trigger")).toString()));
        _respond(message, request, 0, {{QStringLiteral("session_handle"), session}});
        return true;
    }

    bool _bindShortcuts(const QDBusMessage &message)
    {
        const QList<QVariant> arguments = message.arguments();
        const QString session = qdbus_cast<QDBusObjectPath>(arguments.value(0)).path();
        const Shortcuts shortcuts = qdbus_cast<Shortcuts>(arguments.value(1));
        const QVariantMap options = qdbus_cast<QVariantMap>(arguments.value(3));
        const QString request = _handle(message, QStringLiteral("request"),
                                        options.value(QStringLiteral("handle_token")).toString());
        _bus.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));

        // KDE Plasma 5.27 binds what the session was created with and ignores what comes here.
        const bool createOnly = answer == QLatin1String("create-only");
        const Shortcuts &taken = createOnly ? _sessions[session].offered : shortcuts;
        Shortcuts bound;
        for (const auto &[id, properties] : taken) {
            const QString trigger =
                properties.value(QStringLiteral("preferred_trigger")).toString();
            say(QStringLiteral("bound %1 %2 %3 %4")
                    .arg(session, id, trigger,
                         properties.value(QStringLiteral("description")).toString()));
            if (answer == QLatin1String("accept") || createOnly)
                _sessions[session].ids.append(id);
            bound.append(
                {id,
                 {{QStringLiteral("description"), properties.value(QStringLiteral("description"))},
                  {QStringLiteral("trigger_description"),
                   answer == QLatin1String("unassigned") ? QString() : trigger}}});
        }
        if (answer == QLatin1String("silent"))
            return true;
        if (answer == QLatin1String("cancel") || answer == QLatin1String("refuse")) {
            _respond(message, request, answer == QLatin1String("cancel") ? 1 : 2, {});
            return true;
        }
        if (answer == QLatin1String("omit"))
            bound.clear();
        if (answer == QLatin1String("malformed")) {
            // A list of the wrong shape where the shortcuts belong.
            const QList<QPair<int, int>> wrong = {{1, 2}};
            _respond(message, request, 0,
                     {{QStringLiteral("shortcuts"), QVariant::fromValue(wrong)}});
            return true;
        }
        _respond(message, request, 0, {{QStringLiteral("shortcuts"), QVariant::fromValue(bound)}});
        return true;
    }

    bool _withShortcuts;
    QDBusConnection _bus;
    QMap<QString, Session> _sessions;
};

class NotificationServer final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public Q_SLOTS:
    Q_SCRIPTABLE uint Notify(const QString &app, uint, const QString &, const QString &summary,
                             const QString &body, const QStringList &, const QVariantMap &, int)
    {
        const QJsonObject notification{{QStringLiteral("app"), app},
                                       {QStringLiteral("summary"), summary},
                                       {QStringLiteral("body"), body}};
        say(QStringLiteral("notify ") +
            QString::fromUtf8(QJsonDocument(notification).toJson(QJsonDocument::Compact)));
        return ++_lastId;
    }

private:
    uint _lastId = 0;
};

bool own(QDBusConnection &bus, const QString &name)
{
    const auto reply =
        bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService);
    return reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    qDBusRegisterMetaType<QPair<QString, QVariantMap>>();
    qDBusRegisterMetaType<Shortcuts>();
    qDBusRegisterMetaType<QPair<int, int>>();
    qDBusRegisterMetaType<QList<QPair<int, int>>>();
    const QStringList services = application.arguments().mid(1);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::cerr << "no session bus" << std::endl;
        return 1;
    }

    std::unique_ptr<Portal> portal;
    if (services.contains(QLatin1String("portal")) ||
        services.contains(QLatin1String("old-portal"))) {
        portal = std::make_unique<Portal>(services.contains(QLatin1String("portal")), bus);
        if (!bus.registerVirtualObject(PortalPath, portal.get(), QDBusConnection::SubPath) ||
            !own(bus, PortalService)) {
            std::cerr << "cannot stand in for the portal" << std::endl;
            return 1;
        }
    }
    NotificationServer notifications;
    if (services.contains(QLatin1String("notifications"))) {
        if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &notifications,
                                QDBusConnection::ExportScriptableSlots) ||
            !own(bus, QStringLiteral("org.freedesktop.Notifications"))) {
            std::cerr << "cannot stand in for the notification server" << std::endl;
            return 1;
        }
    }
    say(QStringLiteral("ready"));

    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &application, [&] {
        std::string raw;
        if (!std::getline(std::cin, raw)) {
            application.quit();
            return;
        }
        const QStringList words =
            QString::fromStdString(raw).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() == 2 && words[0] == QLatin1String("echo"))
            say(words[1]);
        if (portal && words.size() == 3 && words[0] == QLatin1String("activate"))
            portal->signal(QStringLiteral("Activated"), words[1],
                           {{QStringLiteral("activation_token"), words[2]}});
        if (!portal || words.size() != 2)
            return;
        if (words[0] == QLatin1String("answer")) {
            portal->answer = words[1];
            say(QStringLiteral("answer ") + words[1]);
        } else if (words[0] == QLatin1String("activate"))
            portal->signal(QStringLiteral("Activated"), words[1]);
        else if (words[0] == QLatin1String("deactivate"))
            portal->signal(QStringLiteral("Deactivated"), words[1]);
    });
    return application.exec();
}

#include "DesktopStandIn.moc"
