// SPDX-License-Identifier: MIT
#include "addressbook/VCardReader.h"

#include "core/RegularFile.h"

#include <QFile>
#include <QStringDecoder>
#include <QUrl>
#include <QVarLengthArray>

#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace {

using Encoding = Person::Origin::Encoding;
using Kind = Person::Kind;

// The stored label numbers of Person::storedLabel().
enum Label : quint8
{
    NoLabel = 0,
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
};

bool equalsIgnoringCase(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() && qstrnicmp(a.data(), a.size(), b.data(), b.size()) == 0;
}

bool isAsciiSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

QByteArrayView trimmedView(QByteArrayView view)
{
    while (!view.isEmpty() && (view.front() == ' ' || view.front() == '\t'))
        view = view.sliced(1);
    while (!view.isEmpty() && (view.back() == ' ' || view.back() == '\t'))
        view.chop(1);
    return view;
}

QByteArrayView unquoted(QByteArrayView view)
{
    view = trimmedView(view);
    if (view.size() >= 2 && view.front() == '"' && view.back() == '"')
        view = view.sliced(1, view.size() - 2);
    return view;
}

struct RawProperty
{
    QByteArrayView group;
    QByteArrayView name;
    QVarLengthArray<QByteArrayView, 6> types;
    QByteArrayView charset;
    bool quotedPrintable = false;
    bool base64 = false;
    QByteArrayView value;

    bool is(const char *propertyName) const { return equalsIgnoringCase(name, propertyName); }
    bool hasType(const char *type) const
    {
        for (QByteArrayView t : types) {
            if (equalsIgnoringCase(t, type))
                return true;
        }
        return false;
    }
};

// Index of the colon that ends the name and parameters; parameter values of vCard 4 may be
// quoted and hold colons themselves (GEO="geo:…", LABEL="…").
qsizetype nameEnd(QByteArrayView line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"')
            quoted = !quoted;
        else if (c == ':' && !quoted)
            return i;
    }
    return -1;
}

void addParameter(RawProperty &property, QByteArrayView parameter)
{
    parameter = trimmedView(parameter);
    const qsizetype equals = parameter.indexOf('=');
    if (equals < 0) {
        // vCard 2.1 writes bare parameters: "TEL;WORK;FAX", "LABEL;QUOTED-PRINTABLE".
        if (equalsIgnoringCase(parameter, "quoted-printable"))
            property.quotedPrintable = true;
        else if (equalsIgnoringCase(parameter, "base64") || equalsIgnoringCase(parameter, "b"))
            property.base64 = true;
        else if (!parameter.isEmpty())
            property.types.append(parameter);
        return;
    }
    const QByteArrayView key = trimmedView(parameter.first(equals));
    const QByteArrayView value = unquoted(parameter.sliced(equals + 1));
    if (equalsIgnoringCase(key, "TYPE")) {
        qsizetype start = 0;
        for (qsizetype i = 0; i <= value.size(); ++i) {
            if (i < value.size() && value[i] != ',')
                continue;
            const QByteArrayView type = unquoted(value.sliced(start, i - start));
            if (!type.isEmpty())
                property.types.append(type);
            start = i + 1;
        }
    } else if (equalsIgnoringCase(key, "ENCODING")) {
        if (equalsIgnoringCase(value, "quoted-printable"))
            property.quotedPrintable = true;
        else if (equalsIgnoringCase(value, "b") || equalsIgnoringCase(value, "base64"))
            property.base64 = true;
    } else if (equalsIgnoringCase(key, "CHARSET")) {
        property.charset = value;
    }
}

