// SPDX-License-Identifier: MIT
#include "pane/process/RKProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <csignal>

#include <unistd.h>

namespace {

// Fields of /proc/<pid>/stat, counted from 1 as proc(5) counts them.
enum StatField
{
    StatState = 3,
    StatParent = 4,
    StatProcessGroup = 5,
    StatTerminal = 7,
    StatTerminalProcessGroup = 8,
    StatMinorFaults = 10,
    StatMajorFaults = 12,
    StatUserTime = 14,
    StatSystemTime = 15,
    StatStartTime = 22,
};

QString procPath(int pid, const char *file)
{
    return QStringLiteral("/proc/%1/").arg(pid) + QLatin1String(file);
}

QByteArray readProcFile(const QString &path)
{
    QFile file(path);
    // Files under /proc report no size, so they are read to their end.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {};
    return file.readAll();
}

// The comm field may hold blanks and parentheses, so the fields after it are found from
// its last closing parenthesis; index 0 stands for field 1.
QList<QByteArray> statFields(const QByteArray &stat)
{
    const qsizetype open = stat.indexOf('(');
    const qsizetype close = stat.lastIndexOf(')');
    if (open < 0 || close < open)
        return {};
    QList<QByteArray> fields{stat.left(open).trimmed(), stat.mid(open + 1, close - open - 1)};
    fields.append(stat.mid(close + 1).simplified().split(' '));
    return fields;
}

QByteArray field(const QList<QByteArray> &fields, int number)
{
    return number - 1 < fields.size() ? fields.at(number - 1) : QByteArray();
}

qint64 numberField(const QList<QByteArray> &fields, int number, qint64 failed = -1)
{
    bool ok = false;
    const qint64 value = field(fields, number).toLongLong(&ok);
    return ok ? value : failed;
}

// The value after "<name>:" in /proc/<pid>/status, split at blanks.
QList<QByteArray> statusValues(int pid, const QByteArray &name)
{
    const QByteArray prefix = name + ':';
    for (const QByteArray &line : readProcFile(procPath(pid, "status")).split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).simplified().split(' ');
    }
    return {};
}

int statusNumber(int pid, const QByteArray &name, int index = 0)
{
    const QList<QByteArray> values = statusValues(pid, name);
    bool ok = false;
    const int value = index < values.size() ? values.at(index).toInt(&ok) : 0;
    return ok ? value : -1;
}

RKProcess::State stateForCode(char code)
{
    switch (code) {
    case 'R':
        return RKProcess::Runnable;
    case 'D':
        return RKProcess::Uninterruptible;
    case 'S':
        return RKProcess::Sleeping;
    case 'I':
        return RKProcess::Idle;
    case 'T':
    case 't':
        return RKProcess::Suspended;
    case 'Z':
    case 'X':
    case 'x':
        return RKProcess::Zombie;
    default:
        return RKProcess::Unknown;
    }
}

QList<QByteArray> nulSeparated(const QByteArray &area)
{
    QList<QByteArray> strings = area.split('\0');
    // The area ends with a NUL, which leaves one empty piece behind.
    if (!strings.isEmpty() && strings.constLast().isEmpty())
        strings.removeLast();
    return strings;
}

std::optional<QString> utf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QString lastPathComponent(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool wantsAnnotation(const QString &command)
{
    return command == QLatin1String("DashboardClient") ||
           command == QLatin1String("Konfabulator") || command == QLatin1String("java");
}

QString annotationFor(const QString &argument)
{
    const QString name = lastPathComponent(argument);
    const QString extension = QFileInfo(name).suffix();
    if (extension == QLatin1String("wdgt") || extension == QLatin1String("widget"))
        return name.left(name.size() - extension.size() - 1);
    if (extension == QLatin1String("jar"))
        return name;
    return {};
}

template <typename Predicate>
QList<RKProcess> processesWhere(Predicate predicate)
{
    QList<RKProcess> matching;
    for (const RKProcess &process : RKProcess::allProcesses()) {
        if (predicate(process))
            matching.append(process);
    }
    return matching;
}

} // namespace

