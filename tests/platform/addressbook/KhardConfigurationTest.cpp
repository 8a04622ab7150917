// SPDX-License-Identifier: MIT
#include "platform/addressbook/KhardConfiguration.h"
#include "platform/addressbook/ShellPath.h"

#include <QDir>

#include <gtest/gtest.h>

TEST(KhardConfiguration, ReadsThePathOfEveryAddressBookAndNothingElse)
{
    struct Case
    {
        const char *what;
        QByteArray conf;
        QStringList paths;
    };
    const QString home = QDir::homePath();
    const Case cases[] = {
        {"books in their order, other sections passed over",
         "[addressbooks]\n[[work]]\npath = ~/vdir/work/\n[[friends]]\n"
         "path = $HOME/vdir/friends\n\n[general]\npath = /not/a/book\n",
         {home + QLatin1String("/vdir/work/"), home + QLatin1String("/vdir/friends")}},
        {"quotes, comments, blanks and CR LF",
         "# books\r\n[AddressBooks]\r\n  [[a]]\r\n  path=\"/with space\"\r\n#path = /commented\r\n"
         "  [[b]]\r\n  path = '/single'\r\n  [[c]]\r\n  path =\r\n  type = vcard\r\n",
         {QStringLiteral("/with space"), QStringLiteral("/single")}},
        // As khard reads it, a lone CR ends a line: "[addre" CR "ssbooks]" is no section.
        {"lines ended by a CR alone",
         "[addressbooks]\r[[work]]\rpath = /work\r[general]\r[addre\rssbooks]\r[[old]]\rpath = "
         "/old\r",
         {QStringLiteral("/work")}},
        {"a variable that is not set names no folder",
         "[addressbooks]\n[[a]]\npath = $BRISKO_KHARD_TEST_UNSET\n",
         {}},
        {"no address book section", "[general]\npath = /x\n", {}},
        {"not a configuration at all", QByteArray("\0\xff[[\n=\n", 7), {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(KhardConfiguration::addressBookPaths(c.conf), c.paths) << c.what;
}

TEST(ShellPath, ExpandsTheHomeAndVariablesAsAShellDoes)
{
    qputenv("BRISKO_SHELL_PATH_TEST", "/set");
    const QString home = QDir::homePath();
    const std::pair<const char *, QString> cases[] = {
        {"~", home},
        {"~/books", home + QLatin1String("/books")},
        {"/a/~/b", QStringLiteral("/a/~/b")},
        {"$BRISKO_SHELL_PATH_TEST/x", QStringLiteral("/set/x")},
        {"${BRISKO_SHELL_PATH_TEST}x", QStringLiteral("/setx")},
        {"/$BRISKO_SHELL_PATH_UNSET/x", QStringLiteral("//x")},
        {"/price$", QStringLiteral("/price$")},
        {"/$-/${open", QStringLiteral("/$-/${open")},
    };
    for (const auto &[path, expanded] : cases)
        EXPECT_EQ(ShellPath::expanded(QString::fromUtf8(path)), expanded) << path;
    qunsetenv("BRISKO_SHELL_PATH_TEST");
}