std::optional<RawProperty> parseLine(QByteArrayView line)
{
    const qsizetype colon = nameEnd(line);
    if (colon < 0)
        return std::nullopt;
    RawProperty property;
    property.value = line.sliced(colon + 1);
    const QByteArrayView head = line.first(colon);

    // The head is cut at semicolons outside quotes: the name first, then parameters.
    bool quoted = false;
    qsizetype start = 0;
    bool first = true;
    for (qsizetype i = 0; i <= head.size(); ++i) {
        if (i < head.size() && head[i] == '"')
            quoted = !quoted;
        if (i < head.size() && (head[i] != ';' || quoted))
            continue;
        const QByteArrayView piece = head.sliced(start, i - start);
        start = i + 1;
        if (!first) {
            addParameter(property, piece);
            continue;
        }
        first = false;
        QByteArrayView name = trimmedView(piece);
        const qsizetype dot = name.lastIndexOf('.');
        if (dot >= 0) {
            property.group = name.first(dot);
            name = name.sliced(dot + 1);
        }
        if (name.isEmpty())
            return std::nullopt;
        property.name = name;
    }
    return property;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray decodeQuotedPrintable(QByteArrayView input)
{
    QByteArray output;
    output.reserve(input.size());
    for (qsizetype i = 0; i < input.size(); ++i) {
        const char c = input[i];
        if (c == '=' && i + 2 < input.size() && hexValue(input[i + 1]) >= 0 &&
            hexValue(input[i + 2]) >= 0) {
            output.append(char(hexValue(input[i + 1]) * 16 + hexValue(input[i + 2])));
            i += 2;
        } else if (c == '=' && i + 1 == input.size()) {
            // A soft line break that ended the value: nothing follows.
        } else {
            output.append(c);
        }
    }
    return output;
}

bool isUtf8Charset(QByteArrayView charset)
{
    return charset.isEmpty() || equalsIgnoringCase(charset, "utf-8") ||
           equalsIgnoringCase(charset, "utf8");
}

QString decodeCharset(QByteArrayView bytes, QByteArrayView charset)
{
    if (!isUtf8Charset(charset)) {
        QStringDecoder decoder(charset.toByteArray().constData());
        if (decoder.isValid()) {
            QString text = decoder.decode(bytes);
            if (!decoder.hasError())
                return text;
        }
    }
    QString text = QString::fromUtf8(bytes);
    // Cards written by old programs carry Latin-1 or Windows-1252 text without saying so;
    // decoding them as UTF-8 would turn every accent into a replacement character.
    if (text.contains(QChar::ReplacementCharacter) && !bytes.contains("\xEF\xBF\xBD")) {
        QStringDecoder windows("windows-1252");
        if (windows.isValid()) {
            QString fallback = windows.decode(bytes);
            if (!windows.hasError())
                return fallback;
        }
        return QString::fromLatin1(bytes);
    }
    return text;
}

QString unescaped(const QString &text)
{
    if (!text.contains(QLatin1Char('\\')))
        return text;
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            result.append(c);
            continue;
        }
        const QChar next = text[i + 1];
        if (next == QLatin1Char('n') || next == QLatin1Char('N')) {
            result.append(QLatin1Char('\n'));
            ++i;
        } else if (next == QLatin1Char(',') || next == QLatin1Char(';') ||
                   next == QLatin1Char('\\') || next == QLatin1Char(':')) {
            result.append(next);
            ++i;
        } else {
            result.append(c);
        }
    }
    return result;
}

// A decoded value: most values are plain UTF-8 without escapes and are kept as a view of
// the card's text, which saves decoding every value into a string of its own.
struct Text
{
    QByteArrayView utf8;
    QString decoded;
    bool isDecoded = false;

    bool isEmpty() const { return isDecoded ? decoded.isEmpty() : utf8.isEmpty(); }
    QString toString() const { return isDecoded ? decoded : QString::fromUtf8(utf8); }
    static Text of(QString text) { return Text{{}, std::move(text), true}; }
};

Text decodeText(const RawProperty &property, QByteArrayView raw)
{
    if (!property.quotedPrintable && isUtf8Charset(property.charset) && !raw.contains('\\') &&
        raw.isValidUtf8())
        return Text{raw, {}, false};
    if (property.quotedPrintable)
        return Text::of(unescaped(decodeCharset(decodeQuotedPrintable(raw), property.charset)));
    return Text::of(unescaped(decodeCharset(raw, property.charset)));
}

Text decodeText(const RawProperty &property)
{
    return decodeText(property, property.value);
}

