// SPDX-License-Identifier: MIT
// The version texts, kept apart from the checker's fetching and alerts so that the reader of
// the version file, which comes from the web, can be built and fuzzed alone.
#include "app/update/VersionChecker.h"

#include <QByteArrayView>
#include <QStringList>

#include <algorithm>

namespace {

/// Reads a hexadecimal number at the start of `text` (blanks and "0x" allowed before it).
bool scanHex(QByteArrayView text, std::uint32_t *value)
{
    qsizetype i = 0;
    while (i < text.size() &&
           (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'))
        ++i;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X'))
        i += 2;
    const qsizetype start = i;
    std::uint64_t result = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        result = std::min<std::uint64_t>(result * 16 + std::uint64_t(digit), UINT32_MAX);
    }
    if (i == start)
        return false;
    *value = static_cast<std::uint32_t>(result);
    return true;
}

} // namespace

std::uint32_t VersionChecker::parseVersionString(const QString &string)
{
    const QStringList parts = string.split(QLatin1Char('.'));
    std::uint32_t value = 0;
    for (const QString &part : parts) {
        std::uint32_t component = 0;
        if (!scanHex(part.toLatin1(), &component))
            return 0;
        value = (value * 16) | component;
    }
    if (parts.size() == 1)
        value <<= 8;
    else if (parts.size() == 2)
        value <<= 4;
    return value;
}

std::uint32_t VersionChecker::versionFromFile(const QByteArray &contents)
{
    std::uint32_t version = 0;
    return scanHex(contents, &version) ? version : 0;
}
