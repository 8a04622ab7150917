// SPDX-License-Identifier: MIT
// The property-list check and reader on settings files and Info.plists in either format, as
// this desktop's tools or another machine's wrote them.
#include "tests/fuzz/FuzzSupport.h"

#include "platform/core/PropertyList.h"
#include "platform/core/PropertyListCheck.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzSupport::start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = FuzzSupport::bytes(data, size);
    QString problem;
    PropertyListCheck::isXmlWithinLimits(input, &problem);
    PropertyListCheck::isBinaryWithinLimits(input, &problem);

    QString error;
    const QVariant value = PropertyList::fromData(input, &error);
    if (!value.isValid())
        return 0;
    // What was read is written and read back as the same value: the settings store rewrites
    // every file it read.
    const QByteArray xml = PropertyList::toXml(value);
    FUZZ_CHECK(!xml.isEmpty(), QStringLiteral("a value read has no property-list form"));
    const QVariant again = PropertyList::fromData(xml, &error);
    FUZZ_CHECK(again.isValid(), QStringLiteral("its own XML is refused: %1").arg(error));
    FUZZ_CHECK(PropertyList::toXml(again) == xml,
               QStringLiteral("written again it differs:\n%1\n%2")
                   .arg(QString::fromUtf8(xml), QString::fromUtf8(PropertyList::toXml(again))));
    return 0;
}
