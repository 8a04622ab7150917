// SPDX-License-Identifier: MIT
#include "platform/addressbook/StoredLabel.h"

#include <iterator>

namespace {

// By number; a number added to the enumeration needs its text here.
constexpr QLatin1String kTexts[] = {
    QLatin1String(""),
    QLatin1String("_$!<Mobile>!$_"),
    QLatin1String("_$!<Work>!$_"),
    QLatin1String("_$!<Home>!$_"),
    QLatin1String("_$!<WorkFAX>!$_"),
    QLatin1String("_$!<HomeFAX>!$_"),
    QLatin1String("_$!<Pager>!$_"),
    QLatin1String("_$!<Main>!$_"),
    QLatin1String("_$!<Other>!$_"),
    QLatin1String("_$!<HomePage>!$_"),
    QLatin1String("iPhone"),
};
static_assert(std::size(kTexts) == StoredLabel::Count);

} // namespace

namespace StoredLabel {

QString text(quint8 number)
{
    return number < std::size(kTexts) ? QString(kTexts[number]) : QString();
}

quint8 number(const QString &text)
{
    for (size_t i = 1; i < std::size(kTexts); ++i) {
        if (text == kTexts[i])
            return quint8(i);
    }
    return None;
}

} // namespace StoredLabel
