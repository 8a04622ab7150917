// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/AsciiText.h"

#include <QByteArrayView>
#include <QVarLengthArray>

#include <optional>

/// One property of a card as its unfolded line says it: group, name, parameters and the raw
/// value, all views of the line's text.
struct VCardProperty
{
    QByteArrayView group;
    QByteArrayView name;
    QVarLengthArray<QByteArrayView, 6> types;
    QByteArrayView charset;
    bool quotedPrintable = false;
    bool base64 = false;
    QByteArrayView value;

    bool is(const char *propertyName) const
    {
        return AsciiText::equalsIgnoringCase(name, propertyName);
    }
    bool hasType(const char *type) const
    {
        for (QByteArrayView t : types) {
            if (AsciiText::equalsIgnoringCase(t, type))
                return true;
        }
        return false;
    }

    /// The property of an unfolded line: `group.NAME;PARAM=value;…:value`, with the bare
    /// parameters of vCard 2.1 ("TEL;WORK;FAX") and quoted parameter values that hold `;`,
    /// `:` or `,` of their own. Nothing for a line without a colon or a name.
    static std::optional<VCardProperty> parse(QByteArrayView line);

    /// Whether the name and parameters of `line` ask for quoted-printable, whose soft line
    /// breaks continue the value on the next line.
    static bool isQuotedPrintableHead(QByteArrayView line);
};
