// SPDX-License-Identifier: MIT
#include "tools/ctl/ControlTool.h"

#include "platform/core/PrintableText.h"
#include "platform/notifications/ControlCommands.h"
#include "platform/notifications/DistributedNotificationCenter.h"
#include "platform/session/SessionInstance.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QRegularExpression>
#include <QTimer>

namespace ControlTool {
namespace {

const QString Usage = QStringLiteral(
    "Usage: brisko-ctl post COMMAND [KEY=VALUE...]\n"
    "       brisko-ctl monitor\n"
    "       brisko-ctl ping\n"
    "       brisko-ctl show\n"
    "       brisko-ctl help | -h | --help\n"
    "Commands a running Brisko understands: ControlDidStart, Shutdown, Suspend, Resume, "
    "Refresh, CheckForUpdates.\n");

int usageError(QTextStream &err, const QString &message)
{
    err << "brisko-ctl: " << message << '\n' << Usage;
    err.flush();
    return 2;
}

bool requireBus(QTextStream &err, DistributedNotificationCenter &center)
{
    if (center.isAvailable())
        return true;
    err << "brisko-ctl: " << center.unavailableReason() << '\n';
    err.flush();
    return false;
}

QString json(const QVariant &value)
{
    const QJsonValue json = QJsonValue::fromVariant(value);
    if (json.isObject())
        return QString::fromUtf8(QJsonDocument(json.toObject()).toJson(QJsonDocument::Compact));
    if (json.isArray())
        return QString::fromUtf8(QJsonDocument(json.toArray()).toJson(QJsonDocument::Compact));
    // A scalar: wrap it in an array to borrow the JSON writer's quoting, then unwrap.
    const QByteArray wrapped = QJsonDocument(QJsonArray{json}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(wrapped.mid(1, wrapped.size() - 2));
}

QString describeValue(const QVariant &value)
{
    static const QRegularExpression plainWord(QStringLiteral("^[^\\s=\"\\\\\\p{Cc}]+$"));
    if (value.metaType().id() == QMetaType::QString &&
        plainWord.match(value.toString()).hasMatch() &&
        PrintableText::escapeControlCharacters(value.toString(), PrintableText::Escape::Unicode) ==
            value.toString())
        return value.toString();
    // The JSON writer escapes C0 controls only; DEL and C1 act on terminals too.
    return PrintableText::escapeControlCharacters(json(value), PrintableText::Escape::Unicode);
}

int post(const QStringList &arguments, QTextStream &out, QTextStream &err,
         DistributedNotificationCenter &center)
{
    Q_UNUSED(out);
    if (arguments.isEmpty() || arguments.first().isEmpty())
        return usageError(err, QStringLiteral("post needs a command."));
    const QString command = arguments.first();
    QVariantMap userInfo;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const qsizetype equals = arguments[i].indexOf(QLatin1Char('='));
        if (equals <= 0)
            return usageError(err, QStringLiteral("\"%1\" is not KEY=VALUE.").arg(arguments[i]));
        userInfo.insert(arguments[i].left(equals), arguments[i].mid(equals + 1));
    }
    if (!requireBus(err, center))
        return 1;
    if (!ControlCommands::all().contains(command)) {
        err << "brisko-ctl: note: \"" << command
            << "\" is not a control command; Brisko will ignore it.\n";
        err.flush();
    }
    center.postNotification(ControlCommands::NotificationName, command, userInfo);
    // The process ends right after this; make sure the bus has the message first.
    if (!center.flush()) {
        err << "brisko-ctl: the session bus did not confirm the notification.\n";
        err.flush();
        return 1;
    }
    return 0;
}

int monitor(QTextStream &out, QTextStream &err, DistributedNotificationCenter &center)
{
    if (!requireBus(err, center))
        return 1;
    QObject context;
    center.addObserver(&context, ControlCommands::NotificationName, QString(),
                       [&out](const DistributedNotification &notification) {
                           out << describe(notification.object, notification.userInfo) << '\n';
                           out.flush();
                       });
    if (!center.flush()) {
        err << "brisko-ctl: the session bus did not answer.\n";
        err.flush();
        return 1;
    }
    err << "brisko-ctl: monitoring control notifications; stop with Ctrl-C.\n";
    err.flush();
    return QCoreApplication::exec();
}

int show(QTextStream &err, DistributedNotificationCenter &center)
{
    if (!requireBus(err, center))
        return 1;
    // The running copy's own single-instance interface, as a second launch would use it; no
    // second application starts.
    if (SessionInstance::askToReopen(InstanceName, ShowTimeoutMs))
        return 0;
    err << "brisko-ctl: Brisko is not running.\n";
    err.flush();
    return 1;
}

int ping(QTextStream &out, QTextStream &err, DistributedNotificationCenter &center)
{
    if (!requireBus(err, center))
        return 1;
    QEventLoop loop;
    bool answered = false;
    QObject context;
    center.addObserver(&context, ControlCommands::NotificationName, ControlCommands::AppDidLaunch,
                       [&](const DistributedNotification &) {
                           answered = true;
                           loop.quit();
                       });
    // The observer must be known to the bus before the question goes out, or a quick answer
    // would pass unheard.
    center.flush();
    center.postNotification(ControlCommands::NotificationName, ControlCommands::ControlDidStart);
    QTimer::singleShot(PingTimeoutMs, &loop, &QEventLoop::quit);
    if (!answered)
        loop.exec();
    out << (answered ? "Brisko is running.\n" : "Brisko is not running.\n");
    out.flush();
    return answered ? 0 : 1;
}

} // namespace

QString describe(const QString &command, const QVariantMap &userInfo)
{
    // A command that is not a plain word is quoted too, so one notification stays one line.
    QString line = describeValue(command);
    for (auto it = userInfo.cbegin(); it != userInfo.cend(); ++it)
        line += QLatin1Char(' ') + describeValue(it.key()) + QLatin1Char('=') +
                describeValue(it.value());
    return line;
}

int run(const QStringList &arguments, QTextStream &out, QTextStream &err,
        DistributedNotificationCenter &center)
{
    if (arguments.isEmpty())
        return usageError(err, QStringLiteral("no command given."));
    const QString &verb = arguments.first();
    if (verb == QLatin1String("--help") || verb == QLatin1String("-h") ||
        verb == QLatin1String("help")) {
        out << Usage;
        out.flush();
        return 0;
    }
    if (verb == QLatin1String("post"))
        return post(arguments.mid(1), out, err, center);
    if (arguments.size() > 1)
        return usageError(err, QStringLiteral("%1 takes no arguments.").arg(verb));
    if (verb == QLatin1String("monitor"))
        return monitor(out, err, center);
    if (verb == QLatin1String("ping"))
        return ping(out, err, center);
    if (verb == QLatin1String("show"))
        return show(err, center);
    return usageError(err, QStringLiteral("unknown command \"%1\".").arg(verb));
}

} // namespace ControlTool
