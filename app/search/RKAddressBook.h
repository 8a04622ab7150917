// SPDX-License-Identifier: MIT
#pragma once

#include "app/search/FoldedNames.h"
#include "app/search/SearchFolding.h"
#include "platform/addressbook/AddressBook.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

/// Finds the persons of an address book whose properties contain every word of a typed
/// pattern. Built for typing: every result is cached under its pattern, and a pattern whose
/// prefix (without its last UTF-16 unit) was searched before is matched only against that
/// prefix's result.
///
/// The engine searches an index of the persons' folded text. A new index (after the address
/// book changed, or the options did) is built away from the calling thread when asked with
/// updateIndexInBackground(); until it is in, patterns are answered from the previous one.
class RKAddressBook final : public QObject
{
    Q_OBJECT

public:
    using Options = SearchFolding::Options;

    explicit RKAddressBook(AddressBook &addressBook, QObject *parent = nullptr);
    ~RKAddressBook() override;

    /// Persons in whom each word of `pattern` (cut at U+0020 only) is contained,
    /// case-insensitively, in one of last, first, middle name, nickname, any postal address
    /// field, any phone, any e-mail, job title, organization, home page or note. Keeps the
    /// address book's order. A pattern of blanks only gives an empty list.
    QList<PersonPtr> personsMatchingPattern(const QString &pattern);
    /// The persons among `persons` that personsMatchingPattern() of an address book of just
    /// these persons would give under `options`, in their order; nothing is cached. For a
    /// caller that keeps no address book; safe on several threads at once.
    static QList<PersonPtr> personsMatchingPattern(const QString &pattern,
                                                   const QList<PersonPtr> &persons,
                                                   const Options &options);
    /// Forgets every cached result; the next pattern searches all persons again.
    void clearCache();

    void setOptions(const Options &options);
    Options options() const { return _options; }

    /// Brings the search index up to date with the address book and the options now, so
    /// that the next keystroke does not pay for it.
    void updateIndex();
    /// Starts bringing the index up to date on another thread; indexChanged() tells when the
    /// new one is in. Asking again while one is being built builds once more afterwards.
    void updateIndexInBackground();
    /// Whether the index holds the address book's current persons under the current options.
    bool isIndexCurrent() const;
    /// Whether an index of a loaded address book is in: until then every answer is empty.
    bool hasIndex() const;
    /// The indexed persons whose unique id is one of `ids`, found by the hashes of the ids the
    /// index keeps: no other person is reached into.
    QList<PersonPtr> indexedPersonsWithIds(const QSet<QString> &ids) const;
    /// The folded shown names of the persons personsMatchingPattern(`pattern`) answered, in
    /// its order; empty when that answer is not at hand (a pattern of blanks, a new index).
    FoldedNames foldedNamesOf(const QString &pattern) const;

    /// Persons tested against a pattern since construction (a cache hit tests none).
    quint64 personsExamined() const { return _personsExamined; }

Q_SIGNALS:
    /// A new index is in and the cached results of the old one are gone.
    void indexChanged();

private:
    struct Index;
    struct CacheEntry
    {
        QList<PersonPtr> persons;
        std::vector<quint32> rows; // positions of `persons` in the index
    };

    const Index &_index();
    void _setIndex(std::shared_ptr<const Index> index);
    void _finishBackgroundBuild();

    AddressBook &_addressBook;
    Options _options;
    std::shared_ptr<const Index> _currentIndex;
    QHash<QString, CacheEntry> _matchCache;
    quint64 _personsExamined = 0;

    std::thread _builder;
    std::mutex _builtLock;
    std::shared_ptr<const Index> _built;
    bool _buildAgain = false;
};
