// SPDX-License-Identifier: MIT
#include "search/RKAddressBook.h"

#include <QStringView>

namespace {

// Separates the searched values of a person (and persons from each other) in the index
// text, so that a word never matches across two values.
constexpr char16_t kSeparator = u'\0';

// Qt's case-insensitive comparison folds every code point with its simple case folding,
// which keeps the length in UTF-16 units; folding the text once up front and comparing
// exactly afterwards therefore finds the same matches without folding in the hot loop.
void appendFolded(QString &out, QStringView text)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            out.append(QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32)
                             : c == kSeparator      ? u'\uFFFD'
                                                    : c));
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            const char32_t folded =
                QChar::toCaseFolded(QChar::surrogateToUcs4(c, text[i + 1].unicode()));
            out.append(QChar(QChar::highSurrogate(folded)));
            out.append(QChar(QChar::lowSurrogate(folded)));
            ++i;
        } else {
            out.append(QChar(QChar::toCaseFolded(c)));
        }
    }
}

QString folded(QStringView text)
{
    QString out;
    out.reserve(text.size());
    appendFolded(out, text);
    return out;
}

// Qt's general substring search hashes its way through the text one unit at a time; looking
// for the needle's first unit with the vectorised character search and comparing the rest
// only there is several times faster on the short words typed into a search field.
qsizetype indexOfFast(QStringView text, QStringView needle, qsizetype from = 0)
{
    const QChar first = needle.front();
    const QStringView rest = needle.sliced(1);
    const qsizetype last = text.size() - needle.size();
    while (from <= last) {
        const qsizetype at = text.indexOf(first, from);
        if (at < 0 || at > last)
            return -1;
        if (text.sliced(at + 1, rest.size()) == rest)
            return at;
        from = at + 1;
    }
    return -1;
}

// Every value of the eleven searched properties, in their order.
template <typename Visit>
void forEachSearchedValue(const Person &person, Visit visit)
{
    static const QLatin1String addressKeys[] = {QLatin1String("Street"), QLatin1String("City"),
                                                QLatin1String("State"), QLatin1String("ZIP"),
                                                QLatin1String("Country")};
    visit(person.lastName());
    visit(person.firstName());
    visit(person.middleName());
    visit(person.nickname());
    for (const LabeledValue &address : person.addresses()) {
        const QVariantMap fields = address.value.toMap();
        for (const QLatin1String &key : addressKeys) {
            const auto it = fields.constFind(key);
            if (it != fields.constEnd())
                visit(it->toString());
        }
    }
    for (const LabeledValue &phone : person.phones())
        visit(phone.value.toString());
    for (const LabeledValue &email : person.emails())
        visit(email.value.toString());
    visit(person.jobTitle());
    visit(person.organization());
    visit(person.homePage());
    visit(person.note());
}

// The words of a pattern: cut at U+0020 only, empty pieces dropped.
QList<QStringView> wordsOf(QStringView pattern)
{
    QList<QStringView> words;
    for (QStringView piece : pattern.tokenize(u' ', Qt::SkipEmptyParts))
        words.append(piece);
    return words;
}

} // namespace

struct RKAddressBook::Index
{
    quint64 generation = 0;
    QList<PersonPtr> people;
    // Folded searched values of every person; person i owns [start[i], start[i + 1]).
    QString text;
    std::vector<qsizetype> start;

    QStringView textOf(size_t row) const
    {
        return QStringView(text).sliced(start[row], start[row + 1] - start[row]);
    }

    // A word holding the separator cannot be looked up in the folded text; such a word
    // (only ever pasted) is compared against the values one by one.
    static bool slowMatch(const Person &person, const QString &word)
    {
        bool found = false;
        forEachSearchedValue(person, [&](const QString &value) {
            found = found || value.contains(word, Qt::CaseInsensitive);
        });
        return found;
    }
};

RKAddressBook::RKAddressBook(AddressBook &addressBook, QObject *parent)
    : QObject(parent)
    , _addressBook(addressBook)
{}

RKAddressBook::~RKAddressBook() = default;

