// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

/// The `brisko-preferences` program.
///
///     brisko-preferences [--show-pane <pane identifier or path>]
///
/// Without a host in the session, the program becomes the host and shows the pane (the
/// first one found when none is named). With a host running, it asks that host to show the
/// pane and ends once the pane is shown.
///
/// With --show-pane the program always ends once the pane is shown: with no host running,
/// it starts one in the background (in a session of its own, so it outlives whoever asked)
/// and waits for it to say the pane is on screen. Exit status 0 then; 1 when the pane cannot
/// be shown, with the reason on standard error; 2 for a wrong command line.
namespace HostCommandLine {

struct Options
{
    bool showPane = false;
    QString paneIdentifier;
    bool help = false;
    /// Set when the command line cannot be understood.
    QString error;
};

/// Reads the program's own arguments (the program name first); Qt's options such as
/// -platform are left for QApplication.
Options parse(const QStringList &arguments);
QString usage();

/// The whole program.
int run(int argc, char **argv);

} // namespace HostCommandLine
