// SPDX-License-Identifier: MIT
#include "app/script/TellApplication.h"
#include "app/script/RKAppleScript.h"
#include "app/script/ShellQuote.h"
#include "tests/support/TemporaryHome.h"
#include "tests/support/WaitUntil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// Values from contact data or settings, each trying another way into the shell.
QString hostileText(const QString &markerFolder)
{
    const QString m = markerFolder + QLatin1String("/marker");
    return QStringLiteral("555'; touch %1-1; '\"; touch %1-2; \"$(touch %1-3)`touch %1-4`"
                          "; touch %1-5\ntouch %1-6\n&& touch %1-7 | touch %1-8 \\' \\")
        .arg(m);
}

class Scripts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bin = home.path() + QLatin1String("/bin");
        records = home.path() + QLatin1String("/records");
        markers = home.path() + QLatin1String("/markers");
        QDir().mkpath(bin);
        QDir().mkpath(records);
        QDir().mkpath(markers);
        // Stand-ins for the programs that drive other applications: they record their
        // arguments, NUL-separated, and do nothing else.
        for (const QString &program :
             {QStringLiteral("xdg-open"), TellApplication::preferencesHostProgram()})
            writeProgram(program, QStringLiteral("#!/bin/sh\nout=%1/%2\n"
                                                 "for a in \"$@\"; do printf '%s\\0' \"$a\"; done"
                                                 " > \"$out.tmp\" && mv \"$out.tmp\" \"$out\"\n")
                                      .arg(ShellQuote::quoted(records), program));
        savedPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin) + ':' + savedPath);
    }
    void TearDown() override { qputenv("PATH", savedPath); }

    void writeProgram(const QString &name, const QString &text)
    {
        QFile file(bin + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }

    // The arguments a stand-in received, forgotten once read so the next run records afresh;
    // waits for a detached one up to `seconds`.
    QStringList recordedArguments(const QString &program, int seconds = 30)
    {
        const QString path = records + QLatin1Char('/') + program;
        waitUntil([&] { return QFileInfo::exists(path); }, seconds * 1000);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {QStringLiteral("<%1 was never run>").arg(program)};
        QStringList arguments;
        for (const QByteArray &argument : file.readAll().split('\0'))
            arguments.append(QString::fromUtf8(argument));
        arguments.removeLast();
        file.remove();
        return arguments;
    }

    QStringList markersMade() const { return QDir(markers).entryList(QDir::Files); }

    TemporaryHome home;
    QString bin;
    QString records;
    QString markers;
    QByteArray savedPath;
};

TEST_F(Scripts, SkypeCallPassesTheNumberEncodedAsOneArgument)
{
    const QString number = hostileText(markers) + QLatin1String("?topic=x&a#b");
    EXPECT_TRUE(TellApplication::dialWithSkype(number).has_value());
    EXPECT_EQ(recordedArguments(QStringLiteral("xdg-open")),
              QStringList{QLatin1String("skype:") +
                          QString::fromLatin1(QUrl::toPercentEncoding(number, "+")) +
                          QLatin1String("?call")});
    EXPECT_TRUE(markersMade().isEmpty()) << qPrintable(markersMade().join(QLatin1Char(' ')));

    EXPECT_TRUE(TellApplication::dialWithSkype(QStringLiteral("+1 (555) 010-9999")).has_value());
    EXPECT_EQ(recordedArguments(QStringLiteral("xdg-open")),
              QStringList{QStringLiteral("skype:+1%20%28555%29%20010-9999?call")});
}

TEST_F(Scripts, SkypeCallDoesNotWaitForSkype)
{
    // A Skype that is not running yet may be started in the foreground by xdg-open; this one
    // goes on only once the caller has its answer.
    const QString answered = home.path() + QLatin1String("/answered");
    writeProgram(
        QStringLiteral("xdg-open"),
        QStringLiteral("#!/bin/sh\nfor i in $(seq 200); do [ -e %1 ] && break; sleep 0.1; "
                       "done\n[ -e %1 ] && printf '%s\\0' \"$@\" > %2.tmp && mv %2.tmp %2\n")
            .arg(ShellQuote::quoted(answered),
                 ShellQuote::quoted(records + QLatin1String("/xdg-open"))));
    EXPECT_TRUE(TellApplication::dialWithSkype(QStringLiteral("555 0100")).has_value());
    QFile(answered).open(QIODevice::WriteOnly);
    EXPECT_EQ(recordedArguments(QStringLiteral("xdg-open")),
              QStringList{QStringLiteral("skype:555%200100?call")})
        << "the call waited for Skype, which then gave up";
}

TEST_F(Scripts, ValuesInScriptsForOtherApplicationsAreNeverExecuted)
{
    const QString value = hostileText(markers);
    EXPECT_TRUE(TellApplication::_tellApplication(QStringLiteral("System Preferences"),
                                                  TellApplication::openPreferencePaneScript(value))
                    .has_value());
    EXPECT_EQ(recordedArguments(TellApplication::preferencesHostProgram()),
              (QStringList{QStringLiteral("--show-pane"), value}));

    EXPECT_TRUE(
        TellApplication::_tellApplication(QStringLiteral("Skype"),
                                          QLatin1String("application ") + ShellQuote::quoted(value))
            .has_value());
    EXPECT_EQ(recordedArguments(QStringLiteral("xdg-open")), QStringList{value});

    // An application name is never part of the text that runs.
    EXPECT_FALSE(
        TellApplication::_tellApplication(value, QStringLiteral("application x")).has_value());
    EXPECT_TRUE(TellApplication::tellApplicationScript(value, QStringLiteral("true")).isEmpty());
    EXPECT_TRUE(markersMade().isEmpty()) << qPrintable(markersMade().join(QLatin1Char(' ')));
}

TEST_F(Scripts, MissingDriverAndSlowApplicationFail)
{
    QFile::remove(bin + QLatin1Char('/') + TellApplication::preferencesHostProgram());
    qputenv("PATH", QFile::encodeName(bin) + ":/usr/bin:/bin");
    EXPECT_FALSE(TellApplication::_tellApplication(QStringLiteral("System Preferences"),
                                                   TellApplication::openPreferencePaneScript())
                     .has_value());

    writeProgram(QStringLiteral("xdg-open"), QStringLiteral("#!/bin/sh\nexec sleep 60\n"));
    QVariantMap error;
    const std::optional<QString> result = RKAppleScript::sharedInstance().executeScript(
        TellApplication::tellApplicationScript(QStringLiteral("Skype"),
                                               QStringLiteral("application x")),
        &error, TellApplication::kTimeoutSeconds);
    EXPECT_FALSE(result.has_value());
    EXPECT_EQ(error.value(RKAppleScript::ErrorNumberKey).toInt(), RKAppleScript::TimeoutError);
}

} // namespace
