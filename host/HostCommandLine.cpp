// SPDX-License-Identifier: MIT
#include "host/HostCommandLine.h"

#include "host/PreferencesHost.h"
#include "platform/core/DisplayServer.h"
#include "platform/core/Translations.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <csignal>
#include <cstdio>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace HostCommandLine {

namespace {

const QString kShowPane = QStringLiteral("--show-pane");

enum Status : unsigned char
{
    Shown = 0,
    Failed = 1,
    Usage = 2,
};

void printError(const QString &text)
{
    std::fprintf(stderr, "brisko-preferences: %s\n", qPrintable(text));
    std::fflush(stderr);
}

/// The write end of the pipe a waiting first process reads the outcome from; nothing when
/// the program was started without --show-pane.
class Readiness final
{
public:
    explicit Readiness(int fd)
        : _fd(fd)
    {}
    ~Readiness() { report(Failed); }

    void report(Status status)
    {
        if (_fd < 0)
            return;
        const unsigned char byte = status;
        // The waiting process may be gone; its absence must not end this one.
        struct sigaction ignore = {};
        struct sigaction previous = {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGPIPE, &ignore, &previous);
        while (::write(_fd, &byte, 1) < 0 && errno == EINTR) {
        }
        sigaction(SIGPIPE, &previous, nullptr);
        ::close(_fd);
        _fd = -1;
    }

    /// The host runs on in the background: standard input and output no longer belong to
    /// whoever started it (a pipe reader would otherwise wait for the host to end). Standard
    /// error stays, for what goes wrong later.
    static void leaveStandardStreams()
    {
        const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
        if (null < 0)
            return;
        std::fflush(stdout);
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::close(null);
    }

private:
    int _fd;
};

QStringList argumentList(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

bool asksToShowPane(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument == kShowPane || argument.startsWith(kShowPane + QLatin1Char('=')))
            return true;
    }
    return false;
}

void installTranslations()
{
    Translations::install({QStringLiteral("BriskoShared"), QStringLiteral("BriskoPreferences")},
                          QStringLiteral(":/i18n"));
}

// Help needs no display: it is answered before the windowing system is asked for one.
int printHelp(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    installTranslations();
    std::fprintf(stdout, "%s", qUtf8Printable(usage()));
    return 0;
}

int waitForHost(int fd)
{
    unsigned char status = Failed;
    ssize_t count = 0;
    do {
        count = ::read(fd, &status, 1);
    } while (count < 0 && errno == EINTR);
    return count == 1 ? int(status) : int(Failed);
}

int runHost(int argc, char **argv, int readyFd)
{
    Readiness readiness(readyFd);
    // Through XWayland in a Wayland session, like the application: the hot key recorder's
    // keyboard grab then keeps the compositor's own shortcuts from acting while it records.
    DisplayServer::choosePlatform(argc, argv);
    QApplication application(argc, argv);
    DisplayServer::forgetChoice();
    QApplication::setApplicationName(QStringLiteral("brisko-preferences"));
    // The installed desktop entry, so the window gets its icon and name from it.
    QApplication::setDesktopFileName(QStringLiteral("com.ambertide.BriskoPreferences"));
    installTranslations();

    const Options options = parse(QApplication::arguments());
    if (!options.error.isEmpty()) {
        printError(options.error);
        std::fprintf(stderr, "%s", qUtf8Printable(usage()));
        readiness.report(Usage);
        return Usage;
    }

    PreferencesHost host;
    switch (host.claim()) {
    case PreferencesHost::Claim::Taken: {
        QString error;
        const bool shown = PreferencesHost::askToShowPane(options.paneIdentifier, &error);
        if (!shown)
            printError(error);
        readiness.report(shown ? Shown : Failed);
        return shown ? 0 : Failed;
    }
    case PreferencesHost::Claim::NoBus:
        printError(QApplication::translate(
            "HostCommandLine", "no session bus; later starts will open windows of their own"));
        break;
    case PreferencesHost::Claim::Owned:
        break;
    }

    QString failure;
    host.showPane(options.paneIdentifier, [&](bool shown, const QString &error) {
        if (shown) {
            readiness.report(Shown);
            if (options.showPane)
                Readiness::leaveStandardStreams();
            return;
        }
        failure = error.isEmpty() ? QStringLiteral("?") : error;
        printError(failure);
        readiness.report(Failed);
    });
    if (!failure.isEmpty()) {
        // Started from a menu, nobody reads standard error.
        if (!options.showPane) {
            QMessageBox box(
                QMessageBox::Critical, QApplication::translate("HostCommandLine", "Preferences"),
                QApplication::translate("HostCommandLine", "The preference pane cannot be shown."));
            box.setInformativeText(failure);
            box.exec();
        }
        return Failed;
    }
    return application.exec();
}

} // namespace

namespace {

// A path is read in the caller's folder: a running host that is handed the pane lives in
// another one.
QString paneArgument(const QString &argument)
{
    return argument.contains(QLatin1Char('/'))
               ? QDir::cleanPath(QDir::current().absoluteFilePath(argument))
               : argument;
}

} // namespace

Options parse(const QStringList &arguments)
{
    Options options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == kShowPane) {
            if (i + 1 >= arguments.size()) {
                options.error = QCoreApplication::translate("HostCommandLine",
                                                            "--show-pane needs a pane identifier");
                return options;
            }
            options.showPane = true;
            options.paneIdentifier = paneArgument(arguments.at(++i));
        } else if (argument.startsWith(kShowPane + QLatin1Char('='))) {
            options.showPane = true;
            options.paneIdentifier = paneArgument(argument.mid(kShowPane.size() + 1));
        } else {
            options.error =
                QCoreApplication::translate("HostCommandLine", "unknown argument \"%1\"")
                    .arg(argument);
            return options;
        }
    }
    return options;
}

QString usage()
{
    return QCoreApplication::translate(
        "HostCommandLine",
        "Usage: brisko-preferences [--show-pane IDENTIFIER|PATH]\n"
        "Shows a preference pane; one preferences window runs per session.\n"
        "\n"
        "  --show-pane IDENTIFIER|PATH  show the pane with this bundle identifier, or the pane\n"
        "                               bundle at this path, and end once it is on screen\n"
        "  -h, --help                   print this help and end\n");
}

int run(int argc, char **argv)
{
    if (parse(argumentList(argc, argv)).help)
        return printHelp(argc, argv);
    if (!asksToShowPane(argc, argv))
        return runHost(argc, argv, -1);
    // Decided before any thread or connection exists, so the child is a clean copy.
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return runHost(argc, argv, -1);
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return runHost(argc, argv, -1);
    }
    if (child > 0) {
        ::close(fds[1]);
        const int status = waitForHost(fds[0]);
        ::close(fds[0]);
        return status;
    }
    ::close(fds[0]);
    ::setsid();
    return runHost(argc, argv, fds[1]);
}

} // namespace HostCommandLine
