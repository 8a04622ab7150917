// SPDX-License-Identifier: MIT
#include "tools/defaults/DefaultsTool.h"

#include "platform/core/PrintableText.h"
#include "platform/settings/UserDefaults.h"

#include <QDateTime>
#include <QFileInfo>

#include <cctype>
#include <cmath>
#include <optional>

namespace DefaultsTool {
namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char kUsageText[] =
    "usage: brisko-defaults read DOMAIN [KEY]\n"
    "       brisko-defaults write DOMAIN KEY -bool|-int|-float|-string|-data VALUE\n"
    "       brisko-defaults write DOMAIN KEY -array [VALUE ...]\n"
    "       brisko-defaults delete DOMAIN [KEY]\n"
    "       brisko-defaults help | --help\n"
    "Booleans are YES/NO, true/false or 1/0; data is written as hexadecimal digits.\n";

int usage(QTextStream &err, const QString &problem)
{
    err << "brisko-defaults: " << problem << '\n' << kUsageText;
    err.flush();
    return kUsage;
}

// A domain names a file in the configuration folder; anything that could climb out of it or
// hide the file is refused.
bool isDomainName(const QString &domain)
{
    return !domain.isEmpty() && !domain.startsWith(QLatin1Char('.')) &&
           !domain.contains(QLatin1Char('/')) && !domain.contains(QChar(0));
}

QString quoted(const QString &text)
{
    QString result = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            result += QLatin1Char('\\');
        if (c == QLatin1Char('\n')) {
            result += QLatin1String("\\n");
            continue;
        }
        result += c;
    }
    return result + QLatin1Char('"');
}

QString describeNested(const QVariant &value, int depth, bool topLevel)
{
    const QString indent(4 * (depth + 1), QLatin1Char(' '));
    const QString closingIndent(4 * depth, QLatin1Char(' '));
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::QString:
        return topLevel ? value.toString() : quoted(value.toString());
    case QMetaType::QByteArray:
        return QLatin1Char('<') + QString::fromLatin1(value.toByteArray().toHex()) +
               QLatin1Char('>');
    case QMetaType::QDateTime:
        return value.toDateTime().toUTC().toString(Qt::ISODate);
    case QMetaType::Double: {
        return QString::number(value.toDouble(), 'g', 17);
    }
    case QMetaType::QVariantList: {
        const QVariantList list = value.toList();
        if (list.isEmpty())
            return QStringLiteral("(\n%1)").arg(closingIndent);
        QStringList items;
        for (const QVariant &item : list)
            items << indent + describeNested(item, depth + 1, false);
        return QStringLiteral("(\n") + items.join(QStringLiteral(",\n")) + QLatin1Char('\n') +
               closingIndent + QLatin1Char(')');
    }
    case QMetaType::QVariantMap: {
        const QVariantMap map = value.toMap();
        QString text = QStringLiteral("{\n");
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            text += indent + quoted(it.key()) + QLatin1String(" = ") +
                    describeNested(it.value(), depth + 1, false) + QLatin1String(";\n");
        return text + closingIndent + QLatin1Char('}');
    }
    default:
        return value.toString();
    }
}

bool isTypeFlag(const QString &type)
{
    static const QStringList flags = {QStringLiteral("-bool"),  QStringLiteral("-boolean"),
                                      QStringLiteral("-int"),   QStringLiteral("-integer"),
                                      QStringLiteral("-float"), QStringLiteral("-string"),
                                      QStringLiteral("-data"),  QStringLiteral("-array")};
    return flags.contains(type);
}

std::optional<QVariant> parseBool(const QString &text)
{
    const QString lower = text.toLower();
    if (lower == QLatin1String("yes") || lower == QLatin1String("true") ||
        lower == QLatin1String("1"))
        return QVariant(true);
    if (lower == QLatin1String("no") || lower == QLatin1String("false") ||
        lower == QLatin1String("0"))
        return QVariant(false);
    return std::nullopt;
}

std::optional<QVariant> parseValue(const QString &type, const QString &text)
{
    if (type == QLatin1String("-bool") || type == QLatin1String("-boolean"))
        return parseBool(text);
    if (type == QLatin1String("-int") || type == QLatin1String("-integer")) {
        bool ok = false;
        const qint64 value = text.trimmed().toLongLong(&ok);
        return ok ? std::optional<QVariant>(QVariant(value)) : std::nullopt;
    }
    if (type == QLatin1String("-float")) {
        bool ok = false;
        const double value = text.trimmed().toDouble(&ok);
        return ok && std::isfinite(value) ? std::optional<QVariant>(QVariant(value)) : std::nullopt;
    }
    if (type == QLatin1String("-string"))
        return QVariant(text);
    if (type == QLatin1String("-data")) {
        if (text.size() % 2 != 0)
            return std::nullopt;
        for (const QChar c : text) {
            if (!isxdigit(c.toLatin1()) || c.unicode() > 127)
                return std::nullopt;
        }
        return QVariant(QByteArray::fromHex(text.toLatin1()));
    }
    return std::nullopt;
}

