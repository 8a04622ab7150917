// SPDX-License-Identifier: MIT
#include "platform/addressbook/AddressBookSource.h"

#ifdef BRISKO_WITH_EDS
#include "platform/addressbook/eds/EdsAddressBookSource.h"
#endif

namespace {

bool switchedOff(const char *variable)
{
    const QString value = qEnvironmentVariable(variable).trimmed().toLower();
    return value == QLatin1String("0") || value == QLatin1String("false") ||
           value == QLatin1String("no") || value == QLatin1String("off");
}

} // namespace

std::unique_ptr<AddressBookSource> AddressBookSource::createDefault()
{
    if (switchedOff("BRISKO_EDS"))
        return nullptr;
#ifdef BRISKO_WITH_EDS
    return std::make_unique<EdsAddressBookSource>();
#else
    return nullptr;
#endif
}
