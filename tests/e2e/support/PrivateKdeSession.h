// SPDX-License-Identifier: MIT
#pragma once

#include "tests/e2e/support/TestProcesses.h"
#include "tests/support/TemporaryHome.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>
#include <QTemporaryDir>

#include <csignal>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <utility>

/// Hears what a KWin script reports about the windows KWin manages.
class KWinWindowFacts final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.ambertide.BriskoTest.KWinFacts")
public:
    std::optional<QJsonArray> last;
    QStringList fired;

public Q_SLOTS:
    void pressed(const QString &, const QString &action, qlonglong) { fired.append(action); }

    Q_SCRIPTABLE void report(const QString &facts)
    {
        last = QJsonDocument::fromJson(facts.toUtf8()).array();
    }
};

/// A KDE Plasma Wayland session of a test's own: a fresh home, a private session bus that can
/// start only the desktop portal and KDE's portal back end, and the real `kwin_wayland` on a
/// virtual screen with XWayland, owning the session's global shortcuts (kglobalaccel). Keys
/// are pressed through KWin's fake-input protocol; what KWin knows of its windows comes from a
/// script KWin runs.
class PrivateKdeSession final
{
public:
    static inline const QString FakeKeys =
        QStringLiteral(BRISKO_BINARY_DIR "/tests/e2e/brisko-fake-keys");

