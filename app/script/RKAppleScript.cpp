// SPDX-License-Identifier: MIT
#include "app/script/RKAppleScript.h"

#include <QCoreApplication>
#include <QProcess>
#include <QThread>

#include <csignal>

#include <unistd.h>

const QString RKAppleScript::ErrorMessageKey = QStringLiteral("RKAppleScriptErrorMessage");
const QString RKAppleScript::ErrorNumberKey = QStringLiteral("RKAppleScriptErrorNumber");

namespace {

const QString kShell = QStringLiteral("/bin/sh");

QVariantMap errorDictionary(int number, const QString &message)
{
    return {{RKAppleScript::ErrorMessageKey, message}, {RKAppleScript::ErrorNumberKey, number}};
}

struct Run
{
    bool started = false;
    bool timedOut = false;
    bool crashed = false;
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};

// Runs the shell in a process group of its own, so that a time-out can end the script
// together with everything it started.
Run runShell(const QStringList &arguments, int timeoutSeconds)
{
    Run run;
    QProcess process;
    process.setProgram(kShell);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.start();
    if (!process.waitForStarted(-1))
        return run;
    run.started = true;
    const qint64 pid = process.processId();
    if (!process.waitForFinished(timeoutSeconds * 1000)) {
        run.timedOut = true;
        if (pid > 0)
            ::kill(-pid_t(pid), SIGKILL);
        process.kill();
        process.waitForFinished(-1);
        return run;
    }
    run.crashed = process.exitStatus() != QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.output = process.readAllStandardOutput();
    run.errors = process.readAllStandardError();
    return run;
}

QString firstLines(const QByteArray &errors)
{
    return QString::fromUtf8(errors).trimmed();
}

} // namespace

RKAppleScript &RKAppleScript::sharedInstance()
{
    // Function-local statics are created once even when first calls race.
    static RKAppleScript *runner = new RKAppleScript;
    return *runner;
}

std::optional<QString> RKAppleScript::executeScript(const QString &source, QVariantMap *errorInfo,
                                                    int timeoutSeconds)
{
    std::unique_lock<std::mutex> guard(_lock, std::try_to_lock);
    if (!guard.owns_lock())
        return std::nullopt;

    _appleScript.clear();
    _eventDesc.reset();
    _errorInfo.clear();
    // No shell word can hold a NUL character: such a text is no script at all.
    if (source.contains(QChar(0)))
        return std::nullopt;
    _appleScript = source;
    _timeoutSeconds = qMax(1, timeoutSeconds);

    QCoreApplication *application = QCoreApplication::instance();
    if (application && QThread::currentThread() != application->thread())
        QMetaObject::invokeMethod(
            application, [this] { _executeAppleScript(); }, Qt::BlockingQueuedConnection);
    else
        _executeAppleScript();

    if (errorInfo)
        *errorInfo = _errorInfo;
    return _eventDesc;
}

void RKAppleScript::_executeAppleScript()
{
    const Run check =
        runShell({QStringLiteral("-n"), QStringLiteral("-c"), _appleScript}, _timeoutSeconds);
    if (!check.started) {
        _errorInfo =
            errorDictionary(CannotRunError, QStringLiteral("Cannot start %1.").arg(kShell));
        return;
    }
    if (check.timedOut) {
        _errorInfo = errorDictionary(TimeoutError, QStringLiteral("The script timed out."));
        return;
    }
    if (check.crashed || check.exitCode != 0) {
        const QString message = firstLines(check.errors);
        _errorInfo = errorDictionary(SyntaxError,
                                     message.isEmpty() ? QStringLiteral("Syntax error.") : message);
        return;
    }

    const Run run = runShell({QStringLiteral("-c"), _appleScript}, _timeoutSeconds);
    if (!run.started) {
        _errorInfo =
            errorDictionary(CannotRunError, QStringLiteral("Cannot start %1.").arg(kShell));
    } else if (run.timedOut) {
        _errorInfo = errorDictionary(TimeoutError, QStringLiteral("The script timed out."));
    } else if (run.crashed) {
        _errorInfo = errorDictionary(CannotRunError, QStringLiteral("The script was ended."));
    } else if (run.exitCode != 0) {
        const QString message = firstLines(run.errors);
        _errorInfo = errorDictionary(
            run.exitCode, message.isEmpty()
                              ? QStringLiteral("The script ended with status %1.").arg(run.exitCode)
                              : message);
    } else {
        QString result = QString::fromUtf8(run.output);
        if (result.endsWith(QLatin1Char('\n')))
            result.chop(1);
        _eventDesc = result;
    }
}
