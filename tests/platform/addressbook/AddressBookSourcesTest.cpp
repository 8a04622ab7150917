// SPDX-License-Identifier: MIT
#include "platform/addressbook/AddressBookSources.h"

#include "platform/core/Bundle.h"
#include "tests/support/TemporaryHome.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

class AddressBookSourcesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qunsetenv("BRISKO_ADDRESS_BOOK");
        Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
    }
    void TearDown() override { qunsetenv("BRISKO_ADDRESS_BOOK"); }

    TemporaryHome home;
};

} // namespace

TEST_F(AddressBookSourcesTest, TheDesktopsFoldersComeFirstThenKhardsBooksInTheirOrder)
{
    QDir().mkpath(home.configHome() + QLatin1String("/khard"));
    QFile conf(home.configHome() + QLatin1String("/khard/khard.conf"));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write("[addressbooks]\n[[work]]\npath = ~/vdir/work/\n[[friends]]\n"
               "path = $HOME/vdir/friends\n\n[general]\npath = /not/a/book\n");
    conf.close();
    const AddressBookSources::Choice choice = AddressBookSources::choose({});
    EXPECT_FALSE(choice.userChose);
    EXPECT_EQ(choice.roots, (QStringList{home.dataHome() + QLatin1String("/contacts"),
                                         home.dataHome() + QLatin1String("/kpeoplevcard"),
                                         home.path() + QLatin1String("/vdir/work/"),
                                         home.path() + QLatin1String("/vdir/friends")}));
    EXPECT_TRUE(choice.sampleBook.endsWith(QLatin1String("SampleContacts")))
        << qPrintable(choice.sampleBook);
}

TEST_F(AddressBookSourcesTest, TheCommandLineOverridesTheEnvironmentWhichKeepsItsOrder)
{
    qputenv("BRISKO_ADDRESS_BOOK", "~/second.vcf::/first");
    const AddressBookSources::Choice fromEnvironment = AddressBookSources::choose({});
    EXPECT_TRUE(fromEnvironment.userChose);
    EXPECT_EQ(fromEnvironment.roots,
              (QStringList{home.path() + QLatin1String("/second.vcf"), QStringLiteral("/first")}));
    EXPECT_TRUE(fromEnvironment.sampleBook.isEmpty()) << "the user's own sources stand alone";

    const QStringList named{QStringLiteral("/named.vcf")};
    EXPECT_EQ(AddressBookSources::choose(named).roots, named);
    qunsetenv("BRISKO_ADDRESS_BOOK");
    EXPECT_TRUE(AddressBookSources::choose(named).userChose);
    EXPECT_FALSE(AddressBookSources::userChose({}));
}
