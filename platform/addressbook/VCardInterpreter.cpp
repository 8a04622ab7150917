// SPDX-License-Identifier: MIT
#include "platform/addressbook/VCardInterpreter.h"

#include "platform/addressbook/StoredLabel.h"
#include "platform/addressbook/VCardPhoto.h"

#include <QStringList>

#include <iterator>

using Kind = Person::Kind;
using namespace VCardValue;

namespace {

quint8 phoneLabel(const VCardProperty &p)
{
    if (p.hasType("fax"))
        return p.hasType("work") ? StoredLabel::WorkFax : StoredLabel::HomeFax;
    if (p.hasType("cell"))
        return StoredLabel::Mobile;
    if (p.hasType("pager"))
        return StoredLabel::Pager;
    if (p.hasType("main"))
        return StoredLabel::Main;
    if (p.hasType("iphone"))
        return StoredLabel::IPhone;
    if (p.hasType("work"))
        return StoredLabel::Work;
    if (p.hasType("home"))
        return StoredLabel::Home;
    return StoredLabel::Other;
}

quint8 placeLabel(const VCardProperty &p, quint8 fallback)
{
    if (p.hasType("work"))
        return StoredLabel::Work;
    if (p.hasType("home"))
        return StoredLabel::Home;
    if (p.hasType("other"))
        return StoredLabel::Other;
    return fallback;
}

void add(Person::Builder &builder, Kind kind, const Text &text, quint8 label = StoredLabel::None)
{
    if (text.isDecoded)
        builder.add(kind, text.decoded, label);
    else
        builder.add(kind, text.utf8, label);
}

} // namespace

VCardInterpreter::VCardInterpreter(const std::vector<VCardProperty> &properties,
                                   VCardReader::PhotoLinks links)
    : _properties(properties)
    , _links(links)
{
    for (const VCardProperty &p : properties) {
        if (p.is("X-ABLABEL") && !p.group.isEmpty())
            _groupLabels.push_back({p.group, decodeText(p).toString()});
    }
}

void VCardInterpreter::_addLabeled(Person::Builder &builder, Kind kind, const VCardProperty &p,
                                   const Text &text, quint8 fromTypes) const
{
    if (const QString *label = _groupLabel(p)) {
        const quint8 number = StoredLabel::number(*label);
        if (number == StoredLabel::None)
            builder.add(Kind::CustomLabel, *label);
        add(builder, kind, text, number);
        return;
    }
    add(builder, kind, text, fromTypes);
}

const QString *VCardInterpreter::_groupLabel(const VCardProperty &p) const
{
    if (p.group.isEmpty())
        return nullptr;
    // The last X-ABLabel of a group wins, as a later property overrides an earlier one.
    const QString *found = nullptr;
    for (const GroupLabel &label : _groupLabels) {
        if (AsciiText::equalsIgnoringCase(label.group, p.group))
            found = label.label.isEmpty() ? found : &label.label;
    }
    return found;
}

void VCardInterpreter::fill(Person::Builder &builder)
{
    Text lastName, firstName, middleName, nickname, organization, jobTitle, formattedName, uid;
    QStringList notes;
    QStringList labels; // formatted postal labels, used only when no ADR is present
    bool hasAddress = false;
    bool hasPhoto = false;
    bool company = false;

    for (const VCardProperty &p : _properties) {
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
                    _addLabeled(builder, Kind::Email, p, address,
                                placeLabel(p, StoredLabel::Other));
            }
            break;
        case 'u':
            if (p.is("URL")) {
                const Text url = decodeText(p);
                if (!isBlank(url))
                    _addLabeled(builder, Kind::Url, p, url, placeLabel(p, StoredLabel::HomePage));
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
                    const quint8 number = StoredLabel::number(*label);
                    if (number == StoredLabel::None)
                        builder.add(Kind::CustomLabel, *label);
                    builder.beginAddress(number);
                } else {
                    builder.beginAddress(placeLabel(p, StoredLabel::Other));
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
                hasPhoto = hasPhoto || VCardPhoto::mayHoldImage(p, _links);
            }
            break;
        case 'p':
            if (p.is("PHOTO"))
                hasPhoto = hasPhoto || VCardPhoto::mayHoldImage(p, _links);
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
            builder.beginAddress(StoredLabel::Other);
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
