// SPDX-License-Identifier: MIT
#include "app/script/PreferencePaneOpener.h"

#include "app/script/TellApplication.h"
#include "platform/core/Bundle.h"
#include "platform/core/InstallLayout.h"

#include <QProcess>
#include <QStandardPaths>

#include <cstdio>

namespace PreferencePaneOpener {

void open(const QString &paneIdentifier, QObject *context, std::function<void()> shown)
{
    // The host on PATH first, as a shell would start it; then the one of this installation,
    // which a prefix outside PATH (or a build tree) still has beside the bundle.
    QString program = QStandardPaths::findExecutable(TellApplication::preferencesHostProgram());
    if (program.isEmpty())
        program = InstallLayout::launcherForApplicationBundle(
            Bundle::mainBundle(), TellApplication::preferencesHostProgram());
    if (program.isEmpty()) {
        std::fprintf(stderr, "Brisko: %s is not installed\n",
                     qPrintable(TellApplication::preferencesHostProgram()));
        return;
    }
    auto *host = new QProcess(context);
    host->setProgram(program);
    host->setArguments({TellApplication::showPaneOption(), paneIdentifier});
    host->setStandardInputFile(QProcess::nullDevice());
    host->setStandardOutputFile(QProcess::nullDevice());
    host->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(host, &QProcess::finished, host,
                     [host, shown = std::move(shown)](int exitCode, QProcess::ExitStatus status) {
                         host->deleteLater();
                         if (status == QProcess::NormalExit && exitCode == 0)
                             shown();
                     });
    QObject::connect(host, &QProcess::errorOccurred, host, [host](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        std::fprintf(stderr, "Brisko: cannot start %s\n", qPrintable(host->program()));
        host->deleteLater();
    });
    host->start();
}

} // namespace PreferencePaneOpener
