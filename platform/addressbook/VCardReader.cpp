// SPDX-License-Identifier: MIT
#include "addressbook/VCardReader.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QVariantMap>

#include <optional>
#include <vector>

namespace {

struct RawProperty
{
    QByteArray group; // lower case, without the dot
    QByteArray name;  // upper case
    std::vector<QByteArray> types;
    QByteArray charset;
    QByteArray valueType; // VALUE=…, lower case
    bool quotedPrintable = false;
    bool base64 = false;
    QByteArray value;

    bool hasType(const char *type) const
    {
        for (const QByteArray &t : types) {
            if (t == type)
                return true;
        }
        return false;
    }
};

struct RawCard
{
    int beginLine = 0;
    std::vector<RawProperty> properties;
};

bool equalsIgnoringCase(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() && qstrnicmp(a.data(), a.size(), b.data(), b.size()) == 0;
}

QByteArrayView trimmedView(QByteArrayView view)
{
    while (!view.isEmpty() && (view.front() == ' ' || view.front() == '\t'))
        view = view.sliced(1);
    while (!view.isEmpty() && (view.back() == ' ' || view.back() == '\t'))
        view.chop(1);
    return view;
}

QByteArray unquoted(QByteArrayView view)
{
    view = trimmedView(view);
    if (view.size() >= 2 && view.front() == '"' && view.back() == '"')
        view = view.sliced(1, view.size() - 2);
    return view.toByteArray();
}

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

std::optional<RawProperty> parseLine(QByteArrayView line)
{
    const qsizetype colon = nameEnd(line);
    if (colon < 0)
        return std::nullopt;
    RawProperty property;
    property.value = line.sliced(colon + 1).toByteArray();
    const QByteArrayView head = line.first(colon);

    // Split the head at semicolons outside quotes: name first, then parameters.
    std::vector<QByteArrayView> pieces;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= head.size(); ++i) {
        if (i < head.size() && head[i] == '"')
            quoted = !quoted;
        if (i == head.size() || (head[i] == ';' && !quoted)) {
            pieces.push_back(head.sliced(start, i - start));
            start = i + 1;
        }
    }
    QByteArrayView name = trimmedView(pieces.front());
    const qsizetype dot = name.lastIndexOf('.');
    if (dot >= 0) {
        property.group = name.first(dot).toByteArray().toLower();
        name = name.sliced(dot + 1);
    }
    if (name.isEmpty())
        return std::nullopt;
    property.name = name.toByteArray().toUpper();

