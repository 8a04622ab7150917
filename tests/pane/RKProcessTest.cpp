// SPDX-License-Identifier: MIT
#include "pane/process/RKProcess.h"
#include "tests/pane/PaneTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <cstdlib>

#include <unistd.h>

namespace {

// A literal with its NUL characters, the final one of the literal left out.
template <std::size_t N>
QByteArray raw(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N - 1));
}

/// A shell of the test's own that sleeps, with arguments and an environment to look for.
class Child : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("BRISKO_PROCESS_TEST"), QStringLiteral("a=b c"));
        shell.setProcessEnvironment(environment);
        // The trailing ":" keeps the shell itself running rather than replaced by sleep.
        shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("sleep 60; :"),
                                                QStringLiteral("name with blanks")});
        ASSERT_TRUE(shell.waitForStarted());
        const auto found = RKProcess::processForProcessIdentifier(int(shell.processId()));
        ASSERT_TRUE(found.has_value());
        child = *found;
    }
    void TearDown() override
    {
        shell.kill();
        shell.waitForFinished();
    }

    QProcess shell;
    std::optional<RKProcess> child;
};

TEST(RKProcessSelf, DescribesThisProcess)
{
    const std::optional<RKProcess> self = RKProcess::currentProcess();
    ASSERT_TRUE(self.has_value());
    EXPECT_EQ(self->processIdentifier(), int(::getpid()));
    EXPECT_EQ(self->command(), QFileInfo(QCoreApplication::arguments().first()).fileName());
    EXPECT_EQ(self->parentProcessIdentifier(), int(::getppid()));
    EXPECT_EQ(self->processGroup(), int(::getpgrp()));
    EXPECT_EQ(self->userIdentifier(), int(::geteuid()));
    EXPECT_EQ(self->realUserIdentifier(), int(::getuid()));
    // The thread reading its own state is running.
    EXPECT_EQ(self->state(), RKProcess::Runnable);
    EXPECT_GE(self->threadCount(), 1);
    EXPECT_NE(self->totalCPUTime(), RKProcess::FailedTime);
    EXPECT_GT(self->residentMemorySize(), 0u);
    EXPECT_NE(self->residentMemorySize(), RKProcess::FailedSize);
    EXPECT_EQ(self->messagesSent(), -1) << "a figure Linux lacks must say so";
    EXPECT_TRUE(RKProcess::userProcesses().contains(*self));
}

TEST_F(Child, DescribesAChildStartedByTheTest)
{
    EXPECT_EQ(child->command(), QStringLiteral("sh"));
    EXPECT_EQ(child->arguments(), (QStringList{QStringLiteral("-c"), QStringLiteral("sleep 60; :"),
                                               QStringLiteral("name with blanks")}));
    EXPECT_EQ(child->environment().value(QStringLiteral("BRISKO_PROCESS_TEST")),
              QStringLiteral("a=b c"));
    EXPECT_EQ(child->parent(), RKProcess::currentProcess());
    EXPECT_TRUE(RKProcess::currentProcess()->children().contains(*child));
    EXPECT_FALSE(child->siblings().contains(*child));
    EXPECT_TRUE(RKProcess::processesForCommand(QStringLiteral("sh")).contains(*child));
    EXPECT_FALSE(RKProcess::processesForCommand(QStringLiteral("SH")).contains(*child));
    EXPECT_TRUE(waitUntil([this] { return child->state() == RKProcess::Sleeping; }))
        << "state " << child->state();
}

TEST_F(Child, SignalsReachTheChildAndNothingElse)
{
    ASSERT_TRUE(child->suspend());
    EXPECT_TRUE(waitUntil([this] { return child->state() == RKProcess::Suspended; }));
    ASSERT_TRUE(child->resume());
    EXPECT_TRUE(waitUntil([this] { return child->state() == RKProcess::Sleeping; }));
    ASSERT_TRUE(child->terminate());
    ASSERT_TRUE(shell.waitForFinished(5000));
    EXPECT_EQ(shell.exitStatus(), QProcess::CrashExit);
    // Ended, not killed: the program may still save and say goodbye.
    EXPECT_EQ(shell.exitCode(), SIGTERM);

    // Ended and gone: no figure, no signal, and no object for its identifier.
    EXPECT_EQ(child->state(), RKProcess::Exited);
    EXPECT_FALSE(child->terminate());
    EXPECT_FALSE(child->kill(0));
    EXPECT_EQ(child->parentProcessIdentifier(), -1);
    EXPECT_EQ(child->userCPUTime(), RKProcess::FailedTime);
    EXPECT_FALSE(RKProcess::processForProcessIdentifier(child->processIdentifier()).has_value());
}