// As QString::trimmed(): a view whose ends are not ASCII may start or end in a Unicode
// space, which only the string knows.
Text trimmed(const Text &text)
{
    if (text.isDecoded)
        return Text::of(text.decoded.trimmed());
    QByteArrayView view = text.utf8;
    while (!view.isEmpty() && isAsciiSpace(view.front()))
        view = view.sliced(1);
    while (!view.isEmpty() && isAsciiSpace(view.back()))
        view.chop(1);
    if (!view.isEmpty() && (quint8(view.front()) >= 0x80 || quint8(view.back()) >= 0x80))
        return Text::of(QString::fromUtf8(view).trimmed());
    return Text{view, {}, false};
}

bool isBlank(const Text &text)
{
    return trimmed(text).isEmpty();
}

bool equalsIgnoringCase(const Text &text, QLatin1String word)
{
    return text.toString().compare(word, Qt::CaseInsensitive) == 0;
}

using Components = QVarLengthArray<Text, 8>;

// Components of a structured value (N, ADR, ORG), split at semicolons that are not escaped.
Components decodeComponents(const RawProperty &property)
{
    Components components;
    const QByteArrayView value = property.value;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= value.size(); ++i) {
        // A backslash that ends the value escapes nothing and belongs to the last component.
        if (i + 1 < value.size() && value[i] == '\\') {
            ++i;
            continue;
        }
        if (i >= value.size() || value[i] == ';') {
            components.append(
                decodeText(property, value.sliced(start, qMin(i, value.size()) - start)));
            start = i + 1;
        }
    }
    return components;
}

Text component(const Components &components, qsizetype index)
{
    return index < components.size() ? components[index] : Text{};
}

// A value that starts with the scheme (after blanks) loses it; otherwise it stays untouched.
Text withoutScheme(const Text &value, QLatin1String scheme)
{
    const Text trimmedValue = trimmed(value);
    const QString text = trimmedValue.toString();
    if (!text.startsWith(scheme, Qt::CaseInsensitive))
        return value;
    if (!trimmedValue.isDecoded)
        return Text{trimmedValue.utf8.sliced(scheme.size()), {}, false};
    return Text::of(text.mid(scheme.size()));
}

quint8 phoneLabel(const RawProperty &p)
{
    if (p.hasType("fax"))
        return p.hasType("work") ? WorkFax : HomeFax;
    if (p.hasType("cell"))
        return Mobile;
    if (p.hasType("pager"))
        return Pager;
    if (p.hasType("main"))
        return Main;
    if (p.hasType("iphone"))
        return IPhone;
    if (p.hasType("work"))
        return Work;
    if (p.hasType("home"))
        return Home;
    return Other;
}

quint8 placeLabel(const RawProperty &p, quint8 fallback)
{
    if (p.hasType("work"))
        return Work;
    if (p.hasType("home"))
        return Home;
    if (p.hasType("other"))
        return Other;
    return fallback;
}

using VCardReader::PhotoLinks;

// Evolution keeps photos of a few hundred kilobytes; anything much larger, linked or in the
// card, is not a photo worth reading on the main thread, and is not decoded at all.
constexpr qint64 kMaxPhotoBytes = 16 * 1024 * 1024;
// The same bound on the text in the card: base64 takes four characters for three bytes, and
// percent-encoding never less than one for one.
constexpr qint64 kMaxPhotoTextBytes = kMaxPhotoBytes / 3 * 4 + 1024;

bool isFileLink(QByteArrayView value)
{
    return value.size() > 5 && equalsIgnoringCase(value.first(5), "file:");
}

bool mayHoldImage(const RawProperty &property, PhotoLinks links)
{
    const QByteArrayView value = trimmedView(property.value);
    if (value.isEmpty())
        return false;
    if (value.startsWith("data:"))
        return value.contains(',');
    if (links == PhotoLinks::LocalFiles && isFileLink(value))
        return true;
    return property.base64;
}