    for (size_t i = 1; i < pieces.size(); ++i) {
        const QByteArrayView parameter = trimmedView(pieces[i]);
        const qsizetype equals = parameter.indexOf('=');
        if (equals < 0) {
            // vCard 2.1 writes bare parameters: "TEL;WORK;FAX", "LABEL;QUOTED-PRINTABLE".
            const QByteArray bare = parameter.toByteArray().toLower();
            if (bare == "quoted-printable")
                property.quotedPrintable = true;
            else if (bare == "base64" || bare == "b")
                property.base64 = true;
            else if (!bare.isEmpty())
                property.types.push_back(bare);
            continue;
        }
        const QByteArray key = trimmedView(parameter.first(equals)).toByteArray().toUpper();
        const QByteArray value = unquoted(parameter.sliced(equals + 1));
        if (key == "TYPE") {
            for (const QByteArray &type : value.split(',')) {
                const QByteArray cleaned = unquoted(type).toLower();
                if (!cleaned.isEmpty())
                    property.types.push_back(cleaned);
            }
        } else if (key == "ENCODING") {
            const QByteArray encoding = value.toLower();
            if (encoding == "quoted-printable")
                property.quotedPrintable = true;
            else if (encoding == "b" || encoding == "base64")
                property.base64 = true;
        } else if (key == "CHARSET") {
            property.charset = value;
        } else if (key == "VALUE") {
            property.valueType = value.toLower();
        }
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

QString decodeCharset(const QByteArray &bytes, const QByteArray &charset)
{
    if (!charset.isEmpty() && !equalsIgnoringCase(charset, "utf-8") &&
        !equalsIgnoringCase(charset, "utf8")) {
        QStringDecoder decoder(charset.constData());
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

QString decodeText(const RawProperty &property, QByteArrayView raw)
{
    if (property.quotedPrintable)
        return unescaped(decodeCharset(decodeQuotedPrintable(raw), property.charset));
    return unescaped(decodeCharset(raw.toByteArray(), property.charset));
}

QString decodeText(const RawProperty &property)
{
    return decodeText(property, property.value);
}

// Components of a structured value (N, ADR, ORG), split at semicolons that are not escaped.
std::vector<QString> decodeComponents(const RawProperty &property)
{
    std::vector<QString> components;
    const QByteArray &value = property.value;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= value.size(); ++i) {
        // A backslash that ends the value escapes nothing and belongs to the last component.
        if (i + 1 < value.size() && value[i] == '\\') {
            ++i;
            continue;
        }
        if (i >= value.size() || value[i] == ';') {
            components.push_back(decodeText(
                property, QByteArrayView(value).sliced(start, qMin(i, value.size()) - start)));
            start = i + 1;
        }
    }
    return components;
}

QString component(const std::vector<QString> &components, size_t index)
{
    return index < components.size() ? components[index] : QString();
}

QString nullIfEmpty(const QString &text)
{
    return text.isEmpty() ? QString() : text;
}

QString stripPrefix(const QString &value, QLatin1String prefix)
{
    const QString trimmed = value.trimmed();
    if (trimmed.startsWith(prefix, Qt::CaseInsensitive))
        return trimmed.mid(prefix.size());
    return value;
}

QString phoneLabel(const RawProperty &p)
{
    if (p.hasType("fax"))
        return p.hasType("work") ? QStringLiteral("_$!<WorkFAX>!$_")
                                 : QStringLiteral("_$!<HomeFAX>!$_");
    if (p.hasType("cell"))
        return QStringLiteral("_$!<Mobile>!$_");
    if (p.hasType("pager"))
        return QStringLiteral("_$!<Pager>!$_");
    if (p.hasType("main"))
        return QStringLiteral("_$!<Main>!$_");
    if (p.hasType("iphone"))
        return QStringLiteral("iPhone");
    if (p.hasType("work"))
        return QStringLiteral("_$!<Work>!$_");
    if (p.hasType("home"))
        return QStringLiteral("_$!<Home>!$_");
    return QStringLiteral("_$!<Other>!$_");
}

QString placeLabel(const RawProperty &p, const QString &fallback)
{
    if (p.hasType("work"))
        return QStringLiteral("_$!<Work>!$_");
    if (p.hasType("home"))
        return QStringLiteral("_$!<Home>!$_");
    if (p.hasType("other"))
        return QStringLiteral("_$!<Other>!$_");
    return fallback;
}

QByteArray decodeImage(const RawProperty &property)
{
    const QByteArray value = property.value.trimmed();
    if (value.isEmpty())
        return {};
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

QString stableId(const QString &filePath, int cardIndex)
{
    const QByteArray digest =
        QCryptographicHash::hash(filePath.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("brisko-%1-%2").arg(QLatin1String(digest)).arg(cardIndex);
}

PersonPtr interpret(const RawCard &card, const QString &filePath, int cardIndex)
{
    Person::Fields f;
    f.filePath = filePath;

    QHash<QByteArray, QString> groupLabels;
    for (const RawProperty &p : card.properties) {
        if (p.name == "X-ABLABEL" && !p.group.isEmpty())
            groupLabels.insert(p.group, decodeText(p));
    }
    auto labelFor = [&](const RawProperty &p, const QString &fromTypes) {
        if (!p.group.isEmpty()) {
            const auto it = groupLabels.constFind(p.group);
            if (it != groupLabels.constEnd() && !it->isEmpty())
                return *it;
        }
        return fromTypes;
    };
    auto identifier = [](const char *kind, qsizetype index) {
        return QStringLiteral("%1-%2").arg(QLatin1String(kind)).arg(index);
    };

    QString formattedName;
    QStringList notes;
    QStringList labels; // formatted postal labels, used only when no ADR is present
    QByteArray logo;
    bool company = false;

    for (const RawProperty &p : card.properties) {
        const QByteArray &name = p.name;
        if (name == "N") {
            const std::vector<QString> parts = decodeComponents(p);
            f.lastName = nullIfEmpty(component(parts, 0));
            f.firstName = nullIfEmpty(component(parts, 1));
            f.middleName = nullIfEmpty(component(parts, 2));
        } else if (name == "FN") {
            formattedName = decodeText(p);
        } else if (name == "NICKNAME") {
            f.nickname = nullIfEmpty(decodeText(p));
        } else if (name == "ORG") {
            f.organization = nullIfEmpty(component(decodeComponents(p), 0));
        } else if (name == "TITLE") {
            f.jobTitle = nullIfEmpty(decodeText(p));
        } else if (name == "NOTE") {
            const QString note = decodeText(p);
            if (!note.isEmpty())
                notes.append(note);
        } else if (name == "TEL") {
            const QString number = stripPrefix(decodeText(p), QLatin1String("tel:"));
            if (!number.trimmed().isEmpty())
                f.phones.append(
                    {labelFor(p, phoneLabel(p)), number, identifier("phone", f.phones.size())});
        } else if (name == "EMAIL") {
            const QString address = stripPrefix(decodeText(p), QLatin1String("mailto:"));
            if (!address.trimmed().isEmpty())
                f.emails.append({labelFor(p, placeLabel(p, QStringLiteral("_$!<Other>!$_"))),
                                 address, identifier("email", f.emails.size())});
        } else if (name == "URL") {
            const QString url = decodeText(p);
            if (!url.trimmed().isEmpty())
                f.urls.append({labelFor(p, placeLabel(p, QStringLiteral("_$!<HomePage>!$_"))), url,
                               identifier("url", f.urls.size())});
        } else if (name == "ADR") {
            const std::vector<QString> parts = decodeComponents(p);
            QStringList streetLines;
            for (size_t index : {size_t(2), size_t(1), size_t(0)}) {
                const QString line = component(parts, index).trimmed();
                if (!line.isEmpty())
                    streetLines.append(line);
            }
            QVariantMap address;
            auto put = [&](const char *key, const QString &value) {
                if (!value.trimmed().isEmpty())
                    address.insert(QLatin1String(key), value.trimmed());
            };
            put("Street", streetLines.join(QLatin1Char('\n')));
            put("City", component(parts, 3));
            put("State", component(parts, 4));
            put("ZIP", component(parts, 5));
            put("Country", component(parts, 6));
            if (!address.isEmpty())
                f.addresses.append({labelFor(p, placeLabel(p, QStringLiteral("_$!<Other>!$_"))),
                                    address, identifier("address", f.addresses.size())});
        } else if (name == "LABEL") {
            const QString label = decodeText(p).trimmed();
            if (!label.isEmpty())
                labels.append(label);
        } else if (name == "PHOTO") {
            if (f.imageData.isEmpty())
                f.imageData = decodeImage(p);
        } else if (name == "LOGO") {
            if (logo.isEmpty())
                logo = decodeImage(p);
        } else if (name == "UID") {
            f.uniqueId = decodeText(p).trimmed();
        } else if (name == "X-ABSHOWAS") {
            company = company || decodeText(p).trimmed().compare(QLatin1String("COMPANY"),
                                                                 Qt::CaseInsensitive) == 0;
        } else if (name == "KIND") {
            const QString kind = decodeText(p).trimmed();
            company = company || kind.compare(QLatin1String("org"), Qt::CaseInsensitive) == 0 ||
                      kind.compare(QLatin1String("organization"), Qt::CaseInsensitive) == 0;
        }
    }

    // Cards written with FN alone (common in vCard 4) would otherwise have no name at all.
    if (f.lastName.isEmpty() && f.firstName.isEmpty() && f.middleName.isEmpty() &&
        !formattedName.trimmed().isEmpty())
        f.lastName = formattedName;
    if (company) {
        f.flags = Person::ShowAsCompany;
        // An organization card written with FN only names the organization there.
        if (f.organization.isEmpty() && !formattedName.trimmed().isEmpty())
            f.organization = formattedName;
    }
    if (!notes.isEmpty())
        f.note = notes.join(QLatin1Char('\n'));
    if (f.imageData.isEmpty())
        f.imageData = logo;
    // A formatted label stands for an address only where the card has no structured one.
    if (f.addresses.isEmpty()) {
        for (const QString &label : std::as_const(labels)) {
            QVariantMap address{{QStringLiteral("Street"), label}};
            f.addresses.append({QStringLiteral("_$!<Other>!$_"), address,
                                identifier("address", f.addresses.size())});
        }
    }
    if (f.uniqueId.isEmpty())
        f.uniqueId = stableId(filePath, cardIndex);
    return std::make_shared<const Person>(std::move(f));
}

QByteArray normalisedEncoding(const QByteArray &data)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        return data.mid(3);
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(data.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                           : QStringConverter::Utf16BE);
        return QString(decoder.decode(QByteArrayView(data).sliced(2))).toUtf8();
    }
    return data;
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

} // namespace

namespace VCardReader {

QList<PersonPtr> readData(const QByteArray &input, const QString &filePath, QStringList *messages)
{
    const QByteArray data = normalisedEncoding(input);
    QList<PersonPtr> persons;
    auto report = [&](int line, const char *reason) {
        if (messages)
            messages->append(QStringLiteral("%1:%2: skipped a vCard that cannot be read (%3)")
                                 .arg(filePath)
                                 .arg(line)
                                 .arg(QLatin1String(reason)));
    };

    std::optional<RawCard> card;
    bool cardBroken = false;
    const char *brokenReason = "";
    int cardIndex = 0;

    QByteArray logical;
    bool logicalIsQuotedPrintable = false;

    auto finishLogical = [&]() {
        if (logical.isEmpty() || !card)
            return;
        if (logical.contains('\0')) {
            cardBroken = true;
            brokenReason = "binary data";
        } else if (std::optional<RawProperty> property = parseLine(logical)) {
            card->properties.push_back(std::move(*property));
        }
        logical.clear();
    };

    auto handleLine = [&](QByteArrayView line, int lineNumber) {
        const QByteArrayView trimmed = trimmedView(line);
        if (equalsIgnoringCase(trimmed, "BEGIN:VCARD")) {
            finishLogical();
            if (card)
                report(card->beginLine, "no END:VCARD before the next card");
            card = RawCard{lineNumber, {}};
            cardBroken = false;
            return;
        }
        if (!card)
            return; // text between cards carries nothing of a person
        if (equalsIgnoringCase(trimmed, "END:VCARD")) {
            finishLogical();
            if (cardBroken)
                report(card->beginLine, brokenReason);
            else
                persons.append(interpret(*card, filePath, cardIndex));
            ++cardIndex;
            card.reset();
            return;
        }
        if (line.isEmpty())
            return;
        const bool continuation = line.front() == ' ' || line.front() == '\t';
        if (!logical.isEmpty() && logicalIsQuotedPrintable && logical.endsWith('=')) {
            // A quoted-printable soft line break: the next line continues the value as is.
            logical.chop(1);
            logical.append(line);
            return;
        }
        if (continuation && !logical.isEmpty()) {
            logical.append(line.sliced(1));
            return;
        }
        finishLogical();
        logical = line.toByteArray();
        logicalIsQuotedPrintable = isQuotedPrintableHead(line);
    };

    qsizetype start = 0;
    int lineNumber = 0;
    while (start < data.size()) {
        qsizetype end = data.indexOf('\n', start);
        if (end < 0)
            end = data.size();
        QByteArrayView line = QByteArrayView(data).sliced(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        handleLine(line, ++lineNumber);
        start = end + 1;
    }
    if (card) {
        finishLogical();
        report(card->beginLine, "no END:VCARD before the end of the file");
    }
    return persons;
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
    return readData(file.readAll(), filePath, messages);
}

} // namespace VCardReader
