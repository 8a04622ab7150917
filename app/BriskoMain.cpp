// SPDX-License-Identifier: MIT
#include "app/BriskoMain.h"

#include "app/controller/AppController.h"
#include "app/search/PersonExtras.h"
#include "app/search/SearchPrefilter.h"
#include "common/SettingsKeys.h"
#include "platform/addressbook/AddressBook.h"
#include "platform/addressbook/AddressBookQuery.h"
#include "platform/core/Bundle.h"
#include "platform/core/DisplayServer.h"
#include "platform/core/PrintableText.h"
#include "platform/core/Translations.h"
#include "platform/session/SessionInstance.h"
#include "platform/session/TerminationSignals.h"
#include "platform/settings/UserDefaults.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

const QString kSearchOption = QStringLiteral("search");
const QString kAddressBookOption = QStringLiteral("address-book");

QString translated(const char *text)
{
    return QCoreApplication::translate("BriskoMain", text);
}

void describeOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(translated(QT_TRANSLATE_NOOP(
        "BriskoMain", "Finds a person in your address book the moment you press the hot key.")));
    parser.addOption(QCommandLineOption(
        kSearchOption,
        translated(QT_TRANSLATE_NOOP("BriskoMain",
                                     "Print the display name of every person matching PATTERN, "
                                     "one a line, and exit without opening a window.")),
        QStringLiteral("PATTERN")));
    parser.addOption(QCommandLineOption(
        kAddressBookOption,
        translated(QT_TRANSLATE_NOOP("BriskoMain",
                                     "Read persons from PATH (a vCard file or a folder) instead "
                                     "of the desktop's contacts. May be given several times.")),
        QStringLiteral("PATH")));
    parser.addHelpOption();
    parser.addVersionOption();
}

QStringList argumentList(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

/// A first look at the command line, before any application object exists, to choose
/// between the query mode (no display needed) and the background application.
bool wantsConsoleOnly(const QStringList &arguments)
{
    QCommandLineParser parser;
    describeOptions(parser);
    // The windowing system's own options (-platform …) are unknown here; they are only
    // reported once the real application object has taken its share.
    parser.parse(arguments);
    const QStringList names = parser.optionNames();
    return names.contains(kSearchOption) || names.contains(QStringLiteral("help")) ||
           names.contains(QStringLiteral("h")) || names.contains(QStringLiteral("help-all")) ||
           names.contains(QStringLiteral("version")) || names.contains(QStringLiteral("v"));
}

/// Installs the address book sources named on the command line. Answers false, after saying
/// why on standard error, when one of them does not exist: reading some other book in its
/// place would answer a question the user did not ask.
bool applyAddressBookOption(const QCommandLineParser &parser)
{
    const QStringList given = parser.values(kAddressBookOption);
    if (given.isEmpty())
        return true;
    QStringList paths;
    for (const QString &path : given) {
        const QFileInfo info(path);
        if (!info.exists()) {
            std::fprintf(stderr, "Brisko: no address book at %s\n", qPrintable(path));
            return false;
        }
        paths.append(info.absoluteFilePath());
    }
    AddressBook::setSourcePaths(paths);
    return true;
}

/// One line per person whatever the name holds, so the output stays one match a line, and
/// nothing in it that a terminal would act on.
QString printableLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return PrintableText::escapeControlCharacters(text, PrintableText::Escape::Hex, u"\t");
}

void configure(QCoreApplication &application)
{
    application.setApplicationName(QStringLiteral("Brisko"));
    application.setApplicationVersion(QStringLiteral("4.0.3"));
    application.setOrganizationDomain(QStringLiteral("ambertide.com"));
    Translations::install({QStringLiteral("BriskoShared"), QStringLiteral("Brisko")},
                          Bundle::mainBundle().resourcePath());
}

int runQuery(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    configure(application);
    QCommandLineParser parser;
    describeOptions(parser);
    parser.process(application);

    if (!applyAddressBookOption(parser))
        return 2;

    // Each file is read once and only the matches are kept and sorted: the address book's
    // order of the matches alone is that of the whole book.
    const QString pattern = parser.value(kSearchOption);
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    const SearchPrefilter filter(
        pattern, {defaults.boolForKey(DefIgnoreAccents), defaults.boolForKey(DefMatchPhoneDigits)});
    AddressBookQuery::Result found = AddressBookQuery::wantedPersons(
        AddressBook::configuredSourcePaths(), AddressBookSource::createDefault(), filter);
    if (found.usingSampleBook)
        std::fprintf(stderr, "Brisko: no contacts found; searching the sample address book\n");

    QList<PersonPtr> matches = std::move(found.persons);
    AddressBook::sortPersons(matches);
    QTextStream out(stdout);
    for (const PersonPtr &person : std::as_const(matches))
        out << printableLine(PersonExtras::displayName(*person)) << '\n';
    out.flush();
    return 0;
}

int runApplication(int argc, char **argv)
{
    DisplayServer::choosePlatform(argc, argv);
    QApplication application(argc, argv);
    DisplayServer::forgetChoice();
    configure(application);
    // Ties windows and notifications to the installed desktop entry (and its icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("com.ambertide.Brisko"));
    // A background application: closing a window never ends it.
    application.setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    describeOptions(parser);
    parser.process(application);
    if (!applyAddressBookOption(parser))
        return 2;

    // One Brisko per session: a second launch brings the first one's window up and leaves.
    SessionInstance instance(QStringLiteral("com.ambertide.Brisko"));
    switch (instance.claim()) {
    case SessionInstance::Claim::Owned:
        break;
    case SessionInstance::Claim::Taken:
        if (SessionInstance::askToReopen(QStringLiteral("com.ambertide.Brisko")))
            return 0;
        std::fprintf(stderr, "Brisko: already running, but it does not answer\n");
        return 1;
    case SessionInstance::Claim::NoBus:
        std::fprintf(stderr, "Brisko: no session bus; the preference pane cannot reach this "
                             "copy and a second copy cannot be prevented\n");
        break;
    }
    if (!TerminationSignals::quitApplicationOnTermination())
        std::fprintf(stderr, "Brisko: termination signals will end Brisko without saving\n");

    AppController controller;
    QObject::connect(&instance, &SessionInstance::reopenRequested, &controller, [&controller] {
        controller.applicationShouldHandleReopen(controller.mainWindow()->isVisible());
    });
    controller.awakeFromNib();
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &controller,
                     &AppController::applicationWillTerminate);
    // Launching finishes once the event loop runs, as windows expect to be shown from it.
    QTimer::singleShot(0, &controller, &AppController::applicationDidFinishLaunching);
    return application.exec();
}

} // namespace

int runBrisko(int argc, char **argv)
{
    if (wantsConsoleOnly(argumentList(argc, argv)))
        return runQuery(argc, argv);
    return runApplication(argc, argv);
}
