// SPDX-License-Identifier: MIT
#pragma once

#include "pane/BriskoPanePref.h"
#include "tests/pane/PaneTestSupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <unistd.h>

inline const Bundle PaneBundle(QStringLiteral(BRISKO_PANE_BUNDLE_PATH));
inline const QString ApplicationPath =
    PaneBundle.pathForResource(QStringLiteral("Brisko"), QStringLiteral("app"));

/// The pane's main view in a window, as the host shows it.
class Pane : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Never the machine's own /opt, whose old copy would be ended and asked about, nor
        // its own Brisko: the application's processes are a program of the test's own.
        pane.setObsoleteCopyFolders(
            {home.path() + QStringLiteral("/opt"), QStringLiteral("~/Applications")});
        // Other users may run the program only when it lies where they may read.
        ASSERT_TRUE(QFile::setPermissions(programs.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                               QFile::ExeOwner | QFile::ReadOther |
                                                               QFile::ExeOther));
        command = QStringLiteral("BriskoCopy%1").arg(QCoreApplication::applicationPid());
        ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), programs.filePath(command)));
        pane.setApplicationCommand(command);
        view = pane.loadMainView();
        ASSERT_NE(view, nullptr) << qPrintable(pane.loadError());
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(view);
        pane.willSelect();
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        pane.didSelect();
        EXPECT_EQ(recorder.settled(), QStringList{ControlCommands::ControlDidStart});
    }

    template <typename Control>
    Control *control(const char *name) const
    {
        auto *found = view->findChild<Control *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << "no control " << name;
        return found;
    }

    /// Sends a command as the application would, and waits for the pane to have it.
    void announce(const QString &command, const QVariantMap &userInfo = {})
    {
        application.postNotification(ControlCommands::NotificationName, command, userInfo);
        const QString marker = QStringLiteral("barrier");
        bool heard = false;
        QObject context;
        DistributedNotificationCenter::defaultCenter().addObserver(
            &context, ControlCommands::NotificationName, marker,
            [&heard](const DistributedNotification &) { heard = true; });
        ASSERT_TRUE(DistributedNotificationCenter::defaultCenter().flush());
        application.postNotification(ControlCommands::NotificationName, marker);
        ASSERT_TRUE(waitUntil([&heard] { return heard; })) << "the pane never heard the barrier";
        recorder.settled();
    }

    /// A click on a switch's box: a stretched switch has nothing to press at its centre.
    static void toggle(QAbstractButton *box)
    {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }

    int launches() const
    {
        int count = 0;
        for (const RecordingWorkspace::Request &request : workspace->requests)
            count += request.operation == QLatin1String("launchApplication") &&
                     request.target == ApplicationPath;
        return count;
    }

    /// A process of the application's command, as this user or another one, from the test's
    /// own folder of programs or from `program`.
    std::unique_ptr<QProcess> startCopy(bool asAnotherUser, const QString &program = {})
    {
        auto process = std::make_unique<QProcess>();
        process->setProgram(program.isEmpty() ? programs.filePath(command) : program);
        process->setArguments({QStringLiteral("60")});
        if (asAnotherUser)
            process->setChildProcessModifier([] {
                if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                    ::_exit(126);
            });
        process->start();
        EXPECT_TRUE(process->waitForStarted());
        return process;
    }

    static int runDefaultsTool(const QStringList &arguments)
    {
        QProcess tool;
        tool.start(QStringLiteral(BRISKO_BINARY_DIR "/bin/brisko-defaults"), arguments);
        return tool.waitForFinished(15000) ? tool.exitCode() : -1;
    }

    TemporaryHome home;
    QTemporaryDir programs;
    QString command;
    InstalledWorkspace workspace;
    ControlRecorder recorder;
    DistributedNotificationCenter application;
    QWidget window;
    BriskoPanePref pane{PaneBundle};
    QWidget *view = nullptr;
};
