// SPDX-License-Identifier: MIT
// Pictures of the contact card for people to judge: a rich card, a company's card, a row's
// menu and large type reached from a row. Meant for Xvfb with QT_QPA_PLATFORM=xcb (see
// Screenshot.h for where they go).
#include "app/card/PersonView.h"
#include "app/card/PropertyView.h"
#include "app/chrome/LargeTypeWindow.h"
#include "app/controller/AppController.h"
#include "app/controller/SearchField.h"
#include "app/settings/UserDefaultsExtras.h"
#include "common/SettingsKeys.h"
#include "platform/addressbook/AddressBook.h"
#include "platform/core/Bundle.h"
#include "platform/notifications/DistributedNotificationCenter.h"
#include "platform/settings/UserDefaults.h"
#include "tests/e2e/support/TestProcesses.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TemporaryHome.h"

#include <QBuffer>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QByteArray portrait()
{
    QImage image(120, 150, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(image.rect(), QColor(214, 196, 170));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(70, 52, 40));
    painter.drawEllipse(QRectF(30, 18, 60, 66));
    painter.setBrush(QColor(238, 204, 170));
    painter.drawEllipse(QRectF(36, 30, 48, 56));
    painter.setBrush(QColor(40, 90, 140));
    painter.drawRoundedRect(QRectF(14, 96, 92, 70), 30, 30);
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QByteArray book()
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Okafor;Margaret;;;\r\nFN:Margaret Okafor\r\n"
           "ORG:Northwind Shipping\r\nTITLE:Harbour Operations Manager\r\n"
           "TEL;TYPE=CELL:+44 7700 900123\r\nTEL;TYPE=WORK:+44 20 7946 0321\r\n"
           "TEL;TYPE=HOME:+44 20 7946 0877\r\n"
           "EMAIL;TYPE=WORK:m.okafor@northwind.example\r\n"
           "EMAIL;TYPE=HOME:maggie.okafor@example.net\r\n"
           "item1.URL:https://northwind.example/team/okafor\r\nitem1.X-ABLabel:_$!<HomePage>!$_\r\n"
           "ADR;TYPE=WORK:;;Dock Road 14;Tilbury;Essex;RM18 7EH;United Kingdom\r\n"
           "ADR;TYPE=HOME:;;3 Lavender Hill;London;;SW11 5QL;\r\n"
           "NOTE:Prefers calls before 10 am. Ask about the Rotterdam route.\r\n"
           "PHOTO;ENCODING=b;TYPE=PNG:" +
           portrait().toBase64() +
           "\r\nEND:VCARD\r\n"
           "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lindqvist;Erik;;;\r\nFN:Northwind Shipping\r\n"
           "ORG:Northwind Shipping\r\nTITLE:Switchboard\r\nX-ABShowAs:COMPANY\r\n"
           "TEL;TYPE=MAIN:+44 20 7946 0000\r\nEMAIL;TYPE=WORK:hello@northwind.example\r\n"
           "URL:northwind.example\r\n"
           "ADR;TYPE=WORK:;;Dock Road 14;Tilbury;Essex;RM18 7EH;United Kingdom\r\n"
           "END:VCARD\r\n";
}

void save(const QImage &image, const QString &name)
{
    ASSERT_TRUE(Screenshot::save(Screenshot::onBackdrop(image), name))
        << "could not write " << name.toStdString();
}

TEST(CardScreenshots, RichCardCompanyCardRowMenuAndLargeType)
{
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";
    TemporaryHome home;
    const QString path = home.path() + QStringLiteral("/book.vcf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(book());
    file.close();
    Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
    AddressBook::setSourcePaths({path});
    AppController controller;
    controller.awakeFromNib();
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    defaults.setBool(false, DefShowSplash);
    defaults.setBool(true, DefVonageEnabled);
    controller.applicationDidFinishLaunching();

    QWidget *window = controller.mainWindow();
    controller.showSearchWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QTest::keyClicks(controller.searchField(), QStringLiteral("margaret"));
    // The X server reports the new size once the event loop runs: the move runs none.
    ASSERT_TRUE(QTest::qWaitFor([window] { return window->size() == QSize(400, 413); }))
        << "the window is " << window->width() << " × " << window->height();
    PersonView *card = controller.personView();
    ASSERT_EQ(card->rows().size(), 9);
    const QImage rich = Screenshot::grabbed(*window);
    // The header band shows in the settings' colour, under the photo's margin.
    const QPoint band = card->mapTo(window, QPoint(card->width() - 2, 2));
    EXPECT_EQ(rich.pixel(band),
              UserDefaultsExtras::colorForKey(defaults, DefCardHeaderBgColor).rgb());
    save(rich, QStringLiteral("card-rich.png"));

    // A phone row's menu, drawn over the window where it pops up.
    PropertyView *phone = card->rows().first();
    std::unique_ptr<QMenu> menu = phone->_menuForEvent(nullptr);
    const QPoint at = phone->mapTo(window, QPoint(20, phone->height() / 2));
    menu->popup(window->mapToGlobal(at));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu.get()));
    QImage withMenu = rich;
    QPainter painter(&withMenu);
    painter.drawImage(at, Screenshot::grabbed(*menu));
    painter.end();
    menu->close();
    save(withMenu, QStringLiteral("card-row-menu.png"));

    phone->open();
    LargeTypeWindow *largeType = controller.largeTypeWindow();
    ASSERT_TRUE(largeType->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(largeType));
    save(Screenshot::grabbed(*largeType), QStringLiteral("card-large-type.png"));

    controller.showSearchWindow();
    controller.searchField()->setText(QStringLiteral("switchboard"));
    ASSERT_EQ(card->headerLines(),
              (QStringList{QStringLiteral("Northwind Shipping"), QStringLiteral("Erik Lindqvist"),
                           QStringLiteral("Switchboard")}));
    save(Screenshot::grabbed(*window), QStringLiteral("card-company.png"));
    DistributedNotificationCenter::defaultCenter().flush();
}

} // namespace
