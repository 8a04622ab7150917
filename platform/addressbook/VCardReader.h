// SPDX-License-Identifier: MIT
#pragma once

#include "addressbook/Person.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

/// Reads vCard 2.1, 3.0 and 4.0 text into persons. A card that cannot be read is left out
/// and described by one message naming the file and the line where the card begins; the
/// other cards of the file are kept.
namespace VCardReader {

/// Persons of the cards in `data`, in file order. `filePath` names the source in messages,
/// in Person::filePath() and in the ids of cards without UID.
QList<PersonPtr> readData(const QByteArray &data, const QString &filePath,
                          QStringList *messages = nullptr);

/// Reads a whole file; a file that cannot be opened gives one message and no persons.
QList<PersonPtr> readFile(const QString &filePath, QStringList *messages = nullptr);

} // namespace VCardReader
