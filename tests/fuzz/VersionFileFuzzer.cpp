// SPDX-License-Identifier: MIT
// The version file the update check fetches from the maker's web site, or from whatever answers
// in its place (a captive portal, a proxy's error page).
#include "tests/fuzz/FuzzSupport.h"

#include "app/update/VersionChecker.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzSupport::start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray contents = FuzzSupport::bytes(data, size);
    const std::uint32_t version = VersionChecker::versionFromFile(contents);
    if (version != 0) {
        // A version read is one the file spells out (unless too large for any version).
        const QByteArray digits = QByteArray::number(version, 16);
        FUZZ_CHECK(
            version == UINT32_MAX || contents.toLower().contains(digits),
            QStringLiteral("version %1 is not in the file").arg(QString::fromLatin1(digits)));
        FUZZ_CHECK(
            VersionChecker::versionFromFile(digits) == version,
            QStringLiteral("version %1 read back otherwise").arg(QString::fromLatin1(digits)));
    }
    VersionChecker::parseVersionString(QString::fromLatin1(contents));
    return 0;
}