    PrivateKdeSession()
    {
        // Before the bus starts, so the services it starts keep their files in this home.
        qputenv("XDG_CURRENT_DESKTOP", "KDE");
        qputenv("XDG_SESSION_TYPE", "wayland");
        QDir().mkpath(_home.runtimeDir());
        QFile::setPermissions(_home.runtimeDir(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QStringList services = {
            QStringLiteral("org.freedesktop.portal.Desktop"),
            QStringLiteral("org.freedesktop.impl.portal.desktop.kde"),
            QStringLiteral("org.freedesktop.impl.portal.PermissionStore")};
        for (const QString &service : services) {
            if (PrivateSessionBus::machineServiceFiles(service).isEmpty()) {
                _problem = QStringLiteral("the D-Bus service %1 is not installed (packages "
                                          "xdg-desktop-portal and xdg-desktop-portal-kde)")
                               .arg(service);
                return;
            }
        }
        _bus = std::make_unique<PrivateSessionBus>(services);
        if (!_bus->isRunning()) {
            _problem = QStringLiteral("dbus-daemon did not start the session's bus");
            return;
        }
        _startKWin();
        if (!_problem.isEmpty())
            return;
        _facts = QDBusConnection::connectToBus(_bus->address(), QStringLiteral("kwin-facts"));
        if (!_facts.registerObject(QStringLiteral("/facts"), &_receiver,
                                   QDBusConnection::ExportScriptableSlots) ||
            !_facts.connect(QStringLiteral("org.kde.kglobalaccel"),
                            QStringLiteral("/component/kwin"),
                            QStringLiteral("org.kde.kglobalaccel.Component"),
                            QStringLiteral("globalShortcutPressed"), &_receiver,
                            SLOT(pressed(QString, QString, qlonglong))))
            _problem = QStringLiteral("the test cannot hear KWin on the bus");
    }
    ~PrivateKdeSession()
    {
        // The services the bus started outlive it (KDE's portal back end does), so every
        // program still on the bus is ended first.
        if (_facts.isConnected()) {
            const QDBusMessage names = _facts.call(QDBusMessage::createMethodCall(
                QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListNames")));
            for (const QString &name : names.arguments().value(0).toStringList()) {
                if (!name.startsWith(QLatin1Char(':')))
                    continue;
                QDBusMessage pid = QDBusMessage::createMethodCall(
                    QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                    QStringLiteral("org.freedesktop.DBus"),
                    QStringLiteral("GetConnectionUnixProcessID"));
                pid << name;
                const uint process = _facts.call(pid).arguments().value(0).toUInt();
                if (process > 1 && qint64(process) != QCoreApplication::applicationPid())
                    ::kill(pid_t(process), SIGTERM);
            }
        }
        _kwin.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("kwin-facts"));
        qunsetenv("XDG_CURRENT_DESKTOP");
        qunsetenv("XDG_SESSION_TYPE");
    }
    PrivateKdeSession(const PrivateKdeSession &) = delete;
    PrivateKdeSession &operator=(const PrivateKdeSession &) = delete;

    bool isRunning() const { return _problem.isEmpty(); }
    QString problem() const { return _problem; }
    QString waylandDisplay() const { return _socket; }
    QString x11Display() const { return _x11Display; }

    /// The environment of a program started in this session, as the desktop starts them.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), _socket);
        environment.insert(QStringLiteral("DISPLAY"), _x11Display);
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("XAUTHORITY"));
        environment.insert(QStringLiteral("KWIN_WAYLAND_NO_PERMISSION_CHECKS"),
                           QStringLiteral("1"));
        return environment;
    }

    /// Presses `chord` ("ctrl+alt+space") on KWin's keyboard, or types `text`.
    bool press(const QString &chord) const { return _fakeKeys(QStringLiteral("chord"), chord); }
    bool type(const QString &text) const { return _fakeKeys(QStringLiteral("type"), text); }

    /// Every window KWin manages, with caption, geometry, active, keepAbove and skipTaskbar;
    /// nothing when KWin's script did not report in time.
    std::optional<QJsonArray> windows()
    {
        _receiver.last.reset();
        const QString script = _scratch.filePath(QStringLiteral("facts%1.js").arg(++_scripts));
        QFile file(script);
        if (!file.open(QIODevice::WriteOnly))
            return std::nullopt;
        file.write(QStringLiteral(R"(
const facts = workspace.clientList().map(function (c) {
    return {caption: c.caption, x: c.x, y: c.y, width: c.width, height: c.height,
            active: c.active, keepAbove: c.keepAbove, skipTaskbar: c.skipTaskbar};
});
callDBus("%1", "/facts", "com.ambertide.BriskoTest.KWinFacts", "report", JSON.stringify(facts));
)")
                       .arg(_facts.baseService())
                       .toUtf8());
        file.close();
        QDBusMessage load = QDBusMessage::createMethodCall(
            QStringLiteral("org.kde.KWin"), QStringLiteral("/Scripting"),
            QStringLiteral("org.kde.kwin.Scripting"), QStringLiteral("loadScript"));
        load << script << QStringLiteral("brisko-facts-%1").arg(_scripts);
        const QDBusMessage loaded = _facts.call(load, QDBus::Block, 5000);
        if (loaded.type() != QDBusMessage::ReplyMessage)
            return std::nullopt;
        const QString path = QLatin1Char('/') + loaded.arguments().value(0).toString();
        _facts.call(QDBusMessage::createMethodCall(QStringLiteral("org.kde.KWin"), path,
                                                   QStringLiteral("org.kde.kwin.Script"),
                                                   QStringLiteral("run")),
                    QDBus::Block, 5000);
        waitUntil([this] { return _receiver.last.has_value(); }, 5000);
        _facts.call(QDBusMessage::createMethodCall(QStringLiteral("org.kde.KWin"), path,
                                                   QStringLiteral("org.kde.kwin.Script"),
                                                   QStringLiteral("stop")),
                    QDBus::Block, 5000);
        return _receiver.last;
    }

    /// The window captioned `caption` as KWin sees it, or nothing.
    std::optional<QJsonObject> window(const QString &caption)
    {
        const auto all = windows();
        if (!all)
            return std::nullopt;
        for (const QJsonValue &value : *all) {
            if (value.toObject().value(QStringLiteral("caption")).toString() == caption)
                return value.toObject();
        }
        return std::nullopt;
    }

    /// Names of KWin's own shortcuts that fired since the last call ("Overview" for Meta+W).
    QStringList kwinShortcutsFired()
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        return std::exchange(_receiver.fired, {});
    }