int read(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.size() < 2 || arguments.size() > 3)
        return usage(err, QStringLiteral("read takes a domain and at most one key"));
    const QString domain = arguments.at(1);
    if (!isDomainName(domain))
        return usage(err, QStringLiteral("\"%1\" is no domain name").arg(domain));
    // Only looking: a broken file stays where it is, for the programs that own the domain
    // to keep aside when they next read it.
    QVariantMap values;
    QString error;
    const QString path = UserDefaults::pathForDomain(domain);
    switch (UserDefaults::inspectDomain(domain, &values, &error)) {
    case UserDefaults::FileState::Read:
        break;
    case UserDefaults::FileState::Missing:
        if (arguments.size() == 2) {
            err << "brisko-defaults: the domain " << domain << " does not exist\n";
            return kFailed;
        }
        break;
    case UserDefaults::FileState::Broken:
        err << "brisko-defaults: " << path << " is no settings file that can be read (" << error
            << "). It was left as it is; the programs using the domain keep it aside and use "
               "their factory settings when they next read it.\n";
        return kFailed;
    case UserDefaults::FileState::Unreadable:
        err << "brisko-defaults: cannot read " << path << ": " << error << '\n';
        return kFailed;
    }
    // Values come from any program that writes the domain: control characters would act on
    // the terminal instead of showing.
    const auto printable = [](const QString &text) {
        return PrintableText::escapeControlCharacters(text, PrintableText::Escape::Hex, u"\n\t");
    };
    if (arguments.size() == 2) {
        out << printable(describeNested(values, 0, false)) << '\n';
        return kDone;
    }
    const QString key = arguments.at(2);
    const auto it = values.constFind(key);
    if (it == values.cend()) {
        err << "brisko-defaults: the domain/default pair of (" << domain << ", " << key
            << ") does not exist\n";
        return kFailed;
    }
    out << printable(describeNested(*it, 0, true)) << '\n';
    return kDone;
}

int write(const QStringList &arguments, QTextStream &err)
{
    if (arguments.size() < 4)
        return usage(err, QStringLiteral("write takes a domain, a key, a type and a value"));
    const QString domain = arguments.at(1);
    const QString key = arguments.at(2);
    const QString type = arguments.at(3);
    if (!isDomainName(domain))
        return usage(err, QStringLiteral("\"%1\" is no domain name").arg(domain));
    if (key.isEmpty())
        return usage(err, QStringLiteral("the key is empty"));
    if (!isTypeFlag(type))
        return usage(err, QStringLiteral("unknown type \"%1\"; the types are -bool, -int, -float, "
                                         "-string, -data and -array")
                              .arg(type));
    QVariant value;
    if (type == QLatin1String("-array")) {
        QVariantList list;
        for (qsizetype i = 4; i < arguments.size(); ++i)
            list.append(arguments.at(i));
        value = list;
    } else {
        if (arguments.size() != 5)
            return usage(err, QStringLiteral("%1 takes exactly one value").arg(type));
        const std::optional<QVariant> parsed = parseValue(type, arguments.at(4));
        if (!parsed)
            return usage(err,
                         QStringLiteral("\"%1\" is no %2 value").arg(arguments.at(4), type.mid(1)));
        value = *parsed;
    }
    UserDefaults defaults(domain);
    defaults.setObject(value, key);
    if (!defaults.synchronize()) {
        err << "brisko-defaults: could not write " << defaults.domainPath() << '\n';
        return kFailed;
    }
    return kDone;
}

int remove(const QStringList &arguments, QTextStream &err)
{
    if (arguments.size() < 2 || arguments.size() > 3)
        return usage(err, QStringLiteral("delete takes a domain and at most one key"));
    const QString domain = arguments.at(1);
    if (!isDomainName(domain))
        return usage(err, QStringLiteral("\"%1\" is no domain name").arg(domain));
    UserDefaults defaults(domain);
    const QVariantMap values = defaults.persistentDomain();
    if (!QFileInfo::exists(defaults.domainPath())) {
        err << "brisko-defaults: the domain " << domain << " does not exist\n";
        return kFailed;
    }
    if (arguments.size() == 3) {
        if (!values.contains(arguments.at(2))) {
            err << "brisko-defaults: the domain/default pair of (" << domain << ", "
                << arguments.at(2) << ") does not exist\n";
            return kFailed;
        }
        defaults.removeObjectForKey(arguments.at(2));
    } else {
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            defaults.removeObjectForKey(it.key());
    }
    if (!defaults.synchronize()) {
        err << "brisko-defaults: could not write " << defaults.domainPath() << '\n';
        return kFailed;
    }
    return kDone;
}

} // namespace

QString describe(const QVariant &value)
{
    return describeNested(value, 0, true);
}

int run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    int result = kUsage;
    const QString command = arguments.value(0);
    if (command == QLatin1String("read"))
        result = read(arguments, out, err);
    else if (command == QLatin1String("write"))
        result = write(arguments, err);
    else if (command == QLatin1String("delete"))
        result = remove(arguments, err);
    else if (command == QLatin1String("help") || command == QLatin1String("--help")) {
        out << kUsageText;
        result = kDone;
    } else
        result =
            usage(err, command.isEmpty() ? QStringLiteral("no command given")
                                         : QStringLiteral("unknown command \"%1\"").arg(command));
    out.flush();
    err.flush();
    return result;
}

} // namespace DefaultsTool
