// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/Person.h"
#include "platform/addressbook/VCardProperty.h"
#include "platform/addressbook/VCardReader.h"
#include "platform/addressbook/VCardValue.h"

#include <QString>

#include <vector>

/// Fills a person from the properties of one card: names, organization and title, the note,
/// phones, e-mail, web and postal addresses with the labels their types or their group's
/// X-ABLabel give, the photo's presence and the company flag (KIND, X-ABShowAs).
class VCardInterpreter final
{
public:
    /// `properties` must outlive the interpreter.
    VCardInterpreter(const std::vector<VCardProperty> &properties, VCardReader::PhotoLinks links);

    void fill(Person::Builder &builder);

private:
    // A value of a multi-valued property with the label of its group's X-ABLabel, if any.
    struct GroupLabel
    {
        QByteArrayView group;
        QString label;
    };

    // Adds `text` with the label of its group's X-ABLabel, else `fromTypes`.
    void _addLabeled(Person::Builder &builder, Person::Kind kind, const VCardProperty &p,
                     const VCardValue::Text &text, quint8 fromTypes) const;
    const QString *_groupLabel(const VCardProperty &p) const;

    const std::vector<VCardProperty> &_properties;
    VCardReader::PhotoLinks _links;
    std::vector<GroupLabel> _groupLabels;
};