QByteArray decodeImage(const RawProperty &property, PhotoLinks links)
{
    if (property.value.size() > kMaxPhotoTextBytes)
        return {};
    const QByteArray value = property.value.toByteArray().trimmed();
    if (value.isEmpty())
        return {};
    if (links == PhotoLinks::LocalFiles && isFileLink(value)) {
        const QString path = QUrl::fromEncoded(value).toLocalFile();
        if (path.isEmpty())
            return {};
        // Through RegularFile: a link to a pipe or a device must not hold the card up.
        const RegularFile::Contents file = RegularFile::read(path, kMaxPhotoBytes);
        return file.status == RegularFile::Status::Read ? file.data : QByteArray();
    }
    if (value.startsWith("data:")) {
        const qsizetype comma = value.indexOf(',');
        if (comma < 0)
            return {};
        const QByteArray header = value.mid(5, comma - 5);
        const QByteArray payload = value.mid(comma + 1);
        if (header.endsWith(";base64"))
            return QByteArray::fromBase64(payload);
        return QByteArray::fromPercentEncoding(payload);
    }
    if (property.base64)
        return QByteArray::fromBase64(value);
    // A link to an image elsewhere is not fetched.
    return {};
}

void add(Person::Builder &builder, Kind kind, const Text &text, quint8 label = NoLabel)
{
    if (text.isDecoded)
        builder.add(kind, text.decoded, label);
    else
        builder.add(kind, text.utf8, label);
}

// A value of a multi-valued property with the label of its group's X-ABLabel, if any.
struct GroupLabel
{
    QByteArrayView group;
    QString label;
};

class CardInterpreter
{
public:
    CardInterpreter(const std::vector<RawProperty> &properties, PhotoLinks links)
        : _properties(properties)
        , _links(links)
    {
        for (const RawProperty &p : properties) {
            if (p.is("X-ABLABEL") && !p.group.isEmpty())
                _groupLabels.push_back({p.group, decodeText(p).toString()});
        }
    }

    void fill(Person::Builder &builder);

private:
    // Adds `text` with the label of its group's X-ABLabel, else `fromTypes`.
    void _addLabeled(Person::Builder &builder, Kind kind, const RawProperty &p, const Text &text,
                     quint8 fromTypes) const
    {
        if (const QString *label = _groupLabel(p)) {
            const quint8 number = Person::storedLabelNumber(*label);
            if (number == NoLabel)
                builder.add(Kind::CustomLabel, *label);
            add(builder, kind, text, number);
            return;
        }
        add(builder, kind, text, fromTypes);
    }

    const QString *_groupLabel(const RawProperty &p) const
    {
        if (p.group.isEmpty())
            return nullptr;
        // The last X-ABLabel of a group wins, as a later property overrides an earlier one.
        const QString *found = nullptr;
        for (const GroupLabel &label : _groupLabels) {
            if (equalsIgnoringCase(label.group, p.group))
                found = label.label.isEmpty() ? found : &label.label;
        }
        return found;
    }

    const std::vector<RawProperty> &_properties;
    PhotoLinks _links;
    std::vector<GroupLabel> _groupLabels;
};