RKProcess::RKProcess(int processIdentifier)
    : _process(processIdentifier)
    , _startTime(numberField(_statFields(), StatStartTime))
{}

QList<RKProcess> RKProcess::allProcesses()
{
    QList<RKProcess> processes;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool isNumber = false;
        const int pid = entry.toInt(&isNumber);
        if (!isNumber || pid <= 0)
            continue;
        if (std::optional<RKProcess> process = processForProcessIdentifier(pid))
            processes.append(*process);
    }
    return processes;
}

QList<RKProcess> RKProcess::processesForProcessGroup(int processGroup)
{
    return processesWhere([=](const RKProcess &p) { return p.processGroup() == processGroup; });
}

QList<RKProcess> RKProcess::processesForTerminal(int terminal)
{
    return processesWhere([=](const RKProcess &p) { return p.terminal() == terminal; });
}

QList<RKProcess> RKProcess::processesForUser(int userIdentifier)
{
    return processesWhere([=](const RKProcess &p) { return p.userIdentifier() == userIdentifier; });
}

QList<RKProcess> RKProcess::processesForRealUser(int userIdentifier)
{
    return processesWhere(
        [=](const RKProcess &p) { return p.realUserIdentifier() == userIdentifier; });
}

QList<RKProcess> RKProcess::userProcesses()
{
    return processesForUser(int(::geteuid()));
}

std::optional<RKProcess> RKProcess::processForProcessIdentifier(int processIdentifier)
{
    if (processIdentifier <= 0)
        return std::nullopt;
    RKProcess process(processIdentifier);
    if (process.state() == Exited)
        return std::nullopt;
    return process;
}

std::optional<RKProcess> RKProcess::currentProcess()
{
    return processForProcessIdentifier(int(::getpid()));
}

QList<RKProcess> RKProcess::processesForCommand(const QString &command)
{
    return processesWhere([&](const RKProcess &p) {
        return p.executableName() == command || p.command() == command;
    });
}

std::optional<RKProcess> RKProcess::processForCommand(const QString &command)
{
    const QList<RKProcess> processes = processesForCommand(command);
    if (processes.isEmpty())
        return std::nullopt;
    return processes.first();
}

RKProcess::ArgumentArea RKProcess::parseArgumentArea(const QByteArray &commandLine,
                                                     const QByteArray &environment)
{
    ArgumentArea area;
    bool haveCommand = false;
    for (const QByteArray &bytes : nulSeparated(commandLine)) {
        const std::optional<QString> string = bytes.isEmpty() ? std::nullopt : utf8(bytes);
        if (!string)
            continue;
        if (!haveCommand) {
            const QString name = lastPathComponent(*string);
            // The old loader of classic programs: what it loads is the program.
            if (name == QLatin1String("LaunchCFMApp"))
                continue;
            area.command = name;
            haveCommand = true;
            continue;
        }
        if (area.annotation.isEmpty() && wantsAnnotation(area.command))
            area.annotation = annotationFor(*string);
        area.arguments.append(*string);
    }
    for (const QByteArray &bytes : nulSeparated(environment)) {
        const std::optional<QString> string = bytes.isEmpty() ? std::nullopt : utf8(bytes);
        const qsizetype equals = string ? string->indexOf(QLatin1Char('=')) : -1;
        if (equals > 0)
            area.environment.insert(string->left(equals), string->mid(equals + 1));
    }
    return area;
}

