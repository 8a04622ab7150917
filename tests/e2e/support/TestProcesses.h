// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/WaitUntil.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <functional>
#include <memory>
#include <optional>

/// A child process for tests, read line by line with a time-out on every wait, and ended when
/// the object ends.
class ChildProcess final
{
public:
    ChildProcess(const QString &program, const QStringList &arguments,
                 const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
    {
        _process.setProcessEnvironment(environment);
        _process.setProgram(program);
        _process.setArguments(arguments);
        _process.start();
        _started = _process.waitForStarted(10000);
    }
    ~ChildProcess() { stop(); }
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    bool started() const { return _started; }
    QString description() const
    {
        return _process.program() + QLatin1Char(' ') + _process.arguments().join(QLatin1Char(' '));
    }

    /// The next line of standard output, or nothing when none arrives in time.
    std::optional<QString> readLine(int timeoutMs)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!_process.canReadLine()) {
            if (_process.state() == QProcess::NotRunning)
                return std::nullopt;
            if (!_process.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime()))) &&
                deadline.hasExpired())
                return std::nullopt;
        }
        QByteArray line = _process.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        return QString::fromUtf8(line);
    }

    /// Reads lines until one equals `expected`; the lines passed over go to `seen`.
    bool waitForLine(const QString &expected, int timeoutMs, QStringList *seen = nullptr)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!deadline.hasExpired()) {
            const auto line = readLine(int(std::max<qint64>(1, deadline.remainingTime())));
            if (!line)
                return false;
            if (*line == expected)
                return true;
            if (seen)
                seen->append(*line);
        }
        return false;
    }

    /// Whether standard error holds `text` within the time-out.
    bool waitForError(const QString &text, int timeoutMs)
    {
        QDeadlineTimer deadline(timeoutMs);
        for (;;) {
            _stderr += _process.readAllStandardError();
            if (QString::fromUtf8(_stderr).contains(text))
                return true;
            if (deadline.hasExpired() || _process.state() == QProcess::NotRunning)
                return false;
            _process.waitForReadyRead(int(std::min<qint64>(100, deadline.remainingTime() + 1)));
        }
    }

    void writeLine(const QString &line)
    {
        _process.write(line.toUtf8() + '\n');
        _process.waitForBytesWritten(5000);
    }

    bool waitForFinished(int timeoutMs) { return _process.waitForFinished(timeoutMs); }
    int exitCode() const { return _process.exitCode(); }
    QString standardError()
    {
        _stderr += _process.readAllStandardError();
        return QString::fromUtf8(_stderr);
    }
    QString remainingOutput() { return QString::fromUtf8(_process.readAllStandardOutput()); }
    QProcess &process() { return _process; }

    void stop()
    {
        if (_process.state() == QProcess::NotRunning)
            return;
        _process.terminate();
        if (!_process.waitForFinished(3000)) {
            _process.kill();
            _process.waitForFinished(3000);
        }
    }

private:
    QProcess _process;
    QByteArray _stderr;
    bool _started = false;
};

/// A session bus of the test's own, so tests never talk to the user's session or to each
/// other. It can start only the services its test names, from their .service files on this
/// machine, so a test gives the same answer on a bare machine and on a full desktop whose
/// portal or keyring would otherwise answer in place of what the test stands in. Points
/// DBUS_SESSION_BUS_ADDRESS at it while it lives.
class PrivateSessionBus final
{
public:
    /// A bus that starts the services named (.service file names without the extension, `*`
    /// allowed), none when empty.
    explicit PrivateSessionBus(const QStringList &services = {})
        : _configFile(_writeConfiguration(services))
        , _daemon(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--config-file=") + _configFile, QStringLiteral("--nofork"),
                   QStringLiteral("--print-address=1")})
    {
        _saved = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        if (_configFile.isEmpty())
            return;
        if (const auto line = _daemon.readLine(10000); line && !line->isEmpty()) {
            _address = *line;
            qputenv("DBUS_SESSION_BUS_ADDRESS", _address.toUtf8());
        }
    }
    ~PrivateSessionBus()
    {
        if (_saved.isEmpty())
            qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        else
            qputenv("DBUS_SESSION_BUS_ADDRESS", _saved);
    }

    bool isRunning() const { return !_address.isEmpty(); }
    QString address() const { return _address; }

    /// The machine's .service files matching `pattern`, in the folders a desktop's session bus
    /// reads them from.
    static QFileInfoList machineServiceFiles(const QString &pattern = QStringLiteral("*"))
    {
        QStringList dataDirs =
            qEnvironmentVariable("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"))
                .split(QLatin1Char(':'), Qt::SkipEmptyParts);
        dataDirs.append(QStringLiteral("/usr/share"));
        dataDirs.removeDuplicates();
        QFileInfoList files;
        for (const QString &dir : dataDirs)
            files += QDir(dir + QLatin1String("/dbus-1/services"))
                         .entryInfoList({pattern + QLatin1String(".service")}, QDir::Files);
        return files;
    }

