// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

/// Where the address book's persons come from: the paths the user named (on the command line,
/// else in BRISKO_ADDRESS_BOOK), else the desktop's vCard folders and khard's address books,
/// with the sample book standing in when none of them holds anybody.
namespace AddressBookSources {

struct Choice
{
    /// Files and folders to read, in order.
    QStringList roots;
    /// The user named the sources; the desktop's contact store and the sample book are left out.
    bool userChose = false;
    /// The bundle's sample book, read when the desktop's sources hold nobody; empty when the
    /// user chose.
    QString sampleBook;
};

/// Whether `requested` (the command line's paths) or BRISKO_ADDRESS_BOOK names any source.
bool userChose(const QStringList &requested);

/// The sources of a load. Sources the user named that do not exist are reported on standard
/// error, and still read: they may appear later.
Choice choose(const QStringList &requested);

/// Tells the user on standard error what reading the sources found wrong, a message a line.
void report(const QStringList &messages);

/// $XDG_DATA_HOME/contacts and $XDG_DATA_HOME/kpeoplevcard (~/.local/share when unset), where
/// KDE's and GNOME's contact programs keep their vCard folders.
QStringList desktopFolders();

} // namespace AddressBookSources
