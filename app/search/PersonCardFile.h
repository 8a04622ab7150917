// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/Person.h"

#include <QString>

/// A person's own vCard on its own. Contacts programs import every card of a file they are
/// handed, so a person who shares a file with others is handed over as a copy of their card
/// alone.
namespace PersonCardFile {

/// The person's vCard file when their card is the only one in it and its name ends in .vcf
/// or .vcard; otherwise (or for a person of a contact store, which has no file) a copy of just
/// that card, written to a folder only the user may read. Empty when the file no longer holds
/// the card (changed or removed since it was read) or no copy could be written; `problem`
/// then says which.
QString fileWithCardAlone(const Person &person, QString *problem = nullptr);

/// The private folder of the copies in the session's runtime folder, made when missing and
/// kept at mode 0700; empty when the place holds a link, something other than a folder or a
/// folder of someone else's.
QString copiesFolder();

} // namespace PersonCardFile