private:
    // The session bus's own configuration, less every folder of the machine's services.
    QString _writeConfiguration(const QStringList &services)
    {
        if (!_folder.isValid())
            return {};
        const QString serviceDir = _folder.filePath(QStringLiteral("services"));
        if (!QDir().mkpath(serviceDir))
            return {};
        for (const QString &service : services) {
            for (const QFileInfo &file : machineServiceFiles(service))
                QFile::copy(file.filePath(), serviceDir + QLatin1Char('/') + file.fileName());
        }
        const QString configFile = _folder.filePath(QStringLiteral("session.conf"));
        QFile config(configFile);
        if (!config.open(QIODevice::WriteOnly))
            return {};
        const QByteArray escapedDir = serviceDir.toHtmlEscaped().toUtf8();
        config.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                     "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/"
                     "busconfig.dtd\">\n<busconfig><type>session</type><keep_umask/>"
                     "<listen>unix:tmpdir=/tmp</listen><auth>EXTERNAL</auth><servicedir>" +
                     escapedDir +
                     "</servicedir><policy context=\"default\"><allow send_destination=\"*\" "
                     "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/>"
                     "</policy></busconfig>\n");
        return config.error() == QFile::NoError ? configFile : QString();
    }

    QTemporaryDir _folder;
    QString _configFile;
    ChildProcess _daemon;
    QString _address;
    QByteArray _saved;
};

/// What xdotool printed on the display of `environment`, trimmed; nothing when it failed or did
/// not end in time.
inline std::optional<QString> xdotoolOutput(const QProcessEnvironment &environment,
                                            const QStringList &arguments)
{
    ChildProcess tool(QStringLiteral("xdotool"), arguments, environment);
    if (!tool.started() || !tool.waitForFinished(10000) || tool.exitCode() != 0)
        return std::nullopt;
    return tool.remainingOutput().trimmed();
}

/// openbox on the display of `environment`, handed out only once it manages windows.
class WindowManager final
{
public:
    explicit WindowManager(const QProcessEnvironment &environment)
        : _environment(environment)
        , _process(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")}, environment)
    {
        if (!_process.started())
            _problem = QStringLiteral("openbox could not be started (package openbox)");
        else if (!_managesWindows())
            _problem = QStringLiteral("openbox managed no window within 15 s; it said: ") +
                       _process.standardError();
    }
    bool isRunning() const { return _problem.isEmpty(); }
    QString problem() const { return _problem; }

private:
    // openbox announces itself before its event loop runs, and a window mapped in between is
    // never mapped at all; so a probe window must be managed before the display is used.
    bool _managesWindows() const
    {
        QDeadlineTimer deadline(15000);
        for (int attempt = 0; !deadline.hasExpired(); ++attempt) {
            const QString name = QStringLiteral("brisko-window-manager-probe-%1").arg(attempt);
            ChildProcess probe(QStringLiteral("xmessage"),
                               {QStringLiteral("-name"), name, QStringLiteral("probe")},
                               _environment);
            if (!probe.started())
                return false;
            const bool managed = waitUntil(
                [&] {
                    const auto window = xdotoolOutput(
                        _environment, {QStringLiteral("search"), QStringLiteral("--classname"),
                                       QLatin1Char('^') + name + QLatin1Char('$')});
                    if (!window || window->isEmpty())
                        return false;
                    ChildProcess state(QStringLiteral("xprop"),
                                       {QStringLiteral("-id"), *window, QStringLiteral("WM_STATE")},
                                       _environment);
                    return state.waitForFinished(10000) &&
                           state.remainingOutput().contains(QLatin1String("Normal"));
                },
                2000);
            if (managed)
                return true;
        }
        return false;
    }

    QProcessEnvironment _environment;
    ChildProcess _process;
    QString _problem;
};

/// An X server of the test's own (Xvfb) with a window manager (openbox), so key grabs never
/// meet those of tests running alongside, and windows are mapped, raised and given the focus
/// as on a desktop. Start it after the TemporaryHome, so the window manager keeps its files
/// there.
class PrivateDisplay final
{
public:
    PrivateDisplay()
        : _server(QStringLiteral("Xvfb"),
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                   QStringLiteral("0"), QStringLiteral("800x600x24"), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp")})
    {
        if (!_server.started()) {
            _problem = QStringLiteral("Xvfb could not be started (package xvfb)");
            return;
        }
        const auto line = _server.readLine(15000);
        if (!line || line->isEmpty()) {
            _problem = QStringLiteral("Xvfb reported no display within 15 s");
            return;
        }
        _display = QLatin1Char(':') + line->trimmed();
        _windowManager = std::make_unique<WindowManager>(environment());
        _problem = _windowManager->problem();
    }
    /// Whether the server and its window manager are up; problem() says why not.
    bool isRunning() const { return _problem.isEmpty(); }
    QString problem() const { return _problem; }
    QString display() const { return _display; }

    /// The environment of a Qt program that runs on this display.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), _display);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        return environment;
    }

    /// Runs xdotool against this display; true when it succeeded in time.
    bool xdotool(const QStringList &arguments) const
    {
        return xdotoolOutput(arguments).has_value();
    }

    std::optional<QString> xdotoolOutput(const QStringList &arguments) const
    {
        return ::xdotoolOutput(environment(), arguments);
    }

private:
    ChildProcess _server;
    QString _display;
    std::unique_ptr<WindowManager> _windowManager;
    QString _problem;
};
