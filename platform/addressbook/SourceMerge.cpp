// SPDX-License-Identifier: MIT
#include "platform/addressbook/SourceMerge.h"

#include <QCryptographicHash>
#include <QSet>

namespace SourceMerge {

QList<PersonPtr> merged(const AddressBookFiles &table, const QList<PersonPtr> &storePersons)
{
    QList<PersonPtr> people;
    people.reserve(table.persons.size() + storePersons.size());
    QSet<QByteArrayView> seen;
    seen.reserve(table.persons.size());
    for (const AddressBookFiles::File &file : table.files) {
        for (qsizetype i = 0; i < file.count; ++i) {
            const PersonPtr &person = table.persons[file.first + i];
            const QByteArrayView id = person->storedUniqueId();
            if (id.isEmpty() || !seen.contains(id)) {
                seen.insert(id);
                people.append(person);
                continue;
            }
            const QByteArray digest =
                QCryptographicHash::hash(file.origin->nativePath, QCryptographicHash::Sha1)
                    .toHex()
                    .left(8);
            const QString unique =
                QStringLiteral("%1#%2-%3").arg(person->uniqueId(), QLatin1String(digest)).arg(i);
            people.append(std::make_shared<const Person>(person->withUniqueId(unique)));
            seen.insert(people.constLast()->storedUniqueId());
        }
    }
    for (const PersonPtr &person : storePersons) {
        const QByteArrayView id = person->storedUniqueId();
        if (!id.isEmpty() && seen.contains(id))
            continue;
        seen.insert(id);
        people.append(person);
    }
    return people;
}

} // namespace SourceMerge
