// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>

/// One value of a multi-valued property (phones, e-mails, web addresses, postal addresses).
struct LabeledValue
{
    /// The label in its stored form: "_$!<Mobile>!$_", "_$!<Work>!$_", … or a custom text.
    QString label;
    /// A string, or for a postal address a QVariantMap with "Street", "City", "State", "ZIP"
    /// and "Country" (absent fields are left out).
    QVariant value;
    /// Stable within the person: the same card read twice gives the same identifiers.
    QString identifier;

    bool operator==(const LabeledValue &other) const = default;
};

/// A person of the address book, as read from one vCard. Immutable once read, so the same
/// record can be shared by the address book, search results and the card at once.
class Person final
{
public:
    /// The show-as bits of flags(): the lowest three bits hold the mode.
    static constexpr int ShowAsMask = 7;
    static constexpr int ShowAsPerson = 0;
    static constexpr int ShowAsCompany = 1;

    struct Fields
    {
        QString firstName;
        QString lastName;
        QString middleName;
        QString nickname;
        QString organization;
        QString jobTitle;
        QString note;
        QList<LabeledValue> phones;
        QList<LabeledValue> emails;
        QList<LabeledValue> urls;
        QList<LabeledValue> addresses;
        QByteArray imageData;
        int flags = 0;
        QString uniqueId;
        QString filePath;
    };

    Person() = default;
    explicit Person(Fields fields)
        : _fields(std::move(fields))
    {}

    /// Text properties are null when the card does not carry them (an empty value counts as
    /// absent), never an empty-but-present string.
    const QString &firstName() const { return _fields.firstName; }
    const QString &lastName() const { return _fields.lastName; }
    const QString &middleName() const { return _fields.middleName; }
    const QString &nickname() const { return _fields.nickname; }
    const QString &organization() const { return _fields.organization; }
    const QString &jobTitle() const { return _fields.jobTitle; }
    const QString &note() const { return _fields.note; }
    const QList<LabeledValue> &phones() const { return _fields.phones; }
    const QList<LabeledValue> &emails() const { return _fields.emails; }
    /// Web addresses; the first one is the home page.
    const QList<LabeledValue> &urls() const { return _fields.urls; }
    const QList<LabeledValue> &addresses() const { return _fields.addresses; }
    /// The first web address, or a null string.
    QString homePage() const
    {
        return _fields.urls.isEmpty() ? QString() : _fields.urls.constFirst().value.toString();
    }
    /// Encoded image (PNG, JPEG, …) as stored in the card; empty without a photo.
    const QByteArray &imageData() const { return _fields.imageData; }
    /// Show-as flags; (flags() & ShowAsMask) == ShowAsCompany marks a company card.
    int flags() const { return _fields.flags; }
    /// The card's UID, or a stable id derived from its file and position in it. Unique
    /// within one address book.
    const QString &uniqueId() const { return _fields.uniqueId; }
    /// The vCard file the person was read from.
    const QString &filePath() const { return _fields.filePath; }

    const Fields &fields() const { return _fields; }

private:
    Fields _fields;
};

using PersonPtr = std::shared_ptr<const Person>;
