// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <limits>
#include <memory>
#include <optional>

/// One process of the machine, read from /proc: identifiers, command, arguments and
/// environment, state, a few statistics, and signals. A value: copies describe the same
/// process, and two are equal when their process identifiers are.
///
/// Every figure is read when asked for, so it reports the process as it is then. A figure
/// that cannot be read (the process ended, or it belongs to another user and the kernel
/// keeps it private) or that Linux does not keep reports the failure sentinel: -1,
/// FailedTime, FailedSize, an empty string, list or map.
class RKProcess final
{
public:
    enum State : int
    {
        Unknown = 0,
        Runnable = 1,
        Uninterruptible = 2,
        Sleeping = 3,
        Idle = 4,
        Suspended = 5,
        Zombie = 6,
        Exited = 7,
    };

    static constexpr double FailedTime = 4294967295.0;
    static constexpr quint64 FailedSize = std::numeric_limits<quint64>::max();

    /// What the kernel's argument area says about a process.
    struct ArgumentArea
    {
        QString command;
        /// What the command runs, for programs that run other things (a widget, a jar).
        QString annotation;
        QStringList arguments;
        QMap<QString, QString> environment;
    };

    static QList<RKProcess> allProcesses();
    static QList<RKProcess> processesForProcessGroup(int processGroup);
    static QList<RKProcess> processesForTerminal(int terminal);
    /// By effective user.
    static QList<RKProcess> processesForUser(int userIdentifier);
    static QList<RKProcess> processesForRealUser(int userIdentifier);
    /// The processes of this process's effective user.
    static QList<RKProcess> userProcesses();
    /// Nothing for a process that does not exist.
    static std::optional<RKProcess> processForProcessIdentifier(int processIdentifier);
    static std::optional<RKProcess> currentProcess();
    /// Every process whose command, or the name of the program file it runs, is exactly
    /// `command` (case-sensitive): a program started through a link of another name is found
    /// by its own. Only what the names need is read, never a process's environment.
    static QList<RKProcess> processesForCommand(const QString &command);
    static std::optional<RKProcess> processForCommand(const QString &command);

    int processIdentifier() const { return _process; }
    /// Linux has no task ports: always 0.
    quint32 task() const { return 0; }

    QString command() const;
    /// The program file the process runs, links followed; empty when the kernel does not
    /// tell (another user's process, a kernel thread).
    QString executablePath() const;
    QString executableName() const;
    QString annotation() const;
    QStringList arguments() const;
    QMap<QString, QString> environment() const;
    /// The command, followed by " (annotation)" when there is one.
    QString annotatedCommand() const;

    std::optional<RKProcess> parent() const;
    QList<RKProcess> children() const;
    QList<RKProcess> siblings() const;

    int parentProcessIdentifier() const;
    int processGroup() const;
    /// The controlling terminal's device number; -1 for none.
    int terminal() const;
    /// -1 for none.
    int terminalProcessGroup() const;
    int userIdentifier() const;
    int realUserIdentifier() const;

    /// The most active state over the process's threads; Exited once it is gone.
    State state() const;
    int threadCount() const;
    /// Linux's priorities do not compare with the figures these stood for: -1.
    int priority() const { return -1; }
    int basePriority() const { return -1; }
    double userCPUTime() const;
    double systemCPUTime() const;
    double totalCPUTime() const;
    /// A momentary figure needs two samples; Linux keeps only totals: FailedTime.
    double percentCPUUsage() const { return FailedTime; }
    quint64 residentMemorySize() const;
    quint64 virtualMemorySize() const;
    /// Resident size as a fraction of physical memory.
    double percentMemoryUsage() const;
    int faults() const;
    int pageins() const;
    int contextSwitches() const;
    // Figures Linux does not keep per process.
    int copyOnWriteFaults() const { return -1; }
    int messagesSent() const { return -1; }
    int messagesReceived() const { return -1; }
    int machSystemCalls() const { return -1; }
    int unixSystemCalls() const { return -1; }

    QString description() const;

    /// True when the signal was delivered. A process that has ended, and any later process
    /// that was given its identifier, is never signalled.
    bool kill(int signal) const;
    bool suspend() const;
    bool resume() const;
    bool interrupt() const;
    bool terminate() const;

    bool operator==(const RKProcess &other) const { return _process == other._process; }

    /// Reads the NUL-separated argument list and environment as /proc gives them. Empty and
    /// non-UTF-8 strings are skipped; "LaunchCFMApp" gives way to the program it starts;
    /// "DashboardClient", "Konfabulator" and "java" are annotated with the widget or jar they
    /// run. An environment string without "=" is left out.
    static ArgumentArea parseArgumentArea(const QByteArray &commandLine,
                                          const QByteArray &environment);

private:
    explicit RKProcess(int processIdentifier);

    /// Command, annotation and arguments; the environment is read apart, when asked for.
    const ArgumentArea &_procargs() const;
    QList<QByteArray> _statFields() const;

    int _process;
    // Tells this process apart from a later one given the same identifier.
    qint64 _startTime;
    mutable std::shared_ptr<const ArgumentArea> _argumentArea;
    mutable std::shared_ptr<const QMap<QString, QString>> _environment;
};
