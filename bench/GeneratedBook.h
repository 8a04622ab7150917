// SPDX-License-Identifier: MIT
// Generated address books for the benchmarks: names from a dozen languages, 1–3 phones, 1–2
// e-mail addresses, a postal address, a note for one person in four, an organization and
// job title for one in five.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>

#include <iterator>
#include <memory>

namespace GeneratedBook {

inline const char *const kFirstNames[] = {
    "Amélie",  "Jürgen",    "José",   "Małgorzata", "Søren", "Yuki",     "Siobhán", "Eleni",
    "João",    "Anastasia", "Ayşe",   "Lan",        "Lars",  "John",     "Chinedu", "Layla",
    "Min-jun", "Aino",      "Giulia", "Pieter",     "Tomáš", "Thandiwe", "Björk",   "Fatima",
    "Olivia",  "Mateo",     "Zoë",    "Noah",       "Priya", "Wei",      "Kofi",    "Ingrid"};
inline const char *const kLastNames[] = {
    "Lefèvre",      "Müller", "Núñez",   "Kowalska", "Øvergård", "Tanaka",    "O'Brien",
    "Papadopoulos", "Silva",  "Ivanova", "Şahin",    "Nguyễn",   "Johansson", "Smith",
    "Okafor",       "Haddad", "Kim",     "Virtanen", "Rossi",    "Berg",      "Dvořák",
    "Mahlangu",     "García", "Ahmed",   "Brown",    "Martin",   "Schmidt",   "Novák",
    "Yilmaz",       "Chen",   "Mensah",  "Larsen"};
inline const char *const kCities[] = {"Paris",  "Berlin", "Madrid", "Gdańsk",   "Bergen", "Tokyo",
                                      "Dublin", "Athens", "Lisboa", "Helsinki", "Roma",   "Praha"};
inline const char *const kCountries[] = {"France",   "Germany", "Spain",   "Poland",
                                         "Norway",   "Japan",   "Ireland", "Greece",
                                         "Portugal", "Finland", "Italy",   "Czechia"};
inline const char *const kNotes[] = {"Met at the conference in the spring.",
                                     "Prefers e-mail to phone calls.", "Birthday in March.",
                                     "Orders every Tuesday; call before noon."};

/// One card; `uid` is its UID.
inline QByteArray card(QRandomGenerator &random, int index, const QByteArray &uid)
{
    auto pick = [&](const auto &list) {
        return QByteArray(list[random.bounded(int(std::size(list)))]);
    };
    QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\n";
    const QByteArray first = pick(kFirstNames), last = pick(kLastNames);
    card += "N:" + last + ";" + first + ";;;\r\nFN:" + first + " " + last + "\r\n";
    const int phones = 1 + random.bounded(3);
    static const char *const phoneTypes[] = {"CELL", "HOME", "WORK"};
    for (int i = 0; i < phones; ++i)
        card += QByteArray("TEL;TYPE=") + phoneTypes[i] + ":+" +
                QByteArray::number(10 + random.bounded(89)) + " " +
                QByteArray::number(random.bounded(100000000, 999999999)) + "\r\n";
    const int emails = 1 + random.bounded(2);
    for (int i = 0; i < emails; ++i)
        card += "EMAIL;TYPE=INTERNET:" + first.toLower() + "." + QByteArray::number(index) +
                (i ? "@work.example" : "@mail.example") + "\r\n";
    const int city = random.bounded(int(std::size(kCities)));
    card += "ADR;TYPE=HOME:;;" + QByteArray::number(1 + random.bounded(200)) + " Main Street;" +
            kCities[city] + ";;" + QByteArray::number(10000 + random.bounded(89999)) + ";" +
            kCountries[city] + "\r\n";
    if (random.bounded(4) == 0)
        card += "NOTE:" + pick(kNotes) + "\r\n";
    if (random.bounded(5) == 0)
        card += "ORG:" + pick(kLastNames) + " & Partners\r\nTITLE:Manager\r\n";
    return card + "END:VCARD\r\n";
}

/// `card` as older or other programs write it, now and then: lines folded (inside words too),
/// vCard 2.1 names in quoted-printable, the whole card in UTF-16 with a byte-order mark; most
/// cards stay as they are.
inline QByteArray writtenByAnotherProgram(QRandomGenerator &random, QByteArray card)
{
    const int kind = random.bounded(100);
    if (kind < 10) {
        // Folded every 32 bytes, never inside a character.
        QByteArray folded;
        for (const QByteArray &line : card.split('\n')) {
            if (line.isEmpty())
                continue;
            qsizetype start = 0;
            while (line.size() - start > 33) {
                qsizetype cut = start + 32;
                while ((uchar(line[cut]) & 0xC0) == 0x80)
                    --cut;
                folded += line.mid(start, cut - start) + "\r\n ";
                start = cut;
            }
            folded += line.mid(start) + '\n';
        }
        return folded;
    }
    if (kind < 15) {
        QByteArray old;
        for (const QByteArray &line : card.split('\n')) {
            if (line.isEmpty())
                continue;
            if (line.startsWith("VERSION:")) {
                old += "VERSION:2.1\r\n";
                continue;
            }
            if (!line.startsWith("N:") && !line.startsWith("FN:")) {
                old += line + '\n';
                continue;
            }
            const qsizetype colon = line.indexOf(':');
            QByteArray value;
            for (const char c : line.mid(colon + 1).chopped(1)) {
                if (uchar(c) >= 0x80 || c == '=')
                    value += '=' + QByteArray(1, c).toHex().toUpper();
                else
                    value += c;
            }
            old += line.left(colon) + ";CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:" + value + "\r\n";
        }
        return old;
    }
    if (kind < 20) {
        const QString text = QString::fromUtf8(card);
        QByteArray utf16("\xFF\xFE");
        for (const QChar c : text) {
            utf16 += char(c.unicode() & 0xFF);
            utf16 += char(c.unicode() >> 8);
        }
        return utf16;
    }
    return card;
}

/// A UID as contacts programs make them, which also names the card's file.
inline QByteArray uuid(QRandomGenerator &random)
{
    QByteArray hex = QByteArray::number(random.generate64(), 16).rightJustified(16, '0') +
                     QByteArray::number(random.generate64(), 16).rightJustified(16, '0');
    return hex.left(8) + '-' + hex.mid(8, 4) + '-' + hex.mid(12, 4) + '-' + hex.mid(16, 4) + '-' +
           hex.mid(20, 12);
}

/// A folder of `persons` files named by their cards' UIDs, as KDE's contacts folder and
/// vdirsyncer keep them; answers the bytes written. With `mixed`, some are written by other
/// programs (writtenByAnotherProgram()).
inline qint64 writeFolder(const QString &folder, int persons, quint32 seed, bool mixed = false)
{
    QDir().mkpath(folder);
    QRandomGenerator random(seed);
    qint64 bytes = 0;
    for (int i = 0; i < persons; ++i) {
        const QByteArray uid = uuid(random);
        QFile file(folder + QLatin1Char('/') + QString::fromLatin1(uid) + QLatin1String(".vcf"));
        QByteArray text = card(random, i, uid);
        if (mixed)
            text = writtenByAnotherProgram(random, text);
        if (file.open(QIODevice::WriteOnly))
            bytes += file.write(text);
    }
    return bytes;
}

/// One file of at least `minimumBytes`; answers the bytes written.
inline qint64 writeFile(const QString &path, qint64 minimumBytes, quint32 seed)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    QRandomGenerator random(seed);
    qint64 bytes = 0;
    for (int i = 0; bytes < minimumBytes; ++i)
        bytes += file.write(card(random, i, uuid(random)));
    return bytes;
}

