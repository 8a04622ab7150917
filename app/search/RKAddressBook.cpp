// SPDX-License-Identifier: MIT
#include "app/search/RKAddressBook.h"

#include "app/search/MatchExplanation.h"
#include "platform/core/BackgroundRelease.h"

#include <QSet>
#include <QStringView>

#include <algorithm>
#include <cstring>

namespace {

// Separates the searched values of a person in the index text, so that a word never
// matches across two values; folding turns a NUL inside a value into U+FFFD.
constexpr char kSeparator = '\0';

// Looking for the needle's first byte with the vectorised memchr and comparing the rest only
// there is several times faster than a general substring search on the short words typed
// into a search field.
qsizetype indexOfFast(QByteArrayView text, QByteArrayView needle, qsizetype from = 0)
{
    if (needle.isEmpty())
        return from;
    const char first = needle.front();
    const qsizetype rest = needle.size() - 1;
    const qsizetype last = text.size() - needle.size();
    const char *data = text.data();
    while (from <= last) {
        const void *found = std::memchr(data + from, first, size_t(last - from + 1));
        if (!found)
            return -1;
        const qsizetype at = static_cast<const char *>(found) - data;
        if (std::memcmp(data + at + 1, needle.data() + 1, size_t(rest)) == 0)
            return at;
        from = at + 1;
    }
    return -1;
}

// The words of a pattern: cut at U+0020 only, empty pieces dropped.
QList<QStringView> wordsOf(QStringView pattern)
{
    QList<QStringView> words;
    for (QStringView piece : pattern.tokenize(u' ', Qt::SkipEmptyParts))
        words.append(piece);
    return words;
}

struct Needle
{
    QByteArray text;   // folded
    QByteArray digits; // the digits a phone number must contain, when the word is one
};

size_t idHashOf(const Person &person)
{
    const QByteArrayView stored = person.storedUniqueId();
    return stored.isEmpty() ? qHash(person.uniqueId().toUtf8()) : qHash(stored);
}

Needle needleOf(QStringView word, const SearchFolding::Options &options)
{
    Needle needle;
    needle.text = SearchFolding::folded(word, options.ignoreAccents);
    if (options.matchPhoneDigits)
        needle.digits = SearchFolding::phoneDigitsOfWord(word);
    return needle;
}

} // namespace

struct RKAddressBook::Index
{
    quint64 generation = 0;
    bool loaded = false;
    Options options;
    QList<PersonPtr> people;
    // Folded searched values of every person, each followed by the separator; person i owns
    // [start[i], start[i + 1]).
    QByteArray text;
    std::vector<qsizetype> start;
    // With matchPhoneDigits: the digits of every phone number, laid out the same way.
    QByteArray digits;
    std::vector<qsizetype> digitStart;
    // The name the list shows for each person, folded; for ordering and laying out results.
    QByteArray names;
    std::vector<qsizetype> nameStart;
    // The hash of each person's unique id, for finding persons by id.
    std::vector<size_t> idHash;

    QByteArrayView textOf(size_t row) const
    {
        return QByteArrayView(text).sliced(start[row], start[row + 1] - start[row]);
    }

    bool matches(size_t row, const Needle &needle) const
    {
        if (indexOfFast(textOf(row), needle.text) >= 0)
            return true;
        if (needle.digits.isEmpty())
            return false;
        const QByteArrayView phoneDigits =
            QByteArrayView(digits).sliced(digitStart[row], digitStart[row + 1] - digitStart[row]);
        return indexOfFast(phoneDigits, needle.digits) >= 0;
    }

    // The rows in whom every one of `words` (at least one) is contained.
    std::vector<quint32> rowsMatching(const QList<QStringView> &words) const;

    static std::shared_ptr<const Index> build(QList<PersonPtr> people, quint64 generation,
                                              bool loaded, Options options);
};

