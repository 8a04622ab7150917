// SPDX-License-Identifier: MIT
#include "tests/fuzz/FuzzSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace FuzzSupport {

void start(int *argc, char ***argv, Application application)
{
    // Kept to the end of the process: libFuzzer ends it with exit() from inside its loop,
    // after which destroying the application would find Qt's own statics gone.
    static QCoreApplication *app = nullptr;
    if (app)
        return;
    qputenv("LC_ALL", "C.UTF-8");
    // Qt's warnings about odd input ("Broken filename passed to function") are no faults and
    // would flood the log once per input; a fatal message still ends the run.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    if (application == Application::Gui) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = new QGuiApplication(*argc, *argv);
    } else {
        app = new QCoreApplication(*argc, *argv);
    }
}

QString privateHome()
{
    static QTemporaryDir home(QDir::tempPath() + QLatin1String("/brisko-fuzz-XXXXXX"));
    static const bool prepared = [] {
        if (!home.isValid())
            fail("home.isValid()", __FILE__, __LINE__, QStringLiteral("no temporary folder"));
        for (const char *name : {"BRISKO_ADDRESS_BOOK", "BRISKO_EDS", "XDG_CONFIG_DIRS",
                                 "XDG_DATA_DIRS", "PWD", "OLDPWD", "USER", "LOGNAME"})
            qunsetenv(name);
        const QString path = home.path();
        qputenv("HOME", QFile::encodeName(path));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path + QLatin1String("/config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path + QLatin1String("/data")));
        QDir().mkpath(path + QLatin1String("/config"));
        QDir().mkpath(path + QLatin1String("/data"));
        // Relative paths a reader meets resolve inside the home too.
        QDir::setCurrent(path);
        return true;
    }();
    Q_UNUSED(prepared);
    return home.path();
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(contents) != contents.size())
        fail("file written", __FILE__, __LINE__, path);
}

void fail(const char *condition, const char *file, int line, const QString &detail)
{
    std::fprintf(stderr, "\n==FUZZ CHECK FAILED== %s:%d: %s\n  %s\n", file, line, condition,
                 qPrintable(detail));
    std::fflush(stderr);
    std::abort();
}

} // namespace FuzzSupport
