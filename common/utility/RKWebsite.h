// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QString>
#include <QUrl>

/// Addresses of the maker's pages and of the software-listing site, and the table of the
/// maker's products. Pages open in the default browser through the shared workspace.
class RKWebsite final
{
public:
    RKWebsite() = delete;

    /// The products the table knows.
    enum ProductId : int
    {
        Tallyweave = 0,
        Quillstone = 1,
        Lanternfish = 2,
        Marrowbook = 3,
        Driftclock = 4,
        Pebblenote = 20,
        KestrelClip = 21,
        Foxglove = 22,
        Brisko = 23,
        Bundle = 40,
    };

    /// The maker's web host ("www.ambertide.com" unless overridden, e.g. by tests).
    static QString hostname();
    /// Points every address at another host; an empty string restores the maker's.
    static void setHostname(const QString &host);
    /// The software-listing site's host, overridable the same way.
    static QString listingHostname();
    static void setListingHostname(const QString &host);

    /// "http://" + host + "/".
    static QString homePageAddress();

    static void visitHomePage();
    /// Opens the home page address with `relativePath` appended ("brisko/help/", "bundle/").
    static void visitPage(const QString &relativePath);
    /// Opens urlForProductId(); nothing when the product has no page.
    static void visitProductPage(int productId);
    /// Home page address + directory + "/"; an empty URL when the product has no directory.
    static QUrl urlForProductId(int productId);
    /// Empty for identifiers outside the table.
    static QString productNameForProductId(int productId);
    static QString productDirForProductId(int productId);
    /// Opens the product's download; false, and nothing opened, for products without one.
    static bool download(int productId);
    /// The listing site's feedback form and product page; nothing for unlisted products.
    static void visitVTPost(int productId);
    static void visitVTRead(int productId);
    /// The listing site's identifier, 0 for unknown products.
    static int _vtIdForProduct(int productId);
    /// The one-line description used by the advert line; empty when there is none.
    static QString blurpForProductId(int productId);

    /// The social network's share page for this product's page on the maker's site.
    static QUrl shareUrl();

    /// Where an advert line is shown; each place turns through products of its own.
    enum class AdvertPlace
    {
        Application, ///< six products
        Pane,        ///< eight products
    };
    /// The product the advert line in `place` shows at `now`: the minute count since
    /// 1 January 2001 UTC picks the place's products in turn.
    static int advertProductIdAt(const QDateTime &now, AdvertPlace place);

private:
    static bool _open(const QString &address);
};
