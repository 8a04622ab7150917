// SPDX-License-Identifier: MIT
// A test's bus answers the same on a bare machine and on a full desktop: whatever the machine
// has installed (a portal, a keyring, a contacts store) cannot start on it unless the test
// names it.
#include "tests/e2e/support/TestProcesses.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QSettings>

#include <gtest/gtest.h>

namespace {

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

QStringList activatableNames(const PrivateSessionBus &bus)
{
    const QString connectionName = QStringLiteral("activatable-probe");
    QStringList names;
    {
        QDBusConnection connection = QDBusConnection::connectToBus(bus.address(), connectionName);
        EXPECT_TRUE(connection.isConnected()) << qPrintable(connection.lastError().message());
        names = connection.interface()->activatableServiceNames().value();
    }
    QDBusConnection::disconnectFromBus(connectionName);
    names.removeAll(QStringLiteral("org.freedesktop.DBus"));
    return sorted(names);
}

/// The bus names the machine's .service files matching `pattern` declare.
QStringList machineNames(const QString &pattern)
{
    QStringList names;
    for (const QFileInfo &file : PrivateSessionBus::machineServiceFiles(pattern)) {
        QSettings service(file.filePath(), QSettings::IniFormat);
        names.append(service.value(QStringLiteral("D-BUS Service/Name")).toString());
    }
    names.removeDuplicates();
    return sorted(names);
}

} // namespace

TEST(PrivateSessionBusTest, ActivatesOnlyTheMachineServicesItsTestNames)
{
    const QStringList cases[] = {
        {},
        {QStringLiteral("org.gnome.evolution.dataserver.Sources*"),
         QStringLiteral("org.gnome.evolution.dataserver.AddressBook*")},
    };
    for (const QStringList &services : cases) {
        PrivateSessionBus bus(services);
        ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";
        QStringList expected;
        for (const QString &service : services)
            expected += machineNames(service);
        EXPECT_EQ(activatableNames(bus), sorted(expected))
            << "named: " << qPrintable(services.join(QLatin1String(", ")));
    }
}
