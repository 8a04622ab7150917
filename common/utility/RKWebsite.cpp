// SPDX-License-Identifier: MIT
#include "common/utility/RKWebsite.h"

#include "platform/workspace/Workspace.h"

#include <QCoreApplication>
#include <QTimeZone>

#include <array>
#include <span>

namespace {

const QString kMakerHost = QStringLiteral("www.ambertide.com");
const QString kListingHost = QStringLiteral("www.softwareshelf.example");
// Downloads are packaged as tarballs named after the product.
const QString kDownloadExtension = QStringLiteral(".tar.gz");
// The listing site files every product under the platform it runs on.
const QString kListingPlatform = QStringLiteral("linux");

struct Product
{
    int id;
    const char *name;
    const char *directory;
    int listingId;
    const char *blurp;
    bool downloadable;
};

constexpr std::array kProducts{
    Product{0, "Tallyweave", "tallyweave", 31407,
            QT_TRANSLATE_NOOP("RKWebsite", "Household accounts that balance themselves"), true},
    Product{1, "Quillstone", "quillstone", 31876,
            QT_TRANSLATE_NOOP("RKWebsite", "A quiet room for long writing"), true},
    Product{2, "Lanternfish", "lanternfish", 32215,
            QT_TRANSLATE_NOOP("RKWebsite", "Find any file by what is inside it"), true},
    Product{3, "Marrowbook", "marrowbook", 32540,
            QT_TRANSLATE_NOOP("RKWebsite", "Recipes, shopping lists and a week of meals"), true},
    Product{4, "Driftclock", "driftclock", 33102,
            QT_TRANSLATE_NOOP("RKWebsite", "Time tracking that stays out of your way"), true},
    Product{20, "Pebblenote", "pebblenote", 34468,
            QT_TRANSLATE_NOOP("RKWebsite", "Sticky notes that remember where they go"), true},
    Product{21, "KestrelClip", "kestrelclip", 34911,
            QT_TRANSLATE_NOOP("RKWebsite", "Everything you copied, one keystroke away"), true},
    Product{22, "Foxglove", "foxglove", 35230,
            QT_TRANSLATE_NOOP("RKWebsite", "Pick any colour on your screen"), true},
    Product{23, "Brisko", "brisko", 35694, nullptr, true},
    Product{40, "The Ambertide Bundle", "bundle", 0,
            QT_TRANSLATE_NOOP("RKWebsite", "Every Ambertide utility for the price of two"), false},
};

const Product *productFor(int id)
{
    for (const Product &product : kProducts) {
        if (product.id == id)
            return &product;
    }
    return nullptr;
}

QString &hostOverride()
{
    static QString host;
    return host;
}

QString &listingHostOverride()
{
    static QString host;
    return host;
}

} // namespace

QString RKWebsite::hostname()
{
    return hostOverride().isEmpty() ? kMakerHost : hostOverride();
}

void RKWebsite::setHostname(const QString &host)
{
    hostOverride() = host;
}

QString RKWebsite::listingHostname()
{
    return listingHostOverride().isEmpty() ? kListingHost : listingHostOverride();
}

void RKWebsite::setListingHostname(const QString &host)
{
    listingHostOverride() = host;
}

QString RKWebsite::homePageAddress()
{
    return QLatin1String("http://") + hostname() + QLatin1Char('/');
}

bool RKWebsite::_open(const QString &address)
{
    const QUrl url(address);
    return url.isValid() && Workspace::shared().openUrl(url);
}

void RKWebsite::visitHomePage()
{
    _open(homePageAddress());
}

void RKWebsite::visitPage(const QString &relativePath)
{
    _open(homePageAddress() + relativePath);
}

void RKWebsite::visitProductPage(int productId)
{
    const QUrl url = urlForProductId(productId);
    if (url.isValid())
        Workspace::shared().openUrl(url);
}

QUrl RKWebsite::urlForProductId(int productId)
{
    const QString directory = productDirForProductId(productId);
    if (directory.isEmpty())
        return {};
    return QUrl(homePageAddress() + directory + QLatin1Char('/'));
}

QString RKWebsite::productNameForProductId(int productId)
{
    const Product *product = productFor(productId);
    return product ? QString::fromUtf8(product->name) : QString();
}

QString RKWebsite::productDirForProductId(int productId)
{
    const Product *product = productFor(productId);
    return product ? QString::fromUtf8(product->directory) : QString();
}

QString RKWebsite::blurpForProductId(int productId)
{
    const Product *product = productFor(productId);
    return product && product->blurp ? QCoreApplication::translate("RKWebsite", product->blurp)
                                     : QString();
}

int RKWebsite::_vtIdForProduct(int productId)
{
    const Product *product = productFor(productId);
    return product ? product->listingId : 0;
}

bool RKWebsite::download(int productId)
{
    const Product *product = productFor(productId);
    if (!product || !product->downloadable)
        return false;
    return _open(homePageAddress() + QLatin1String("download/") + QString::fromUtf8(product->name) +
                 kDownloadExtension);
}

void RKWebsite::visitVTPost(int productId)
{
    const int listingId = _vtIdForProduct(productId);
    if (listingId == 0)
        return;
    _open(QLatin1String("http://") + listingHostname() +
          QStringLiteral("/php/feedback/submit.php?TID=feedback&contentDB=%1&contentID=%2")
              .arg(kListingPlatform)
              .arg(listingId));
}

void RKWebsite::visitVTRead(int productId)
{
    const int listingId = _vtIdForProduct(productId);
    if (listingId == 0)
        return;
    _open(QLatin1String("http://") + listingHostname() +
          QStringLiteral("/dyn/moreinfo/%1/%2").arg(kListingPlatform).arg(listingId));
}

int RKWebsite::advertProductIdAt(const QDateTime &now, AdvertPlace place)
{
    static constexpr std::array<int, 6> kApplication{0, 1, 2, 3, 4, 21};
    static constexpr std::array<int, 8> kPane{0, 1, 2, 3, 4, 20, 21, 22};
    const std::span<const int> products = place == AdvertPlace::Pane
                                              ? std::span<const int>(kPane)
                                              : std::span<const int>(kApplication);
    const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    // msecs / 1000 truncates toward zero, as the whole-second count must.
    const qint64 seconds = reference.msecsTo(now) / 1000;
    // A clock set before the reference date gives negative minutes; keep the index in range.
    const auto count = qint64(products.size());
    const qint64 slot = ((seconds / 60) % count + count) % count;
    return products[std::size_t(slot)];
}

QUrl RKWebsite::shareUrl()
{
    // The question mark and "fb" stay encoded so they belong to the shared address, and tell
    // the product page where its visitor came from.
    const QByteArray page = QUrl::toPercentEncoding(urlForProductId(Brisko).toString());
    return QUrl::fromEncoded("https://www.facebook.com/share.php?u=" + page + "%3Ffb",
                             QUrl::StrictMode);
}