void CardInterpreter::fill(Person::Builder &builder)
{
    Text lastName, firstName, middleName, nickname, organization, jobTitle, formattedName, uid;
    QStringList notes;
    QStringList labels; // formatted postal labels, used only when no ADR is present
    bool hasAddress = false;
    bool hasPhoto = false;
    bool company = false;

    for (const RawProperty &p : _properties) {
        if (p.name.isEmpty())
            continue;
        switch (p.name.front() | 0x20) {
        case 'n':
            if (p.is("N")) {
                const Components parts = decodeComponents(p);
                lastName = component(parts, 0);
                firstName = component(parts, 1);
                middleName = component(parts, 2);
            } else if (p.is("NICKNAME")) {
                nickname = decodeText(p);
            } else if (p.is("NOTE")) {
                const Text note = decodeText(p);
                if (!note.isEmpty())
                    notes.append(note.toString());
            }
            break;
        case 'f':
            if (p.is("FN"))
                formattedName = decodeText(p);
            break;
        case 'o':
            if (p.is("ORG"))
                organization = component(decodeComponents(p), 0);
            break;
        case 't':
            if (p.is("TITLE")) {
                jobTitle = decodeText(p);
            } else if (p.is("TEL")) {
                const Text number = withoutScheme(decodeText(p), QLatin1String("tel:"));
                if (!isBlank(number))
                    _addLabeled(builder, Kind::Phone, p, number, phoneLabel(p));
            }
            break;
        case 'e':
            if (p.is("EMAIL")) {
                const Text address = withoutScheme(decodeText(p), QLatin1String("mailto:"));
                if (!isBlank(address))
                    _addLabeled(builder, Kind::Email, p, address, placeLabel(p, Other));
            }
            break;
        case 'u':
            if (p.is("URL")) {
                const Text url = decodeText(p);
                if (!isBlank(url))
                    _addLabeled(builder, Kind::Url, p, url, placeLabel(p, HomePage));
            } else if (p.is("UID")) {
                uid = trimmed(decodeText(p));
            }
            break;
        case 'a':
            if (p.is("ADR")) {
                const Components parts = decodeComponents(p);
                // Extended address and post office box go on lines of their own after the
                // street.
                Text street;
                QString lines;
                int lineCount = 0;
                for (qsizetype index : {2, 1, 0}) {
                    const Text line = trimmed(component(parts, index));
                    if (line.isEmpty())
                        continue;
                    if (lineCount == 0)
                        street = line;
                    else
                        lines += (lineCount == 1 ? street.toString() : QString()) +
                                 QLatin1Char('\n') + line.toString();
                    ++lineCount;
                }
                if (lineCount > 1)
                    street = Text::of(lines);
                const Text fields[] = {street, trimmed(component(parts, 3)),
                                       trimmed(component(parts, 4)), trimmed(component(parts, 5)),
                                       trimmed(component(parts, 6))};
                bool any = false;
                for (const Text &field : fields)
                    any = any || !field.isEmpty();
                if (!any)
                    break;
                const QString *label = _groupLabel(p);
                if (label) {
                    const quint8 number = Person::storedLabelNumber(*label);
                    if (number == NoLabel)
                        builder.add(Kind::CustomLabel, *label);
                    builder.beginAddress(number);
                } else {
                    builder.beginAddress(placeLabel(p, Other));
                }
                const Kind kinds[] = {Kind::Street, Kind::City, Kind::State, Kind::Zip,
                                      Kind::Country};
                for (size_t i = 0; i < std::size(fields); ++i)
                    add(builder, kinds[i], fields[i]);
                hasAddress = true;
            }
            break;
        case 'l':
            if (p.is("LABEL")) {
                const Text label = trimmed(decodeText(p));
                if (!label.isEmpty())
                    labels.append(label.toString());
            } else if (p.is("LOGO")) {
                hasPhoto = hasPhoto || mayHoldImage(p, _links);
            }
            break;
        case 'p':
            if (p.is("PHOTO"))
                hasPhoto = hasPhoto || mayHoldImage(p, _links);
            break;
        case 'x':
            if (p.is("X-ABSHOWAS"))
                company =
                    company || equalsIgnoringCase(trimmed(decodeText(p)), QLatin1String("COMPANY"));
            break;
        case 'k':
            if (p.is("KIND")) {
                const Text kind = trimmed(decodeText(p));
                company = company || equalsIgnoringCase(kind, QLatin1String("org")) ||
                          equalsIgnoringCase(kind, QLatin1String("organization"));
            }
            break;
        default:
            break;
        }
    }

    // Cards written with FN alone (common in vCard 4) would otherwise have no name at all.
    if (lastName.isEmpty() && firstName.isEmpty() && middleName.isEmpty() &&
        !isBlank(formattedName))
        lastName = formattedName;
    if (company) {
        builder.setFlags(Person::ShowAsCompany);
        // An organization card written with FN only names the organization there.
        if (organization.isEmpty() && !isBlank(formattedName))
            organization = formattedName;
    }
    // A formatted label stands for an address only where the card has no structured one.
    if (!hasAddress) {
        for (const QString &label : std::as_const(labels)) {
            builder.beginAddress(Other);
            builder.add(Kind::Street, label);
        }
    }
    add(builder, Kind::LastName, lastName);
    add(builder, Kind::FirstName, firstName);
    add(builder, Kind::MiddleName, middleName);
    add(builder, Kind::Nickname, nickname);
    add(builder, Kind::Organization, organization);
    add(builder, Kind::JobTitle, jobTitle);
    if (!notes.isEmpty())
        builder.add(Kind::Note, notes.join(QLatin1Char('\n')));
    add(builder, Kind::UniqueId, uid);
    builder.setHasPhoto(hasPhoto);
}