// The menu entry and the login item start the application through a link of another name.
TEST(RKProcessCommand, AProgramIsFoundByItsNameHoweverItWasStarted)
{
    QTemporaryDir folder;
    const QString name = QStringLiteral("BriskoLinked%1").arg(QCoreApplication::applicationPid());
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), folder.filePath(name)));
    ASSERT_TRUE(QFile::link(folder.filePath(name), folder.filePath(QStringLiteral("brisko"))));
    for (const QString &started :
         {folder.filePath(name), folder.filePath(QStringLiteral("brisko"))}) {
        QProcess program;
        program.start(started, {QStringLiteral("60")});
        ASSERT_TRUE(program.waitForStarted()) << qPrintable(started);
        const auto process = RKProcess::processForProcessIdentifier(int(program.processId()));
        ASSERT_TRUE(process.has_value());
        EXPECT_TRUE(RKProcess::processesForCommand(name).contains(*process)) << qPrintable(started);
        program.kill();
        program.waitForFinished();
    }
}

// Reading an environment waits on the process's memory, which a hung network file system
// may hold; a name never needs it. Read only when asked, it shows a change made after the
// process was found.
TEST(RKProcessCommand, FindingByNameLeavesTheEnvironmentUnread)
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    ASSERT_TRUE(stat.open(QIODevice::ReadOnly));
    const QByteArray text = stat.readAll();
    // Fields 50 and 51 of proc(5): where the environment the process started with lies.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const quintptr start = fields.value(50 - 3).toULongLong();
    const quintptr end = fields.value(51 - 3).toULongLong();
    char *path = std::getenv("PATH");
    if (!path || quintptr(path) < start || quintptr(path) >= end || *path == '\0')
        GTEST_SKIP() << "PATH is not where the process's first environment lies";

    const std::optional<RKProcess> self = RKProcess::currentProcess();
    ASSERT_TRUE(self.has_value());
    const QList<RKProcess> found = RKProcess::processesForCommand(self->command());
    const auto it = std::find(found.cbegin(), found.cend(), *self);
    ASSERT_NE(it, found.cend());
    const char saved = *path;
    const char changed = saved == 'X' ? 'Y' : 'X';
    *path = changed;
    const QString seen = it->environment().value(QStringLiteral("PATH"));
    *path = saved;
    EXPECT_TRUE(seen.startsWith(QLatin1Char(changed)))
        << "the environment was read while looking for the name";
}

TEST(RKProcessMissing, IdentifiersWithoutAProcessGiveNothing)
{
    for (const int pid : {0, -1, std::numeric_limits<int>::max()})
        EXPECT_FALSE(RKProcess::processForProcessIdentifier(pid).has_value()) << pid;
    EXPECT_FALSE(RKProcess::processForCommand(QStringLiteral("no such command here")));
}

TEST(RKProcessArguments, ArgumentAreasAreRead)
{
    struct Case
    {
        const char *name;
        QByteArray commandLine;
        QByteArray environment;
        RKProcess::ArgumentArea expected;
    };
    using Env = QMap<QString, QString>;
    const Case cases[] = {
        {"plain",
         raw("/usr/bin/tool\0-v\0file\0"),
         raw("A=1\0B=x=y\0"),
         {QStringLiteral("tool"),
          {},
          {QStringLiteral("-v"), QStringLiteral("file")},
          Env{{QStringLiteral("A"), QStringLiteral("1")},
              {QStringLiteral("B"), QStringLiteral("x=y")}}}},
        {"no arguments, no environment", raw("tool\0"), {}, {QStringLiteral("tool"), {}, {}, {}}},
        {"empty and broken strings are skipped",
         raw("\0/bin/tool\0\0\xff\xfe\0last\0"),
         raw("NOEQUALS\0=x\0OK=\0"),
         {QStringLiteral("tool"),
          {},
          {QStringLiteral("last")},
          Env{{QStringLiteral("OK"), QString()}}}},
        {"the old loader gives way to its program",
         raw("/System/LaunchCFMApp\0/Apps/Writer\0doc\0"),
         {},
         {QStringLiteral("Writer"), {}, {QStringLiteral("doc")}, {}}},
        {"a widget runner names its widget",
         raw("DashboardClient\0-x\0/Library/Widgets/Weather.wdgt\0"),
         {},
         {QStringLiteral("DashboardClient"),
          QStringLiteral("Weather"),
          {QStringLiteral("-x"), QStringLiteral("/Library/Widgets/Weather.wdgt")},
          {}}},
        {"java names its jar",
         raw("/usr/bin/java\0-jar\0/opt/app/tool.jar\0"),
         {},
         {QStringLiteral("java"),
          QStringLiteral("tool.jar"),
          {QStringLiteral("-jar"), QStringLiteral("/opt/app/tool.jar")},
          {}}},
        {"nothing readable", raw("\0\0"), {}, {}},
    };
    for (const Case &c : cases) {
        const RKProcess::ArgumentArea area =
            RKProcess::parseArgumentArea(c.commandLine, c.environment);
        EXPECT_EQ(area.command, c.expected.command) << c.name;
        EXPECT_EQ(area.annotation, c.expected.annotation) << c.name;
        EXPECT_EQ(area.arguments, c.expected.arguments) << c.name;
        EXPECT_EQ(area.environment, c.expected.environment) << c.name;
    }
}

} // namespace