const RKProcess::ArgumentArea &RKProcess::_procargs() const
{
    if (!_argumentArea) {
        // The environment is left for environment(): reading it can wait on the process's
        // memory, which a hung network file system may hold, and a name never needs it.
        ArgumentArea area = parseArgumentArea(readProcFile(procPath(_process, "cmdline")), {});
        // Kernel threads and zombies have no argument area: their short name stands in.
        if (area.command.isEmpty()) {
            area = ArgumentArea();
            area.command = QString::fromUtf8(field(_statFields(), 2));
        }
        _argumentArea = std::make_shared<const ArgumentArea>(std::move(area));
    }
    return *_argumentArea;
}

QList<QByteArray> RKProcess::_statFields() const
{
    return statFields(readProcFile(procPath(_process, "stat")));
}

QString RKProcess::command() const
{
    return _procargs().command;
}

QString RKProcess::annotation() const
{
    return _procargs().annotation;
}

QStringList RKProcess::arguments() const
{
    return _procargs().arguments;
}

QMap<QString, QString> RKProcess::environment() const
{
    if (!_environment)
        _environment = std::make_shared<const QMap<QString, QString>>(
            parseArgumentArea({}, readProcFile(procPath(_process, "environ"))).environment);
    return *_environment;
}

QString RKProcess::executablePath() const
{
    QString target = QFile::symLinkTarget(procPath(_process, "exe"));
    // A program file replaced or removed since it was started.
    if (target.endsWith(QLatin1String(" (deleted)")))
        target.chop(int(qstrlen(" (deleted)")));
    return target;
}

QString RKProcess::executableName() const
{
    return lastPathComponent(executablePath());
}

QString RKProcess::annotatedCommand() const
{
    const ArgumentArea &area = _procargs();
    if (area.annotation.isEmpty())
        return area.command;
    return QStringLiteral("%1 (%2)").arg(area.command, area.annotation);
}

std::optional<RKProcess> RKProcess::parent() const
{
    return processForProcessIdentifier(parentProcessIdentifier());
}

QList<RKProcess> RKProcess::children() const
{
    const int pid = _process;
    return processesWhere([=](const RKProcess &p) { return p.parentProcessIdentifier() == pid; });
}

QList<RKProcess> RKProcess::siblings() const
{
    const int pid = _process;
    const int parentPid = parentProcessIdentifier();
    return processesWhere([=](const RKProcess &p) {
        return p._process != pid && p.parentProcessIdentifier() == parentPid;
    });
}

int RKProcess::parentProcessIdentifier() const
{
    return int(numberField(_statFields(), StatParent));
}

int RKProcess::processGroup() const
{
    return int(numberField(_statFields(), StatProcessGroup));
}

int RKProcess::terminal() const
{
    const qint64 device = numberField(_statFields(), StatTerminal);
    return device == 0 ? -1 : int(device);
}

int RKProcess::terminalProcessGroup() const
{
    const qint64 group = numberField(_statFields(), StatTerminalProcessGroup);
    return group == 0 ? -1 : int(group);
}

int RKProcess::userIdentifier() const
{
    return statusNumber(_process, "Uid", 1);
}

int RKProcess::realUserIdentifier() const
{
    return statusNumber(_process, "Uid", 0);
}

RKProcess::State RKProcess::state() const
{
    const QList<QByteArray> fields = _statFields();
    if (fields.isEmpty())
        return Exited;
    const QByteArray code = field(fields, StatState);
    if (code == "Z")
        return Zombie;
    const QDir tasks(procPath(_process, "task"));
    const QStringList threads = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (threads.isEmpty())
        return Unknown;
    State state = Exited;
    for (const QString &thread : threads) {
        const QByteArray threadCode = field(
            statFields(readProcFile(tasks.filePath(thread) + QLatin1String("/stat"))), StatState);
        // A thread that ended since the listing tells nothing about the others.
        if (threadCode.isEmpty())
            continue;
        state = std::min(state, stateForCode(threadCode.at(0)));
    }
    return state == Exited ? Unknown : state;
}

int RKProcess::threadCount() const
{
    return statusNumber(_process, "Threads");
}