bool isQuotedPrintableHead(QByteArrayView line)
{
    const qsizetype colon = nameEnd(line);
    if (colon < 0)
        return false;
    const QByteArrayView head = line.first(colon);
    static const QByteArray marker = QByteArrayLiteral("QUOTED-PRINTABLE");
    for (qsizetype i = 0; i + marker.size() <= head.size(); ++i) {
        if (qstrnicmp(head.data() + i, marker.size(), marker.constData(), marker.size()) == 0)
            return true;
    }
    return false;
}

/// Cuts text into cards: unfolds continuation lines and quoted-printable soft line breaks,
/// and hands each card's properties to `onCard` with where the card begins and ends.
class CardScanner
{
public:
    struct Card
    {
        std::vector<RawProperty> properties;
        qsizetype begin = 0; // offset of its BEGIN line
        qsizetype end = 0;   // offset just past its END line
        int beginLine = 0;
        const char *brokenReason = nullptr;
    };

    template <typename OnCard, typename OnBroken>
    void scan(QByteArrayView text, OnCard onCard, OnBroken onBroken)
    {
        _text = text;
        _inCard = false;
        _hasLogical = false;
        // Classic Mac OS wrote lines ended by CR alone; everyone else ends them with LF.
        const bool crOnly = !text.contains('\n') && text.contains('\r');
        const char separator = crOnly ? '\r' : '\n';
        qsizetype start = 0;
        int lineNumber = 0;
        while (start < text.size()) {
            const void *found =
                std::memchr(text.data() + start, separator, size_t(text.size() - start));
            const qsizetype end =
                found ? static_cast<const char *>(found) - text.data() : text.size();
            QByteArrayView line = text.sliced(start, end - start);
            if (!crOnly && line.endsWith('\r'))
                line.chop(1);
            _handleLine(line, ++lineNumber, start, qMin(end + 1, text.size()), onCard, onBroken);
            start = end + 1;
        }
        if (_inCard) {
            _finishLogical();
            onBroken(_card.beginLine, "no END:VCARD before the end of the file", false);
        }
    }

private:
    // A logical line: most are one line of the text and are used where they lie; only lines
    // that continue on the next are copied together into the card's buffer.
    struct Span
    {
        bool inBuffer;
        qsizetype start;
        qsizetype length;
    };

    template <typename OnCard, typename OnBroken>
    void _handleLine(QByteArrayView line, int lineNumber, qsizetype lineStart, qsizetype lineEnd,
                     OnCard &onCard, OnBroken &onBroken)
    {
        const QByteArrayView trimmedLine = trimmedView(line);
        if (equalsIgnoringCase(trimmedLine, "BEGIN:VCARD")) {
            _finishLogical();
            if (_inCard)
                onBroken(_card.beginLine, "no END:VCARD before the next card", false);
            _inCard = true;
            _card.begin = lineStart;
            _card.beginLine = lineNumber;
            _card.brokenReason = nullptr;
            _buffer.resize(0);
            _spans.clear();
            return;
        }
        if (!_inCard)
            return; // text between cards carries nothing of a person
        if (equalsIgnoringCase(trimmedLine, "END:VCARD")) {
            _finishLogical();
            _inCard = false;
            _card.end = lineEnd;
            if (_card.brokenReason) {
                onBroken(_card.beginLine, _card.brokenReason, true);
                return;
            }
            // Neither the text nor the buffer changes any more: properties may point into them.
            _card.properties.clear();
            for (const Span &span : _spans) {
                const char *base = span.inBuffer ? _buffer.constData() : _text.data();
                if (std::optional<RawProperty> property =
                        parseLine(QByteArrayView(base + span.start, span.length)))
                    _card.properties.push_back(std::move(*property));
            }
            onCard(_card);
            return;
        }
        if (line.isEmpty())
            return;
        const bool continuation = line.front() == ' ' || line.front() == '\t';
        if (_hasLogical && _logicalIsQuotedPrintable && _logical().endsWith('=')) {
            // A quoted-printable soft line break: the next line continues the value as is.
            _copyLogical();
            _buffer.chop(1);
            _buffer.append(line);
            return;
        }
        if (continuation && _hasLogical) {
            _copyLogical();
            _buffer.append(line.sliced(1));
            return;
        }
        _finishLogical();
        _hasLogical = true;
        _logicalCopied = false;
        _logicalView = line;
        _logicalIsQuotedPrintable = isQuotedPrintableHead(line);
    }

