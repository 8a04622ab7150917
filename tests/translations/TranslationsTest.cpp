// SPDX-License-Identifier: MIT
// The shipped languages are complete: the catalogues are brought up to date from today's
// sources (in a scratch copy) and every text must have a finished translation that keeps
// its placeholders and its keyboard mnemonic. The programs load them by the user's language.
#include "platform/core/Translations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

QStringList toStrings(const QJsonValue &value)
{
    QStringList strings;
    for (const QJsonValue &item : value.toArray())
        strings.append(item.toString());
    return strings;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("%(?:L?[1-9]|n)"));
    QStringList found;
    for (const QRegularExpressionMatch &match : placeholder.globalMatch(text))
        found.append(match.captured());
    found.sort();
    return found;
}

qsizetype mnemonics(const QString &text)
{
    static const QRegularExpression mnemonic(QStringLiteral("&[^&\\s]"));
    return QString(text).remove(QLatin1String("&&")).count(mnemonic);
}

/// What is wrong with the messages of one .ts file, one line per message.
QStringList problemsIn(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {path + QLatin1String(": cannot be read")};
    QStringList problems;
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            if (type == QLatin1String("vanished") || type == QLatin1String("obsolete"))
                continue;
            const QString translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            const QString where = QFileInfo(path).fileName() + QLatin1String(": ") + context +
                                  QLatin1String(": \"") + source + QLatin1String("\" ");
            if (type == QLatin1String("unfinished") || translation.isEmpty())
                problems.append(where + QLatin1String("has no finished translation"));
            else if (placeholders(translation) != placeholders(source))
                problems.append(where + QLatin1String("loses or adds a placeholder"));
            else if (mnemonics(translation) != mnemonics(source))
                problems.append(where + QLatin1String("loses or adds a mnemonic"));
        }
    }
    if (xml.hasError())
        problems.append(path + QLatin1String(": ") + xml.errorString());
    return problems;
}

TEST(Translations, EveryTextOfTheSourcesHasAFinishedTranslation)
{
    QFile manifestFile(QStringLiteral(BRISKO_BINARY_DIR "/translations.json"));
    ASSERT_TRUE(manifestFile.open(QIODevice::ReadOnly));
    const QJsonObject manifest = QJsonDocument::fromJson(manifestFile.readAll()).object();
    const QJsonArray catalogues = manifest.value(QLatin1String("catalogues")).toArray();
    ASSERT_FALSE(catalogues.isEmpty());

    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    QStringList problems;
    for (const QJsonValue &value : catalogues) {
        const QJsonObject catalogue = value.toObject();
        QStringList copies;
        for (const QString &ts : toStrings(catalogue.value(QLatin1String("ts")))) {
            const QString copy = scratch.filePath(QFileInfo(ts).fileName());
            ASSERT_TRUE(QFile::copy(ts, copy)) << qPrintable(ts) << " is missing";
            copies.append(copy);
        }
        QProcess lupdate;
        lupdate.start(manifest.value(QLatin1String("lupdate")).toString(),
                      toStrings(manifest.value(QLatin1String("options"))) +
                          toStrings(catalogue.value(QLatin1String("sources"))) +
                          QStringList{QStringLiteral("-ts")} + copies);
        ASSERT_TRUE(lupdate.waitForFinished(120000)) << "lupdate did not finish";
        ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().constData();
        for (const QString &copy : copies)
            problems += problemsIn(copy);
    }
    EXPECT_TRUE(problems.isEmpty())
        << "Run `cmake --build build --target update-translations` and translate:\n"
        << qPrintable(problems.join(QLatin1Char('\n')));
}

TEST(Translations, EachBundleFindsItsCatalogueForTheUsersLanguage)
{
    const QString app = QStringLiteral(BRISKO_APP_BUNDLE_PATH "/Contents/Resources");
    const QString pane = QStringLiteral(BRISKO_PANE_BUNDLE_PATH "/Contents/Resources");
    const struct
    {
        const char *catalogue;
        QString folder;
        const char *language;
        const char *context;
        const char *source;
        const char *expected;
    } cases[] = {
        {"Brisko", app, "de-AT", "AppController", "No match", "Keine Treffer"},
        {"Brisko", app, "fr-CA", "MenuButton", "Quit Brisko", "Quitter Brisko"},
        {"BriskoPane", pane, "de", "BriskoPane", "Start-up", "Start"},
        {"BriskoShared", pane, "de-CH", "KeyCombo", "None", "Keines"},
        {"BriskoPane", pane, "fr-FR", "BriskoPanePref", "Brisko is running", "Brisko est actif"},
    };
    for (const auto &item : cases) {
        SCOPED_TRACE(item.language);
        const auto translator = Translations::load(QString::fromLatin1(item.catalogue), item.folder,
                                                   QLocale(QString::fromLatin1(item.language)));
        ASSERT_NE(translator, nullptr);
        EXPECT_EQ(translator->translate(item.context, item.source),
                  QString::fromUtf8(item.expected));
    }
    EXPECT_EQ(Translations::load(QStringLiteral("Brisko"), app, QLocale(QLocale::English)),
              nullptr);
}

TEST(Translations, TheProgramsAnswerInTheUsersLanguage)
{
    const struct
    {
        const char *program;
        const char *expected;
    } programs[] = {
        {BRISKO_APP_BUNDLE_PATH "/Contents/Linux/Brisko", "Findet eine Person in Ihrem Adressbuch"},
        {BRISKO_BINARY_DIR "/bin/brisko-preferences", "Aufruf: brisko-preferences"},
    };
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("de"));
    for (const auto &program : programs) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QString::fromUtf8(program.program), {QStringLiteral("--help")});
        ASSERT_TRUE(process.waitForFinished(30000)) << program.program;
        EXPECT_TRUE(QString::fromUtf8(process.readAllStandardOutput())
                        .contains(QString::fromUtf8(program.expected)))
            << program.program;
    }
}

} // namespace
