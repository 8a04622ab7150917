// SPDX-License-Identifier: MIT
// khard's configuration file, as the user or their tools wrote it: the address book reads the
// folders of its [addressbooks] section.
#include "FuzzSupport.h"

#include "addressbook/AddressBook.h"

#include <QDir>

namespace {

// A path the configuration names that would leave the private home: an absolute one (directly
// or through a variable) or one going up. The address book would walk the whole folder, which
// is right for a user's books but no test of the reader; such inputs are skipped.
bool namesFolderOutsideHome(const QByteArray &config)
{
    if (config.contains(".."))
        return true;
    const QString text = QString::fromUtf8(config);
    for (qsizetype i = text.indexOf(QLatin1Char('=')); i >= 0;
         i = text.indexOf(QLatin1Char('='), i + 1)) {
        qsizetype j = i + 1;
        while (j < text.size() && (text.at(j).isSpace() || text.at(j) == QLatin1Char('"') ||
                                   text.at(j) == QLatin1Char('\'')))
            ++j;
        if (j < text.size() && (text.at(j) == QLatin1Char('/') || text.at(j) == QLatin1Char('$')))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzSupport::start(argc, argv);
    FuzzSupport::privateHome();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray config = FuzzSupport::bytes(data, size);
    if (namesFolderOutsideHome(config))
        return -1;
    const QString home = FuzzSupport::privateHome();
    FuzzSupport::writeFile(home + QLatin1String("/config/khard/khard.conf"), config);

    const AddressBook book({}, AddressBook::Loading::Now, AddressBook::Order::AsRead);
    const QStringList paths = book.sourcePaths();
    // The desktop's own folders come first, whatever khard's file says.
    FUZZ_CHECK(paths.size() >= 2 && paths[0] == home + QLatin1String("/data/contacts") &&
                   paths[1] == home + QLatin1String("/data/kpeoplevcard"),
               paths.join(QLatin1Char('\n')));
    // Only the address book section names folders, each one non-empty.
    const qsizetype khardBooks = paths.size() - 2;
    FUZZ_CHECK(khardBooks == 0 || config.toLower().contains("[addressbooks]"),
               QStringLiteral("%1 folders without an address book section").arg(khardBooks));
    FUZZ_CHECK(khardBooks <= config.count("path"),
               QStringLiteral("%1 folders from fewer path keys").arg(khardBooks));
    for (qsizetype i = 2; i < paths.size(); ++i)
        FUZZ_CHECK(!paths[i].isEmpty(), QStringLiteral("an empty folder name"));
    FUZZ_CHECK(book.people().isEmpty(), QStringLiteral("persons from no card"));
    return 0;
}