    QByteArrayView _logical() const
    {
        return _logicalCopied ? QByteArrayView(_buffer).sliced(_logicalStart) : _logicalView;
    }

    void _copyLogical()
    {
        if (_logicalCopied)
            return;
        _logicalStart = _buffer.size();
        _buffer.append(_logicalView);
        _logicalCopied = true;
    }

    void _finishLogical()
    {
        if (!_hasLogical)
            return;
        _hasLogical = false;
        const QByteArrayView logical = _logical();
        if (logical.contains('\0'))
            _card.brokenReason = "binary data";
        else if (_logicalCopied)
            _spans.push_back({true, _logicalStart, logical.size()});
        else
            _spans.push_back({false, logical.data() - _text.data(), logical.size()});
    }

    QByteArrayView _text;
    Card _card;
    bool _inCard = false;
    QByteArray _buffer; // the unfolded lines of the current card that continue
    std::vector<Span> _spans;
    bool _hasLogical = false;
    bool _logicalCopied = false;
    QByteArrayView _logicalView;
    qsizetype _logicalStart = 0;
    bool _logicalIsQuotedPrintable = false;
};

Encoding detectEncoding(QByteArrayView data)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        return Encoding::Utf8WithBom;
    if (data.startsWith("\xFF\xFE"))
        return Encoding::Utf16LE;
    if (data.startsWith("\xFE\xFF"))
        return Encoding::Utf16BE;
    // Without a byte-order mark, UTF-16 shows itself by its NULs: a card's text is mostly
    // ASCII, whose high byte is zero.
    const qsizetype pairs = qMin<qsizetype>(data.size(), 1024) / 2;
    if (pairs < 4 || !data.first(pairs * 2).contains('\0'))
        return Encoding::Utf8;
    qsizetype evenZeros = 0, oddZeros = 0;
    for (qsizetype i = 0; i < pairs; ++i) {
        evenZeros += data[2 * i] == '\0';
        oddZeros += data[2 * i + 1] == '\0';
    }
    if (oddZeros * 10 >= pairs * 4 && evenZeros * 20 <= pairs)
        return Encoding::Utf16LE;
    if (evenZeros * 10 >= pairs * 4 && oddZeros * 20 <= pairs)
        return Encoding::Utf16BE;
    return Encoding::Utf8;
}

bool isBlankData(QByteArrayView data)
{
    for (char c : data) {
        if (!isAsciiSpace(c))
            return false;
    }
    return true;
}