double RKProcess::userCPUTime() const
{
    const qint64 ticks = numberField(_statFields(), StatUserTime);
    return ticks < 0 ? FailedTime : double(ticks) / double(::sysconf(_SC_CLK_TCK));
}

double RKProcess::systemCPUTime() const
{
    const qint64 ticks = numberField(_statFields(), StatSystemTime);
    return ticks < 0 ? FailedTime : double(ticks) / double(::sysconf(_SC_CLK_TCK));
}

double RKProcess::totalCPUTime() const
{
    const double user = userCPUTime();
    const double system = systemCPUTime();
    return user == FailedTime || system == FailedTime ? FailedTime : user + system;
}

quint64 RKProcess::residentMemorySize() const
{
    const QList<QByteArray> pages = readProcFile(procPath(_process, "statm")).split(' ');
    bool ok = false;
    const quint64 resident = pages.size() > 1 ? pages.at(1).toULongLong(&ok) : 0;
    return ok ? resident * quint64(::sysconf(_SC_PAGESIZE)) : FailedSize;
}

quint64 RKProcess::virtualMemorySize() const
{
    const QList<QByteArray> pages = readProcFile(procPath(_process, "statm")).split(' ');
    bool ok = false;
    const quint64 size = pages.isEmpty() ? 0 : pages.at(0).toULongLong(&ok);
    return ok ? size * quint64(::sysconf(_SC_PAGESIZE)) : FailedSize;
}

double RKProcess::percentMemoryUsage() const
{
    const quint64 resident = residentMemorySize();
    const double physical = double(::sysconf(_SC_PHYS_PAGES)) * double(::sysconf(_SC_PAGESIZE));
    if (resident == FailedSize || physical <= 0)
        return FailedTime;
    return double(resident) / physical;
}

int RKProcess::faults() const
{
    const QList<QByteArray> fields = _statFields();
    const qint64 minor = numberField(fields, StatMinorFaults);
    const qint64 major = numberField(fields, StatMajorFaults);
    return minor < 0 || major < 0 ? -1 : int(std::min<qint64>(minor + major, INT_MAX));
}

int RKProcess::pageins() const
{
    return int(std::min<qint64>(numberField(_statFields(), StatMajorFaults), INT_MAX));
}

int RKProcess::contextSwitches() const
{
    const int voluntary = statusNumber(_process, "voluntary_ctxt_switches");
    const int involuntary = statusNumber(_process, "nonvoluntary_ctxt_switches");
    return voluntary < 0 || involuntary < 0 ? -1 : voluntary + involuntary;
}

QString RKProcess::description() const
{
    QStringList environment;
    const QMap<QString, QString> variables = this->environment();
    for (auto it = variables.cbegin(); it != variables.cend(); ++it)
        environment.append(it.key() + QLatin1Char('=') + it.value());
    return QStringLiteral("RKProcess process = %1, task = %2, command = %3, arguments = (%4), "
                          "environment = {%5}")
        .arg(_process)
        .arg(task())
        .arg(command(), arguments().join(QLatin1String(", ")),
             environment.join(QLatin1String(", ")));
}

bool RKProcess::kill(int signal) const
{
    // 0 and negative identifiers name whole groups of processes, never one.
    if (_process <= 0)
        return false;
    // A process that has ended cannot take a signal, and its identifier may already belong
    // to another process, one started later.
    const QList<QByteArray> fields = _statFields();
    if (fields.isEmpty() || field(fields, StatState) == "Z" ||
        numberField(fields, StatStartTime) != _startTime)
        return false;
    return ::kill(pid_t(_process), signal) == 0;
}

bool RKProcess::suspend() const
{
    return kill(SIGSTOP);
}

bool RKProcess::resume() const
{
    return kill(SIGCONT);
}

bool RKProcess::interrupt() const
{
    return kill(SIGINT);
}

bool RKProcess::terminate() const
{
    return kill(SIGTERM);
}