std::shared_ptr<const RKAddressBook::Index> RKAddressBook::Index::build(QList<PersonPtr> people,
                                                                        quint64 generation,
                                                                        bool loaded,
                                                                        Options options)
{
    auto index = std::make_shared<Index>();
    index->generation = generation;
    index->loaded = loaded;
    index->options = options;
    index->people = std::move(people);

    // Folding a hundred thousand persons takes a while: each core folds a stretch of them.
    struct Part
    {
        QByteArray text, digits, names;
        std::vector<qsizetype> start, digitStart, nameStart;
        std::vector<size_t> idHash;
    };
    const size_t count = size_t(index->people.size());
    const size_t parts = count < 4096 ? 1 : std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    std::vector<Part> built(parts);
    // Read through a const list: a non-const access would detach the list, shared with the
    // address book, from every thread at once.
    const QList<PersonPtr> &persons = index->people;
    auto fold = [&](size_t p) {
        Part &part = built[p];
        const size_t first = count * p / parts, end = count * (p + 1) / parts;
        part.start.reserve(end - first);
        for (size_t row = first; row < end; ++row) {
            part.start.push_back(part.text.size());
            part.digitStart.push_back(part.digits.size());
            part.nameStart.push_back(part.names.size());
            MatchExplanation::appendFoldedName(part.names, *persons.at(qsizetype(row)),
                                               options.ignoreAccents);
            part.idHash.push_back(idHashOf(*persons.at(qsizetype(row))));
            persons.at(qsizetype(row))
                ->forEachSearchedValue([&](Person::Kind kind, QByteArrayView value) {
                    SearchFolding::appendFolded(part.text, value, options.ignoreAccents);
                    part.text.append(kSeparator);
                    if (options.matchPhoneDigits && kind == Person::Kind::Phone) {
                        SearchFolding::appendPhoneDigits(part.digits, value);
                        part.digits.append(kSeparator);
                    }
                });
        }
    };
    std::vector<std::thread> pool;
    for (size_t p = 1; p < parts; ++p)
        pool.emplace_back(fold, p);
    fold(0);
    for (std::thread &thread : pool)
        thread.join();

    qsizetype textSize = 0, digitsSize = 0, namesSize = 0;
    for (const Part &part : built) {
        textSize += part.text.size();
        digitsSize += part.digits.size();
        namesSize += part.names.size();
    }
    index->text.reserve(textSize);
    index->digits.reserve(digitsSize);
    index->names.reserve(namesSize);
    index->start.reserve(count + 1);
    index->digitStart.reserve(count + 1);
    index->nameStart.reserve(count + 1);
    index->idHash.reserve(count);
    for (Part &part : built) {
        for (const qsizetype at : part.start)
            index->start.push_back(index->text.size() + at);
        for (const qsizetype at : part.digitStart)
            index->digitStart.push_back(index->digits.size() + at);
        for (const qsizetype at : part.nameStart)
            index->nameStart.push_back(index->names.size() + at);
        index->idHash.insert(index->idHash.end(), part.idHash.begin(), part.idHash.end());
        index->text.append(part.text);
        index->digits.append(part.digits);
        index->names.append(part.names);
        part = Part();
    }
    index->start.push_back(index->text.size());
    index->digitStart.push_back(index->digits.size());
    index->nameStart.push_back(index->names.size());
    return index;
}

std::vector<quint32> RKAddressBook::Index::rowsMatching(const QList<QStringView> &words) const
{
    // A pasted pattern may repeat words: each distinct one is searched once, the longest
    // (likely the rarest) first, so that most persons fail early.
    std::vector<Needle> needles;
    QSet<QByteArray> seen;
    for (QStringView word : words) {
        Needle needle = needleOf(word, options);
        // A word that folds to nothing (accents alone) is contained in everyone.
        if (!needle.text.isEmpty() && !seen.contains(needle.text)) {
            seen.insert(needle.text);
            needles.push_back(std::move(needle));
        }
    }
    std::stable_sort(needles.begin(), needles.end(), [](const Needle &a, const Needle &b) {
        return a.text.size() > b.text.size();
    });
    // The scan is driven by a word that can only match as text.
    const auto driver = std::find_if(needles.begin(), needles.end(),
                                     [](const Needle &n) { return n.digits.isEmpty(); });
    if (driver != needles.end())
        std::rotate(needles.begin(), driver, driver + 1);

    auto matchesFrom = [&](size_t row, size_t firstNeedle) {
        for (size_t n = firstNeedle; n < needles.size(); ++n) {
            if (!matches(row, needles[n]))
                return false;
        }
        return true;
    };
    const size_t count = size_t(people.size());
    std::vector<quint32> rows;
    if (needles.empty() || !needles.front().digits.isEmpty()) {
        for (size_t row = 0; row < count; ++row) {
            if (matchesFrom(row, 0))
                rows.push_back(quint32(row));
        }
    } else {
        // One pass over the whole text for the first word; a hit jumps to the next
        // person, so each person is scanned at most once.
        const QByteArrayView all(text);
        const QByteArray &first = needles.front().text;
        size_t row = 0;
        qsizetype from = 0;
        while (row < count) {
            const qsizetype at = indexOfFast(all, first, from);
            if (at < 0)
                break;
            while (start[row + 1] <= at)
                ++row;
            if (at + first.size() <= start[row + 1] && matchesFrom(row, 1))
                rows.push_back(quint32(row));
            from = start[row + 1];
            ++row;
        }
    }
    return rows;
}