QList<PersonPtr> readText(const QByteArray &text,
                          const std::shared_ptr<const Person::Origin> &origin,
                          QStringList *messages)
{
    QList<PersonPtr> persons;
    auto report = [&](int line, const char *reason) {
        if (messages)
            messages->append(QStringLiteral("%1:%2: skipped a vCard that cannot be read (%3)")
                                 .arg(origin->name())
                                 .arg(line)
                                 .arg(QLatin1String(reason)));
    };
    quint32 cardIndex = 0;
    bool sawCard = false;
    // Reused from file to file, so that their buffers keep the room they grew to.
    thread_local CardScanner scanner;
    thread_local Person::Builder builder;
    scanner.scan(
        text,
        [&](const CardScanner::Card &card) {
            sawCard = true;
            builder.clear();
            CardInterpreter(card.properties,
                            origin->fromStore ? PhotoLinks::LocalFiles : PhotoLinks::Ignored)
                .fill(builder);
            builder.setOrigin(origin, card.begin, card.end - card.begin, cardIndex++);
            persons.append(std::make_shared<const Person>(builder.build()));
        },
        [&](int line, const char *reason, bool ended) {
            sawCard = true;
            // Only ended cards count, so the ids of the cards after an unended one stay.
            if (ended)
                ++cardIndex;
            report(line, reason);
        });
    // The last card's origin (and with it the text read from memory) is not kept alive.
    builder.clear();
    if (!sawCard && !isBlankData(text))
        report(1, "no BEGIN:VCARD line");
    return persons;
}

QList<PersonPtr> readWithOrigin(const QByteArray &data, Person::Origin origin, bool keepText,
                                std::shared_ptr<const Person::Origin> *originOut,
                                QStringList *messages)
{
    origin.encoding = detectEncoding(data);
    const QByteArray text = VCardReader::normalisedText(data, origin.encoding);
    if (keepText)
        origin.data = text;
    auto shared = std::make_shared<const Person::Origin>(std::move(origin));
    if (originOut)
        *originOut = shared;
    return readText(text, shared, messages);
}

} // namespace

namespace VCardReader {

QByteArray normalisedText(const QByteArray &data, Person::Origin::Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return data;
    case Encoding::Utf8WithBom:
        return data.mid(3);
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        break;
    }
    QByteArrayView body(data);
    if (body.startsWith("\xFF\xFE") || body.startsWith("\xFE\xFF"))
        body = body.sliced(2);
    QStringDecoder decoder(encoding == Encoding::Utf16LE ? QStringConverter::Utf16LE
                                                         : QStringConverter::Utf16BE);
    return QString(decoder.decode(body)).toUtf8();
}

QList<PersonPtr> readData(const QByteArray &data, const QString &filePath, QStringList *messages)
{
    Person::Origin origin;
    origin.nativePath = QFile::encodeName(filePath);
    return readWithOrigin(data, std::move(origin), true, nullptr, messages);
}

QList<PersonPtr> readFileContents(const QByteArray &data, Person::Origin origin,
                                  std::shared_ptr<const Person::Origin> *originOut,
                                  QStringList *messages)
{
    return readWithOrigin(data, std::move(origin), false, originOut, messages);
}

QList<PersonPtr> readFile(const QString &filePath, QStringList *messages)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        if (messages)
            messages->append(
                QStringLiteral("%1: cannot be read (%2)").arg(filePath, file.errorString()));
        return {};
    }
    struct stat info;
    if (::fstat(file.handle(), &info) != 0)
        return readData(file.readAll(), filePath, messages);
    Person::Origin origin;
    origin.nativePath = QFile::encodeName(filePath);
    origin.size = qint64(info.st_size);
    origin.modified = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    origin.changed = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    origin.inode = info.st_ino;
    return readFileContents(file.readAll(), std::move(origin), nullptr, messages);
}

PersonPtr readStoredCard(const QByteArray &card, const QByteArray &storeName, QStringList *messages)
{
    Person::Origin origin;
    origin.nativePath = storeName;
    origin.fromStore = true;
    const QList<PersonPtr> persons =
        readWithOrigin(card, std::move(origin), true, nullptr, messages);
    return persons.isEmpty() ? nullptr : persons.constFirst();
}

QByteArray photoOfCard(const QByteArray &cardText, PhotoLinks links)
{
    QByteArray photo, logo;
    CardScanner scanner;
    scanner.scan(
        cardText,
        [&](const CardScanner::Card &card) {
            for (const RawProperty &p : card.properties) {
                if (photo.isEmpty() && p.is("PHOTO"))
                    photo = decodeImage(p, links);
                else if (logo.isEmpty() && p.is("LOGO"))
                    logo = decodeImage(p, links);
            }
        },
        [](int, const char *, bool) {});
    return photo.isEmpty() ? logo : photo;
}

} // namespace VCardReader