const RKAddressBook::Index &RKAddressBook::_index()
{
    if (isIndexCurrent())
        return *_currentIndex;
    // The persons changed under us: cached results hold the old records and rows of the old
    // index, so they go too.
    _matchCache.clear();
    auto index = std::make_shared<Index>();
    index->generation = _addressBook.generation();
    index->people = _addressBook.people();
    index->start.reserve(size_t(index->people.size()) + 1);
    for (const PersonPtr &person : std::as_const(index->people)) {
        index->start.push_back(index->text.size());
        forEachSearchedValue(*person, [&](const QString &value) {
            if (value.isEmpty())
                return;
            appendFolded(index->text, value);
            index->text.append(QChar(kSeparator));
        });
        if (index->text.isEmpty() || index->text.back() != QChar(kSeparator))
            index->text.append(QChar(kSeparator));
    }
    index->start.push_back(index->text.size());
    index->text.squeeze();
    _currentIndex = std::move(index);
    return *_currentIndex;
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

    CacheEntry entry;
    // Appending one unit to a pattern only lengthens its last word, adds a blank or starts a
    // new word: the prefix's persons already hold every other word, so they are tested for
    // the last word alone.
    const CacheEntry *prefixEntry = nullptr;
    if (pattern.size() > 1) {
        const auto prefix = _matchCache.constFind(QStringView(pattern).chopped(1).toString());
        if (prefix != _matchCache.constEnd())
            prefixEntry = &*prefix;
    }

    QList<QString> needles;
    for (QStringView word : words)
        needles.append(folded(word));
    bool needsSlowMatch = false;
    for (QStringView word : words)
        needsSlowMatch = needsSlowMatch || word.contains(QChar(kSeparator));

    auto matchesAll = [&](size_t row, qsizetype firstWord) {
        if (needsSlowMatch) {
            for (qsizetype w = firstWord; w < words.size(); ++w) {
                if (!Index::slowMatch(*index.people[qsizetype(row)], words[w].toString()))
                    return false;
            }
            return true;
        }
        const QStringView text = index.textOf(row);
        for (qsizetype w = firstWord; w < needles.size(); ++w) {
            if (indexOfFast(text, needles[w]) < 0)
                return false;
        }
        return true;
    };

    if (prefixEntry) {
        const bool sameWords = pattern.back() == QLatin1Char(' ');
        _personsExamined += prefixEntry->rows.size();
        if (sameWords) {
            entry = *prefixEntry;
        } else {
            for (size_t i = 0; i < prefixEntry->rows.size(); ++i) {
                const quint32 row = prefixEntry->rows[i];
                if (matchesAll(row, needles.size() - 1)) {
                    entry.rows.push_back(row);
                    entry.persons.append(prefixEntry->persons[qsizetype(i)]);
                }
            }
        }
    } else {
        const size_t count = size_t(index.people.size());
        _personsExamined += count;
        if (needsSlowMatch) {
            for (size_t row = 0; row < count; ++row) {
                if (matchesAll(row, 0))
                    entry.rows.push_back(quint32(row));
            }
        } else {
            // One pass over the whole text for the first word; a hit jumps to the next
            // person, so each person is scanned at most once.
            const QStringView all(index.text);
            const QString &first = needles.constFirst();
            size_t row = 0;
            qsizetype from = 0;
            while (row < count) {
                const qsizetype at = indexOfFast(all, first, from);
                if (at < 0)
                    break;
                while (index.start[row + 1] <= at)
                    ++row;
                if (at + first.size() <= index.start[row + 1] && matchesAll(row, 1))
                    entry.rows.push_back(quint32(row));
                from = index.start[row + 1];
                ++row;
            }
        }
        entry.persons.reserve(qsizetype(entry.rows.size()));
        for (const quint32 row : entry.rows)
            entry.persons.append(index.people[qsizetype(row)]);
    }
    const QList<PersonPtr> result = entry.persons;
    _matchCache.insert(pattern, std::move(entry));
    return result;
}

void RKAddressBook::clearCache()
{
    _matchCache.clear();
}

bool RKAddressBook::isIndexCurrent() const
{
    return _currentIndex && _currentIndex->generation == _addressBook.generation();
}