RKAddressBook::RKAddressBook(AddressBook &addressBook, QObject *parent)
    : QObject(parent)
    , _addressBook(addressBook)
{}

RKAddressBook::~RKAddressBook()
{
    if (_builder.joinable())
        _builder.join();
}

void RKAddressBook::setOptions(const Options &options)
{
    _options = options;
}

void RKAddressBook::_setIndex(std::shared_ptr<const Index> index)
{
    // Cached results hold rows of the old index, and maybe old persons or old options.
    _matchCache.clear();
    // The old index may hold the last references to the persons of an old load.
    releaseInBackground(std::exchange(_currentIndex, std::move(index)));
}

const RKAddressBook::Index &RKAddressBook::_index()
{
    if (isIndexCurrent())
        return *_currentIndex;
    // A fresher index is on its way: answer from the one at hand until it is in.
    if (_builder.joinable() && _currentIndex)
        return *_currentIndex;
    updateIndex();
    return *_currentIndex;
}

void RKAddressBook::updateIndex()
{
    if (_builder.joinable()) {
        _builder.join();
        std::shared_ptr<const Index> built;
        {
            std::lock_guard<std::mutex> lock(_builtLock);
            built.swap(_built);
        }
        _setIndex(std::move(built));
    }
    if (!isIndexCurrent())
        _setIndex(Index::build(_addressBook.people(), _addressBook.generation(),
                               _addressBook.isLoaded(), _options));
}

void RKAddressBook::updateIndexInBackground()
{
    if (_builder.joinable()) {
        _buildAgain = true;
        return;
    }
    _buildAgain = false;
    if (isIndexCurrent())
        return;
    _builder =
        std::thread([this, people = _addressBook.people(), generation = _addressBook.generation(),
                     loaded = _addressBook.isLoaded(), options = _options]() {
            std::shared_ptr<const Index> index = Index::build(people, generation, loaded, options);
            {
                std::lock_guard<std::mutex> lock(_builtLock);
                _built = std::move(index);
            }
            // The engine waits for this thread before it ends, so it is still there to be told.
            QMetaObject::invokeMethod(this, &RKAddressBook::_finishBackgroundBuild,
                                      Qt::QueuedConnection);
        });
}

void RKAddressBook::_finishBackgroundBuild()
{
    std::shared_ptr<const Index> built;
    {
        // updateIndex() may have taken it in already.
        std::lock_guard<std::mutex> lock(_builtLock);
        built.swap(_built);
    }
    if (!built)
        return;
    _builder.join();
    _setIndex(std::move(built));
    if (_buildAgain || !isIndexCurrent())
        updateIndexInBackground();
    Q_EMIT indexChanged();
}

