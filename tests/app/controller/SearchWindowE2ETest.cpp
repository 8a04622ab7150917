// SPDX-License-Identifier: MIT
#include "TemporaryHome.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

#include <gtest/gtest.h>

#include <memory>

namespace {

/// A child process read line by line, each wait bounded, ended with the object.
class Child final
{
public:
    Child(const QString &program, const QStringList &arguments,
          const QProcessEnvironment &environment)
    {
        _process.setProcessEnvironment(environment);
        _process.start(program, arguments);
        _started = _process.waitForStarted(10000);
    }
    ~Child()
    {
        if (_process.state() != QProcess::NotRunning) {
            _process.terminate();
            if (!_process.waitForFinished(3000)) {
                _process.kill();
                _process.waitForFinished(3000);
            }
        }
    }
    bool started() const { return _started; }
    bool waitForLine(const QByteArray &expected, int timeoutMs)
    {
        for (;;) {
            while (_process.canReadLine())
                if (_process.readLine().trimmed() == expected)
                    return true;
            if (_process.state() == QProcess::NotRunning || !_process.waitForReadyRead(timeoutMs))
                return false;
        }
    }
    QString errors() { return QString::fromUtf8(_process.readAllStandardError()); }

private:
    QProcess _process;
    bool _started = false;
};

bool run(const QString &program, const QStringList &arguments, int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

TEST(SearchWindowOnX11, AnotherApplicationTakingTheFocusHidesTheSearchWindow)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "needs an X server: run under xvfb-run";
    TemporaryHome home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));

    // A window manager, so that activation and focus behave as on a desktop. One that is
    // already running makes this one give up, which is as good.
    Child windowManager(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")}, environment);
    ASSERT_TRUE(
        run(QStringLiteral("xdotool"), {QStringLiteral("sleep"), QStringLiteral("0.5")}, 5000));

    Child probe(
        QStringLiteral(BRISKO_BINARY_DIR "/tests/app/controller/brisko-search-window-probe"),
        {QStringLiteral(BRISKO_TEST_DATA_DIR "/controller")}, environment);
    ASSERT_TRUE(probe.started());
    ASSERT_TRUE(probe.waitForLine("shown", 15000))
        << "the search window never became the active window: " << qPrintable(probe.errors());

    Child other(QStringLiteral("xmessage"),
                {QStringLiteral("-name"), QStringLiteral("briskoother"),
                 QStringLiteral("another application")},
                environment);
    ASSERT_TRUE(other.started());
    ASSERT_TRUE(run(QStringLiteral("xdotool"),
                    {QStringLiteral("search"), QStringLiteral("--sync"),
                     QStringLiteral("--classname"), QStringLiteral("briskoother"),
                     QStringLiteral("windowactivate"), QStringLiteral("--sync")},
                    15000))
        << "xdotool could not activate the other application's window";
    EXPECT_TRUE(probe.waitForLine("hidden", 10000))
        << "the search window stayed up after another application took the focus: "
        << qPrintable(probe.errors());
}
