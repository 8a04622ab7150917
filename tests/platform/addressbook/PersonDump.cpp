// SPDX-License-Identifier: MIT
#include "tests/platform/addressbook/PersonDump.h"

#include <QVariantMap>

namespace {

// C's escapes for what would not show, and quotes around, so that blanks at the ends show.
QString quoted(const QString &text)
{
    QString result = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            result += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            result += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            result += QLatin1String("\\r");
        else if (c == QLatin1Char('\t'))
            result += QLatin1String("\\t");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            result += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            result += c;
    }
    return result + QLatin1Char('"');
}

QString imageKind(const QByteArray &data)
{
    if (data.startsWith("\x89PNG"))
        return QStringLiteral("PNG");
    if (data.startsWith("\xFF\xD8\xFF"))
        return QStringLiteral("JPEG");
    if (data.startsWith("GIF8"))
        return QStringLiteral("GIF");
    return QStringLiteral("not an image I know");
}

void line(QString &out, const QString &name, const QString &value)
{
    if (!value.isNull())
        out += QLatin1String("  ") + name + QLatin1String(": ") + quoted(value) + QLatin1Char('\n');
}

void labeled(QString &out, const char *kind, const QList<LabeledValue> &values)
{
    for (const LabeledValue &value : values)
        out += QStringLiteral("  %1 [%2]: %3\n")
                   .arg(QLatin1String(kind), value.label, quoted(value.value.toString()));
}

// The first and last line of the card's text, and its length.
QString cardSummary(const QByteArray &card)
{
    if (card.isEmpty())
        return QStringLiteral("(not found again)");
    const QList<QByteArray> lines = card.trimmed().split('\n');
    return QStringLiteral("%1 … %2, %3 bytes")
        .arg(QString::fromUtf8(lines.constFirst().trimmed()),
             QString::fromUtf8(lines.constLast().trimmed()))
        .arg(card.size());
}

} // namespace

namespace PersonDump {

QString dump(const QList<PersonPtr> &persons, const QStringList &messages, const QString &folder)
{
    QString out;
    for (QString message : messages) {
        if (message.startsWith(folder))
            message.remove(0, folder.size());
        out += QLatin1String("message: ") + message + QLatin1Char('\n');
    }
    int number = 0;
    for (const PersonPtr &person : persons) {
        out += QStringLiteral("person %1\n").arg(++number);
        line(out, QStringLiteral("display name"), person->displayName());
        line(out, QStringLiteral("last name"), person->lastName());
        line(out, QStringLiteral("first name"), person->firstName());
        line(out, QStringLiteral("middle name"), person->middleName());
        line(out, QStringLiteral("nickname"), person->nickname());
        line(out, QStringLiteral("organization"), person->organization());
        line(out, QStringLiteral("job title"), person->jobTitle());
        if ((person->flags() & Person::ShowAsMask) == Person::ShowAsCompany)
            out += QLatin1String("  shown as a company\n");
        labeled(out, "phone", person->phones());
        labeled(out, "email", person->emails());
        labeled(out, "url", person->urls());
        for (const LabeledValue &address : person->addresses()) {
            out += QStringLiteral("  address [%1]\n").arg(address.label);
            const QVariantMap fields = address.value.toMap();
            for (const char *key : {"Street", "City", "State", "ZIP", "Country"}) {
                const QString value = fields.value(QLatin1String(key)).toString();
                if (!value.isEmpty())
                    out += QStringLiteral("    %1: %2\n").arg(QLatin1String(key), quoted(value));
            }
        }
        line(out, QStringLiteral("note"), person->note());
        if (person->hasImage()) {
            const QByteArray image = person->imageData();
            out += image.isEmpty() ? QStringLiteral("  photo: announced, but none could be read\n")
                                   : QStringLiteral("  photo: %1, %2 bytes\n")
                                         .arg(imageKind(image))
                                         .arg(image.size());
        }
        const QByteArrayView uid = person->storedUniqueId();
        out += uid.isEmpty() ? QStringLiteral("  uid: none (made from the file and position)\n")
                             : QStringLiteral("  uid: %1\n").arg(quoted(QString::fromUtf8(uid)));
        out += QStringLiteral("  card: %1\n").arg(cardSummary(person->vCardText()));
    }
    if (persons.isEmpty())
        out += QLatin1String("no person\n");
    return out;
}

} // namespace PersonDump
