// SPDX-License-Identifier: MIT
// Every option and command a program's --help names is described in its manual page, and
// --help answers without a display.
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

struct Help
{
    int exitCode = -1;
    QString text;
};

/// As from a terminal without a display: help needs none.
Help helpOf(const QString &program)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, {QStringLiteral("--help")});
    Help help;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(5000);
        return help;
    }
    help.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    help.text = QString::fromUtf8(process.readAllStandardOutput());
    return help;
}

/// The page's source with roff's escaped hyphens, quotes and font changes undone.
QStringList pageLines(const QString &name)
{
    QFile file(QStringLiteral(BRISKO_SOURCE_DIR "/packaging/man/") + name + QLatin1String(".1"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QLatin1String("\\-"), QLatin1String("-"));
    text.replace(QLatin1String("\\(dq"), QLatin1String("\""));
    text.remove(QRegularExpression(QStringLiteral("\\\\f[A-Z]")));
    return text.split(QLatin1Char('\n'));
}

QStringList optionsIn(const QString &help)
{
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])--?[A-Za-z][A-Za-z-]*"));
    QStringList options;
    for (const QRegularExpressionMatch &match : option.globalMatch(help)) {
        if (!options.contains(match.captured()))
            options.append(match.captured());
    }
    return options;
}

/// The words that follow the program's name at the start of a usage line: its commands.
QStringList commandsIn(const QString &help, const QString &program)
{
    const QRegularExpression usage(
        QStringLiteral("^\\s*(?:usage:\\s*)?%1 ([a-z]+)").arg(QRegularExpression::escape(program)),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    QStringList commands;
    for (const QRegularExpressionMatch &match : usage.globalMatch(help))
        commands.append(match.captured(1));
    return commands;
}

TEST(ManualPages, DescribeEveryOptionAndCommandOfTheirProgram)
{
    const struct
    {
        const char *page;
        const char *program;
    } programs[] = {
        {"brisko", BRISKO_BINARY_DIR "/bin/brisko"},
        {"brisko-preferences", BRISKO_BINARY_DIR "/bin/brisko-preferences"},
        {"brisko-ctl", BRISKO_BINARY_DIR "/bin/brisko-ctl"},
        {"brisko-defaults", BRISKO_BINARY_DIR "/bin/brisko-defaults"},
    };
    for (const auto &program : programs) {
        SCOPED_TRACE(program.page);
        const Help help = helpOf(QString::fromUtf8(program.program));
        ASSERT_EQ(help.exitCode, 0) << "--help failed";
        const QStringList page = pageLines(QString::fromUtf8(program.page));
        ASSERT_FALSE(page.isEmpty()) << "no manual page";
        const QString text = page.join(QLatin1Char('\n'));

        const QStringList options = optionsIn(help.text);
        EXPECT_TRUE(options.contains(QStringLiteral("--help"))) << qPrintable(help.text);
        for (const QString &option : options) {
            const QRegularExpression described(
                QStringLiteral("(?<![\\w-])%1(?![\\w-])").arg(QRegularExpression::escape(option)));
            EXPECT_TRUE(described.match(text).hasMatch()) << qPrintable(option);
        }
        // A command is described where a line of the page starts with it.
        for (const QString &command : commandsIn(help.text, QString::fromUtf8(program.page))) {
            const QRegularExpression heading(QStringLiteral("^(?:\\.[A-Z]+ )?%1\\b").arg(command),
                                             QRegularExpression::MultilineOption);
            EXPECT_TRUE(heading.match(text).hasMatch()) << qPrintable(command);
        }
    }
}

} // namespace