QList<PersonPtr> RKAddressBook::personsMatchingPattern(const QString &pattern)
{
    const Index &index = _index();
    if (const auto hit = _matchCache.constFind(pattern); hit != _matchCache.constEnd())
        return hit->persons;

    const QList<QStringView> words = wordsOf(pattern);
    // Blanks alone match no one, but are not cached: a cached empty result would wrongly
    // narrow the next keystroke (" s" would find nothing).
    if (words.isEmpty())
        return {};

    // Appending one unit to a pattern only lengthens its last word, adds a blank or starts a
    // new word: the prefix's persons already hold every other word, so they are tested for
    // the last word alone. Two exceptions search everyone: a unit that completes a surrogate
    // pair (the prefix was cut inside a character), and a word that has just become a phone
    // number, which now also matches by its digits.
    const CacheEntry *prefixEntry = nullptr;
    const Needle last = needleOf(words.constLast(), index.options);
    if (pattern.size() > 1 && !pattern.back().isLowSurrogate()) {
        const QString prefix = QStringView(pattern).chopped(1).toString();
        const auto found = _matchCache.constFind(prefix);
        const bool becamePhoneNumber =
            !last.digits.isEmpty() && !prefix.endsWith(QLatin1Char(' ')) &&
            needleOf(wordsOf(prefix).constLast(), index.options).digits.isEmpty();
        if (found != _matchCache.constEnd() && !becamePhoneNumber)
            prefixEntry = &*found;
    }

    CacheEntry entry;
    if (prefixEntry) {
        _personsExamined += prefixEntry->rows.size();
        if (pattern.back() == QLatin1Char(' ')) {
            entry = *prefixEntry;
        } else {
            for (size_t i = 0; i < prefixEntry->rows.size(); ++i) {
                const quint32 row = prefixEntry->rows[i];
                if (index.matches(row, last)) {
                    entry.rows.push_back(row);
                    entry.persons.append(prefixEntry->persons[qsizetype(i)]);
                }
            }
        }
    } else {
        entry.rows = index.rowsMatching(words);
        _personsExamined += quint64(index.people.size());
        entry.persons.reserve(qsizetype(entry.rows.size()));
        for (const quint32 row : entry.rows)
            entry.persons.append(index.people[qsizetype(row)]);
    }
    const QList<PersonPtr> result = entry.persons;
    _matchCache.insert(pattern, std::move(entry));
    return result;
}

QList<PersonPtr> RKAddressBook::personsMatchingPattern(const QString &pattern,
                                                       const QList<PersonPtr> &persons,
                                                       const Options &options)
{
    const QList<QStringView> words = wordsOf(pattern);
    if (words.isEmpty() || persons.isEmpty())
        return {};
    const std::shared_ptr<const Index> index = Index::build(persons, 0, true, options);
    QList<PersonPtr> matches;
    for (const quint32 row : index->rowsMatching(words))
        matches.append(index->people[qsizetype(row)]);
    return matches;
}

void RKAddressBook::clearCache()
{
    _matchCache.clear();
}

bool RKAddressBook::isIndexCurrent() const
{
    return _currentIndex && _currentIndex->generation == _addressBook.generation() &&
           _currentIndex->loaded == _addressBook.isLoaded() && _currentIndex->options == _options;
}

bool RKAddressBook::hasIndex() const
{
    return _currentIndex && _currentIndex->loaded;
}

QList<PersonPtr> RKAddressBook::indexedPersonsWithIds(const QSet<QString> &ids) const
{
    QList<PersonPtr> found;
    if (!_currentIndex || ids.isEmpty())
        return found;
    QSet<size_t> wanted;
    for (const QString &id : ids)
        wanted.insert(qHash(id.toUtf8()));
    const Index &index = *_currentIndex;
    for (size_t row = 0; row < index.idHash.size(); ++row) {
        // Two ids may share a hash: the person's own id decides.
        if (wanted.contains(index.idHash[row]) &&
            ids.contains(index.people[qsizetype(row)]->uniqueId()))
            found.append(index.people[qsizetype(row)]);
    }
    return found;
}

FoldedNames RKAddressBook::foldedNamesOf(const QString &pattern) const
{
    const auto entry = _matchCache.constFind(pattern);
    // Names folded another way than the words will be are of no use.
    if (!_currentIndex || entry == _matchCache.constEnd() ||
        _currentIndex->options.ignoreAccents != _options.ignoreAccents)
        return {};
    const Index &index = *_currentIndex;
    return FoldedNames(_currentIndex, QByteArrayView(index.names), index.nameStart.data(),
                       entry->rows);
}
