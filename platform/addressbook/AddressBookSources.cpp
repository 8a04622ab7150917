// SPDX-License-Identifier: MIT
#include "platform/addressbook/AddressBookSources.h"

#include "platform/addressbook/KhardConfiguration.h"
#include "platform/addressbook/ShellPath.h"
#include "platform/core/Bundle.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace AddressBookSources {

bool userChose(const QStringList &requested)
{
    return !requested.isEmpty() || !qEnvironmentVariableIsEmpty("BRISKO_ADDRESS_BOOK");
}

void report(const QStringList &messages)
{
    for (const QString &message : messages)
        std::fprintf(stderr, "Brisko: address book: %s\n", qPrintable(message));
}

QStringList desktopFolders()
{
    const QString configured = qEnvironmentVariable("XDG_DATA_HOME");
    const QString dataHome =
        configured.isEmpty() ? QDir::homePath() + QLatin1String("/.local/share") : configured;
    return {dataHome + QLatin1String("/contacts"), dataHome + QLatin1String("/kpeoplevcard")};
}

Choice choose(const QStringList &requested)
{
    Choice choice;
    choice.userChose = userChose(requested);
    if (!choice.userChose) {
        choice.roots = desktopFolders();
        choice.roots.append(KhardConfiguration::userAddressBookPaths());
        choice.sampleBook =
            Bundle::mainBundle().pathForResource(QStringLiteral("SampleContacts"), QString());
        return choice;
    }
    choice.roots = requested;
    if (choice.roots.isEmpty()) {
        const QStringList pieces =
            qEnvironmentVariable("BRISKO_ADDRESS_BOOK").split(QLatin1Char(':'), Qt::SkipEmptyParts);
        for (const QString &piece : pieces)
            choice.roots.append(ShellPath::expanded(piece));
    }
    for (const QString &root : std::as_const(choice.roots)) {
        if (!QFileInfo::exists(root))
            std::fprintf(stderr, "Brisko: address book: %s does not exist\n", qPrintable(root));
    }
    return choice;
}

} // namespace AddressBookSources
