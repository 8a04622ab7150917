// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// The labels of phones, e-mail, web and postal addresses in the form the address book stores
/// them ("_$!<Mobile>!$_", …). Persons keep them by number, so the numbers never change.
namespace StoredLabel {

enum Number : quint8
{
    None = 0,
    Mobile = 1,
    Work = 2,
    Home = 3,
    WorkFax = 4,
    HomeFax = 5,
    Pager = 6,
    Main = 7,
    Other = 8,
    HomePage = 9,
    IPhone = 10,
    Count,
};

/// The stored form of `number`; empty for None and for numbers no label has.
QString text(quint8 number);
/// The number of a stored form; None for any other text, which is kept as a custom label.
quint8 number(const QString &text);

} // namespace StoredLabel
