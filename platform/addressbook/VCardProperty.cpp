// SPDX-License-Identifier: MIT
#include "platform/addressbook/VCardProperty.h"

#include <QByteArray>

namespace {

using AsciiText::equalsIgnoringCase;
using AsciiText::withoutBlanks;

QByteArrayView unquoted(QByteArrayView view)
{
    view = withoutBlanks(view);
    if (view.size() >= 2 && view.front() == '"' && view.back() == '"')
        view = view.sliced(1, view.size() - 2);
    return view;
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

void addParameter(VCardProperty &property, QByteArrayView parameter)
{
    parameter = withoutBlanks(parameter);
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
    const QByteArrayView key = withoutBlanks(parameter.first(equals));
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

} // namespace

std::optional<VCardProperty> VCardProperty::parse(QByteArrayView line)
{
    const qsizetype colon = nameEnd(line);
    if (colon < 0)
        return std::nullopt;
    VCardProperty property;
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
        QByteArrayView name = withoutBlanks(piece);
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

bool VCardProperty::isQuotedPrintableHead(QByteArrayView line)
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
