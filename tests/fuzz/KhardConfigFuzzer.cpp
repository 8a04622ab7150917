// SPDX-License-Identifier: MIT
// khard's configuration file, as the user or their tools wrote it: the address book reads the
// folders of its [addressbooks] section.
#include "tests/fuzz/FuzzSupport.h"

#include "platform/addressbook/KhardConfiguration.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzSupport::start(argc, argv);
    FuzzSupport::privateHome();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray config = FuzzSupport::bytes(data, size);
    const QStringList paths = KhardConfiguration::addressBookPaths(config);
    // Only the address book section names folders, each from a path key of its own.
    FUZZ_CHECK(paths.isEmpty() || config.toLower().contains("[addressbooks]"),
               QStringLiteral("%1 folders without an address book section").arg(paths.size()));
    FUZZ_CHECK(paths.size() <= config.count("path"),
               QStringLiteral("%1 folders from fewer path keys").arg(paths.size()));
    for (const QString &path : paths)
        FUZZ_CHECK(!path.isEmpty(), QStringLiteral("an empty folder name"));
    FUZZ_CHECK(KhardConfiguration::addressBookPaths(config) == paths,
               QStringLiteral("a second reading named other folders"));
    return 0;
}
