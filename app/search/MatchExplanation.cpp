// SPDX-License-Identifier: MIT
#include "app/search/MatchExplanation.h"

#include <QSet>

#include <algorithm>

namespace MatchExplanation {

namespace {

// Only this much of a value is looked through: a note of megabytes would otherwise cost a
// visible pause for each row that shows it.
constexpr qsizetype kMaxExaminedCharacters = 100000;

bool isCompany(const Person &person)
{
    return (person.flags() & Person::ShowAsMask) == Person::ShowAsCompany;
}

QString oneLine(QString text)
{
    // Same length, so that ranges found in it hold for the original too.
    for (QChar &c : text) {
        if (c == u'\n' || c == u'\r' || c == u'\t' || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return text;
}

void addRange(QList<Range> &ranges, std::pair<qsizetype, qsizetype> span)
{
    ranges.append({span.first, span.second - span.first});
}

/// Where the digits of a phone number are, with their positions in the text.
struct PhoneDigits
{
    QByteArray digits;
    std::vector<qsizetype> at;
};

PhoneDigits phoneDigitsOf(QStringView text)
{
    PhoneDigits out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] >= u'0' && text[i] <= u'9') {
            out.digits.append(char(text[i].unicode()));
            out.at.push_back(i);
        }
    }
    return out;
}

QList<Range> merged(QList<Range> ranges)
{
    std::sort(ranges.begin(), ranges.end(),
              [](const Range &a, const Range &b) { return a.start < b.start; });
    QList<Range> out;
    for (const Range &range : ranges) {
        if (!out.isEmpty() && range.start <= out.last().start + out.last().length) {
            Range &last = out.last();
            last.length =
                std::max(last.start + last.length, range.start + range.length) - last.start;
        } else {
            out.append(range);
        }
    }
    return out;
}

QList<Range> emphasisIn(QStringView text, const Words &words, bool phone)
{
    text = text.first(std::min(text.size(), kMaxExaminedCharacters));
    const SearchFolding::FoldedText folded =
        SearchFolding::foldedWithSources(text, words.options().ignoreAccents);
    QList<Range> ranges;
    for (const Words::Word &word : words.words()) {
        const QByteArrayView haystack(folded.folded);
        for (qsizetype at = haystack.indexOf(word.text); at >= 0;
             at = haystack.indexOf(word.text, at + word.text.size()))
            addRange(ranges, folded.sourceOf(at, word.text.size()));
    }
    if (phone) {
        const PhoneDigits digits = phoneDigitsOf(text);
        for (const Words::Word &word : words.words()) {
            if (word.digits.isEmpty())
                continue;
            const QByteArrayView haystack(digits.digits);
            for (qsizetype at = haystack.indexOf(word.digits); at >= 0;
                 at = haystack.indexOf(word.digits, at + word.digits.size())) {
                const qsizetype from = digits.at[size_t(at)];
                const qsizetype to = digits.at[size_t(at + word.digits.size() - 1)] + 1;
                ranges.append({from, to - from});
            }
        }
    }
    return merged(std::move(ranges));
}

bool holds(QStringView value, const Words::Word &word, bool phone, bool ignoreAccents)
{
    value = value.first(std::min(value.size(), kMaxExaminedCharacters));
    if (SearchFolding::folded(value, ignoreAccents).contains(word.text))
        return true;
    return phone && !word.digits.isEmpty() && phoneDigitsOf(value).digits.contains(word.digits);
}

QString addressLine(const QVariantMap &address)
{
    const auto part = [&](const char *key) {
        return address.value(QLatin1String(key)).toString().trimmed();
    };
    QStringList place;
    for (const char *key : {"City", "State", "ZIP"}) {
        if (!part(key).isEmpty())
            place.append(part(key));
    }
    QStringList lines;
    for (const QString &line : {part("Street"), place.join(u' '), part("Country")}) {
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines.join(QLatin1String(", "));
}

QString personName(const Person &person)
{
    QStringList parts;
    for (const QString &part : {person.firstName(), person.middleName(), person.lastName()}) {
        if (!part.trimmed().isEmpty())
            parts.append(part.trimmed());
    }
    return parts.join(u' ');
}

/// Cuts a long value to the part around its first match, keeping the ranges in step.
void cut(Detail &detail)
{
    const QString &value = detail.value;
    if (value.size() <= kMaxDetailCharacters)
        return;
    const qsizetype first = detail.emphasis.isEmpty() ? 0 : detail.emphasis.first().start;
    qsizetype begin = first > kContextBefore ? first - kContextBefore : 0;
    if (begin > 0 && value[begin].isLowSurrogate())
        --begin;
    qsizetype end = std::min(value.size(), begin + kMaxDetailCharacters);
    if (end < value.size() && value[end].isLowSurrogate())
        --end;
    const QString ellipsis(QChar(0x2026));
    const qsizetype shift = begin > 0 ? ellipsis.size() - begin : 0;
    QString shown = value.mid(begin, end - begin);
    if (begin > 0)
        shown.prepend(ellipsis);
    if (end < value.size())
        shown.append(ellipsis);
    QList<Range> emphasis;
    for (const Range &range : std::as_const(detail.emphasis)) {
        const qsizetype from = std::max(range.start, begin);
        const qsizetype to = std::min(range.start + range.length, end);
        if (from < to)
            emphasis.append({from + shift, to - from});
    }
    detail.value = shown;
    detail.emphasis = emphasis;
}

} // namespace

Words::Words(QStringView pattern, const SearchFolding::Options &options)
    : _options(options)
{
    QSet<QByteArray> seen;
    for (QStringView piece : pattern.tokenize(u' ', Qt::SkipEmptyParts)) {
        Word word;
        word.text = SearchFolding::folded(piece, options.ignoreAccents);
        // A word that folds to nothing is contained in everyone and tells nothing.
        if (word.text.isEmpty() || seen.contains(word.text))
            continue;
        seen.insert(word.text);
        if (options.matchPhoneDigits)
            word.digits = SearchFolding::phoneDigitsOfWord(piece);
        _words.push_back(std::move(word));
    }
}

void appendFoldedName(QByteArray &out, const Person &person, bool ignoreAccents)
{
    QByteArrayView first, middle, last, organization, email;
    person.forEachSearchedValue([&](Person::Kind kind, QByteArrayView text) {
        switch (kind) {
        case Person::Kind::FirstName:
            first = text;
            break;
        case Person::Kind::MiddleName:
            middle = text;
            break;
        case Person::Kind::LastName:
            last = text;
            break;
        case Person::Kind::Organization:
            organization = text;
            break;
        case Person::Kind::Email:
            if (email.isNull())
                email = text;
            break;
        default:
            break;
        }
    });
    if (!isCompany(person) && (!first.isEmpty() || !middle.isEmpty() || !last.isEmpty())) {
        for (const QByteArrayView part : {first, middle}) {
            if (!part.isEmpty()) {
                SearchFolding::appendFolded(out, part, ignoreAccents);
                out.append(' ');
            }
        }
        SearchFolding::appendFolded(out, last, ignoreAccents);
    } else if (!organization.isEmpty()) {
        SearchFolding::appendFolded(out, organization, ignoreAccents);
    } else {
        SearchFolding::appendFolded(out, email, ignoreAccents);
    }
}

bool nameHoldsEveryWord(const Person &person, const Words &words)
{
    // Asked for every row the list lays out: the buffer keeps its room between rows.
    thread_local QByteArray name;
    name.resize(0);
    appendFoldedName(name, person, words.options().ignoreAccents);
    return nameHoldsEveryWord(QByteArrayView(name), words);
}

bool nameHoldsEveryWord(QByteArrayView foldedName, const Words &words)
{
    for (const Words::Word &word : words.words()) {
        if (!foldedName.contains(word.text))
            return false;
    }
    return true;
}

QList<Range> emphasis(QStringView text, const Words &words)
{
    return emphasisIn(text, words, false);
}

std::optional<Detail> detail(const Person &person, const Words &words)
{
    const bool ignoreAccents = words.options().ignoreAccents;
    QByteArray name;
    appendFoldedName(name, person, ignoreAccents);
    const auto lacking = std::find_if(words.words().begin(), words.words().end(),
                                      [&](const Words::Word &w) { return !name.contains(w.text); });
    if (lacking == words.words().end())
        return std::nullopt;

    std::optional<Detail> found;
    const auto consider = [&](Person::Kind kind, const QString &label, const QString &value) {
        if (found || value.isEmpty())
            return;
        const bool phone = kind == Person::Kind::Phone;
        if (!holds(value, *lacking, phone, ignoreAccents))
            return;
        Detail detail;
        detail.kind = kind;
        detail.label = label;
        detail.value = oneLine(value);
        detail.emphasis = emphasisIn(detail.value, words, phone);
        cut(detail);
        found = std::move(detail);
    };
    // The order search looks at the properties in. The name parts are only news when the
    // list shows another name.
    if (isCompany(person))
        consider(Person::Kind::LastName, QString(), personName(person));
    consider(Person::Kind::Nickname, QString(), person.nickname());
    for (const LabeledValue &address : person.addresses())
        consider(Person::Kind::Address, address.label, addressLine(address.value.toMap()));
    for (const LabeledValue &phone : person.phones())
        consider(Person::Kind::Phone, phone.label, phone.value.toString());
    for (const LabeledValue &email : person.emails())
        consider(Person::Kind::Email, email.label, email.value.toString());
    consider(Person::Kind::JobTitle, QString(), person.jobTitle());
    consider(Person::Kind::Organization, QString(), person.organization());
    const QList<LabeledValue> urls = person.urls();
    if (!urls.isEmpty())
        consider(Person::Kind::Url, urls.first().label, urls.first().value.toString());
    consider(Person::Kind::Note, QString(), person.note());
    return found;
}

} // namespace MatchExplanation
