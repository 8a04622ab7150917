// SPDX-License-Identifier: MIT
#include "common/utility/RKWebsite.h"
#include "platform/workspace/Workspace.h"
#include "tests/doubles/RecordingWorkspace.h"

#include <QRegularExpression>
#include <QSet>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

class Website : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto recording = std::make_unique<RecordingWorkspace>();
        workspace = recording.get();
        Workspace::setShared(std::move(recording));
        RKWebsite::setHostname(QStringLiteral("maker.test"));
        RKWebsite::setListingHostname(QStringLiteral("listing.test"));
    }
    void TearDown() override
    {
        Workspace::setShared(nullptr);
        RKWebsite::setHostname({});
        RKWebsite::setListingHostname({});
    }

    QStringList opened() const
    {
        QStringList urls;
        for (const RecordingWorkspace::Request &request : workspace->requests) {
            EXPECT_EQ(request.operation, QStringLiteral("openUrl"));
            urls.append(request.target);
        }
        return urls;
    }

    RecordingWorkspace *workspace = nullptr;
};

const QList<int> kOtherProducts{0, 1, 2, 3, 4, 20, 21, 22};

TEST_F(Website, EveryOtherProductHasAllFourValuesAndTheyDiffer)
{
    QSet<QString> names;
    QSet<int> listingIds;
    static const QRegularExpression lowerWord(QStringLiteral("^[a-z]+$"));
    for (const int id : kOtherProducts) {
        const QString name = RKWebsite::productNameForProductId(id);
        EXPECT_FALSE(name.isEmpty()) << id;
        EXPECT_TRUE(lowerWord.match(RKWebsite::productDirForProductId(id)).hasMatch()) << id;
        EXPECT_FALSE(RKWebsite::blurpForProductId(id).isEmpty()) << id;
        EXPECT_NE(RKWebsite::_vtIdForProduct(id), 0) << id;
        names.insert(name);
        listingIds.insert(RKWebsite::_vtIdForProduct(id));
    }
    EXPECT_EQ(names.size(), kOtherProducts.size());
    EXPECT_EQ(listingIds.size(), kOtherProducts.size());

    EXPECT_EQ(RKWebsite::productNameForProductId(23), QStringLiteral("Brisko"));
    EXPECT_EQ(RKWebsite::productDirForProductId(23), QStringLiteral("brisko"));
    EXPECT_NE(RKWebsite::_vtIdForProduct(23), 0);
    EXPECT_TRUE(RKWebsite::blurpForProductId(23).isEmpty());
    EXPECT_FALSE(RKWebsite::productNameForProductId(40).isEmpty());
    EXPECT_EQ(RKWebsite::productDirForProductId(40), QStringLiteral("bundle"));
    EXPECT_FALSE(RKWebsite::blurpForProductId(40).isEmpty());
    EXPECT_EQ(RKWebsite::_vtIdForProduct(40), 0);
}

TEST_F(Website, UnknownProductsHaveNothingAndOpenNothing)
{
    for (const int id : {-1, 5, 19, 24, 39, 41, 1000}) {
        EXPECT_TRUE(RKWebsite::productNameForProductId(id).isNull()) << id;
        EXPECT_TRUE(RKWebsite::productDirForProductId(id).isNull()) << id;
        EXPECT_TRUE(RKWebsite::blurpForProductId(id).isNull()) << id;
        EXPECT_EQ(RKWebsite::_vtIdForProduct(id), 0) << id;
        EXPECT_TRUE(RKWebsite::urlForProductId(id).isEmpty()) << id;
        RKWebsite::visitProductPage(id);
        RKWebsite::visitVTRead(id);
        RKWebsite::visitVTPost(id);
        EXPECT_FALSE(RKWebsite::download(id)) << id;
    }
    EXPECT_TRUE(opened().isEmpty());
}

TEST_F(Website, PagesAreOpenedOnTheMakersHost)
{
    RKWebsite::visitHomePage();
    RKWebsite::visitPage(QStringLiteral("brisko/help/"));
    RKWebsite::visitProductPage(23);
    EXPECT_EQ(RKWebsite::urlForProductId(2),
              QUrl(QStringLiteral("http://maker.test/") + RKWebsite::productDirForProductId(2) +
                   QLatin1Char('/')));
    EXPECT_EQ(opened(), (QStringList{QStringLiteral("http://maker.test/"),
                                     QStringLiteral("http://maker.test/brisko/help/"),
                                     QStringLiteral("http://maker.test/brisko/")}));
}

TEST_F(Website, DownloadsExistForTheProductsButNotForThePromotionPage)
{
    EXPECT_FALSE(RKWebsite::download(40));
    EXPECT_TRUE(opened().isEmpty());
    EXPECT_TRUE(RKWebsite::download(23));
    EXPECT_TRUE(RKWebsite::download(0));
    EXPECT_EQ(opened(),
              (QStringList{QStringLiteral("http://maker.test/download/Brisko.tar.gz"),
                           QStringLiteral("http://maker.test/download/") +
                               RKWebsite::productNameForProductId(0) + QLatin1String(".tar.gz")}));
}

TEST_F(Website, ListingPagesCarryTheListingIdentifier)
{
    RKWebsite::visitVTRead(23);
    RKWebsite::visitVTPost(23);
    const QString id = QString::number(RKWebsite::_vtIdForProduct(23));
    EXPECT_EQ(opened(), (QStringList{QStringLiteral("http://listing.test/dyn/moreinfo/linux/") + id,
                                     QStringLiteral("http://listing.test/php/feedback/submit.php?"
                                                    "TID=feedback&contentDB=linux&contentID=") +
                                         id}));
}

TEST(AdvertRotation, EachMinuteSinceTheReferenceDateShowsThePlacesNextProduct)
{
    using Place = RKWebsite::AdvertPlace;
    const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    const struct
    {
        Place place;
        QList<int> products;
    } places[] = {{Place::Application, {0, 1, 2, 3, 4, 21}},
                  {Place::Pane, {0, 1, 2, 3, 4, 20, 21, 22}}};
    for (const auto &[place, products] : places) {
        const auto count = int(products.size());
        for (int minute = 0; minute <= count; ++minute)
            EXPECT_EQ(RKWebsite::advertProductIdAt(reference.addSecs(minute * 60 + 59), place),
                      products[minute % count])
                << minute << " minutes, " << count << " products";
        // Clocks set before the reference date, or far past it, still pick a product of the
        // place; a minute before the reference date is the last one.
        EXPECT_EQ(RKWebsite::advertProductIdAt(reference.addSecs(-61), place), products.last());
        for (const QDateTime &odd : {reference.addYears(-40), reference.addYears(80)})
            EXPECT_TRUE(products.contains(RKWebsite::advertProductIdAt(odd, place)))
                << qPrintable(odd.toString(Qt::ISODate));
    }
}

} // namespace
