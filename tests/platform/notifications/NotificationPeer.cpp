// SPDX-License-Identifier: MIT
// The other process of the notification tests:
//   post NAME OBJECT [USERINFO-JSON]   posts once and exits 0
//   observe NAME OBJECT COUNT          prints "ready", then one JSON line per notification
//                                      heard for NAME and OBJECT ("*" matches any), exits
//                                      after COUNT of them
//   respond REQUEST ANSWER             answers each control notification REQUEST with ANSWER
#include "platform/notifications/ControlCommands.h"
#include "platform/notifications/DistributedNotificationCenter.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

#include <iostream>

namespace {

QString pattern(const QString &argument)
{
    return argument == QLatin1String("*") ? QString() : argument;
}

void say(const QByteArray &line)
{
    std::cout << line.toStdString() << std::endl;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    DistributedNotificationCenter center;
    if (!center.isAvailable()) {
        std::cerr << qPrintable(center.unavailableReason()) << std::endl;
        return 1;
    }
    QObject context;

    if (arguments.size() >= 3 && arguments[0] == QLatin1String("post")) {
        const QVariantMap userInfo =
            arguments.size() > 3
                ? QJsonDocument::fromJson(arguments[3].toUtf8()).object().toVariantMap()
                : QVariantMap();
        center.postNotification(arguments[1], arguments[2], userInfo);
        return center.flush() ? 0 : 1;
    }
    if (arguments.size() == 4 && arguments[0] == QLatin1String("observe")) {
        int remaining = arguments[3].toInt();
        center.addObserver(&context, pattern(arguments[1]), pattern(arguments[2]),
                           [&](const DistributedNotification &notification) {
                               QJsonObject line{
                                   {QStringLiteral("name"), notification.name},
                                   {QStringLiteral("object"), notification.object},
                                   {QStringLiteral("userInfo"),
                                    QJsonObject::fromVariantMap(notification.userInfo)}};
                               say(QJsonDocument(line).toJson(QJsonDocument::Compact));
                               if (--remaining <= 0)
                                   application.quit();
                           });
        center.flush();
        say("ready");
        return application.exec();
    }
    if (arguments.size() == 3 && arguments[0] == QLatin1String("respond")) {
        const QString answer = arguments[2];
        center.addObserver(&context, ControlCommands::NotificationName, arguments[1],
                           [&](const DistributedNotification &) {
                               center.postNotification(ControlCommands::NotificationName, answer);
                               say("answered");
                           });
        center.flush();
        say("ready");
        return application.exec();
    }
    std::cerr << "usage: brisko-notification-peer post|observe|respond ..." << std::endl;
    return 2;
}
