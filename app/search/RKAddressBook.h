// SPDX-License-Identifier: MIT
#pragma once

#include "addressbook/AddressBook.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

/// Finds the persons of an address book whose properties contain every word of a typed
/// pattern. Built for typing: every result is cached under its pattern, and a pattern whose
/// prefix (without its last UTF-16 unit) was searched before is matched only against that
/// prefix's result.
class RKAddressBook final : public QObject
{
    Q_OBJECT

public:
    explicit RKAddressBook(AddressBook &addressBook, QObject *parent = nullptr);
    ~RKAddressBook() override;

    /// Persons in whom each word of `pattern` (cut at U+0020 only) is contained,
    /// case-insensitively, in one of last, first, middle name, nickname, any postal address
    /// field, any phone, any e-mail, job title, organization, home page or note. Keeps the
    /// address book's order. A pattern of blanks only gives an empty list.
    QList<PersonPtr> personsMatchingPattern(const QString &pattern);
    /// Forgets every cached result; the next pattern searches all persons again.
    void clearCache();
    /// Brings the search index up to date with the address book now, so that the next
    /// keystroke does not pay for it (a hundred thousand persons take a fifth of a second).
    void updateIndex() { _index(); }
    /// Whether the index holds the address book's current persons.
    bool isIndexCurrent() const;

    /// Persons tested against a pattern since construction (a cache hit tests none).
    quint64 personsExamined() const { return _personsExamined; }

private:
    struct Index;
    struct CacheEntry
    {
        QList<PersonPtr> persons;
        std::vector<quint32> rows; // positions of `persons` in the index
    };

    const Index &_index();

    AddressBook &_addressBook;
    std::shared_ptr<const Index> _currentIndex;
    QHash<QString, CacheEntry> _matchCache;
    quint64 _personsExamined = 0;
};