/// Where the books of the process-level benchmarks live: BRISKO_BENCH_DIR keeps them between
/// runs, else a temporary folder.
inline QString benchFolder()
{
    static std::unique_ptr<QTemporaryDir> temporary;
    const QString kept = qEnvironmentVariable("BRISKO_BENCH_DIR");
    if (!kept.isEmpty())
        return kept;
    if (!temporary)
        temporary = std::make_unique<QTemporaryDir>();
    return temporary->path();
}

/// 100,000 files of one card each, named by UID; made once.
inline QString folderBook()
{
    const QString folder = benchFolder() + QStringLiteral("/folder-100000");
    if (!QFileInfo::exists(folder + QStringLiteral("/.complete"))) {
        QDir(folder).removeRecursively();
        writeFolder(folder, 100000, 14);
        QFile(folder + QStringLiteral("/.complete")).open(QIODevice::WriteOnly);
    }
    return folder;
}

/// 100,000 files as folderBook(), a fifth of them folded, in quoted-printable or in UTF-16.
inline QString mixedFolderBook()
{
    const QString folder = benchFolder() + QStringLiteral("/folder-100000-mixed");
    if (!QFileInfo::exists(folder + QStringLiteral("/.complete"))) {
        QDir(folder).removeRecursively();
        writeFolder(folder, 100000, 16, true);
        QFile(folder + QStringLiteral("/.complete")).open(QIODevice::WriteOnly);
    }
    return folder;
}

/// One file of 200 MiB of cards; made once.
inline QString fileBook()
{
    const QString path = benchFolder() + QStringLiteral("/large-200MiB.vcf");
    if (QFileInfo(path).size() < (200 << 20))
        writeFile(path, 200 << 20, 15);
    return path;
}

/// The Brisko program of this build tree.
inline QString briskoProgram()
{
    return QCoreApplication::applicationDirPath() +
           QStringLiteral("/../Brisko.app/Contents/Linux/Brisko");
}

} // namespace GeneratedBook