    /// A call on the session bus, as the desktop's own tools make it.
    QDBusMessage call(const QDBusMessage &message)
    {
        return _facts.call(message, QDBus::Block, 5000);
    }

private:
    void _startKWin()
    {
        // The installed binary carries a file capability that a container refuses to execute;
        // a plain copy runs.
        const QString kwin = _scratch.filePath(QStringLiteral("kwin_wayland"));
        if (!QFile::copy(QStringLiteral("/usr/bin/kwin_wayland"), kwin)) {
            _problem = QStringLiteral("/usr/bin/kwin_wayland is missing (package kwin-wayland)");
            return;
        }
        // XWayland makes its socket there, and only root may create the folder.
        if (!QFileInfo(QStringLiteral("/tmp/.X11-unix")).isDir() &&
            (::mkdir("/tmp/.X11-unix", 01777) != 0 || ::chmod("/tmp/.X11-unix", 01777) != 0)) {
            _problem = QStringLiteral("/tmp/.X11-unix does not exist, so XWayland cannot start");
            return;
        }
        _socket = QStringLiteral("brisko-wayland-%1").arg(QCoreApplication::applicationPid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.insert(QStringLiteral("KWIN_WAYLAND_NO_PERMISSION_CHECKS"),
                           QStringLiteral("1"));
        environment.insert(QStringLiteral("KWIN_SCREENSHOT_NO_PERMISSION_CHECKS"),
                           QStringLiteral("1"));
        // The session's first program tells which X display XWayland serves, then waits; KWin
        // keeps that program's output to itself, so it writes a file.
        const QString displayFile = _scratch.filePath(QStringLiteral("display"));
        _kwin = std::make_unique<ChildProcess>(
            kwin,
            QStringList{
                QStringLiteral("--virtual"), QStringLiteral("--xwayland"),
                QStringLiteral("--socket"), _socket, QStringLiteral("--width"),
                QStringLiteral("1280"), QStringLiteral("--height"), QStringLiteral("800"),
                QStringLiteral("--no-lockscreen"), QStringLiteral("--exit-with-session"),
                QStringLiteral("sh -c 'echo $DISPLAY > %1.new && mv %1.new %1; exec sleep 100000'")
                    .arg(displayFile)},
            environment);
        if (!_kwin->started()) {
            _problem = QStringLiteral("kwin_wayland could not be started");
            return;
        }
        waitUntil(
            [&] {
                QFile file(displayFile);
                if (file.open(QIODevice::ReadOnly))
                    _x11Display = QString::fromUtf8(file.readAll()).trimmed();
                return !_x11Display.isEmpty() || _kwin->process().state() != QProcess::Running;
            },
            20000);
        if (_x11Display.isEmpty()) {
            _problem = QStringLiteral("kwin_wayland started no session within 20 s: ") +
                       _kwin->standardError().right(2000);
            return;
        }
        // The portal, started by the bus later, must find the compositor.
        QProcessEnvironment session = environment;
        session.insert(QStringLiteral("WAYLAND_DISPLAY"), _socket);
        session.insert(QStringLiteral("DISPLAY"), _x11Display);
        ChildProcess update(QStringLiteral("dbus-update-activation-environment"),
                            {QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("DISPLAY"),
                             QStringLiteral("XDG_CURRENT_DESKTOP"),
                             QStringLiteral("XDG_SESSION_TYPE")},
                            session);
        if (!update.waitForFinished(10000) || update.exitCode() != 0)
            _problem = QStringLiteral("dbus-update-activation-environment failed: ") +
                       update.standardError();
    }

    bool _fakeKeys(const QString &mode, const QString &keys) const
    {
        ChildProcess tool(FakeKeys, {mode, keys}, environment());
        return tool.waitForFinished(10000) && tool.exitCode() == 0;
    }

    TemporaryHome _home;
    QTemporaryDir _scratch;
    std::unique_ptr<PrivateSessionBus> _bus;
    std::unique_ptr<ChildProcess> _kwin;
    QDBusConnection _facts{QString()};
    KWinWindowFacts _receiver;
    QString _socket;
    QString _x11Display;
    QString _problem;
    int _scripts = 0;
};
