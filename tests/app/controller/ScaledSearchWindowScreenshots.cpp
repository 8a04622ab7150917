// SPDX-License-Identifier: MIT
// The search window, its card and large type at twice the scale with a 16-point font, and in a
// dark theme, over the sample address book: pictures for people to judge, and a pixel check
// that every text lies whole inside its box. Meant for Xvfb with QT_QPA_PLATFORM=xcb (see
// Screenshot.h for where the pictures go).
#include "Screenshot.h"
#include "SettingsKeys.h"
#include "TemporaryHome.h"
#include "addressbook/AddressBook.h"
#include "card/PersonView.h"
#include "card/PropertyView.h"
#include "chrome/LargeTypeWindow.h"
#include "controller/AppController.h"
#include "controller/SearchField.h"
#include "controller/SearchPanel.h"
#include "core/Bundle.h"
#include "notifications/DistributedNotificationCenter.h"
#include "search/RKAddressBook.h"
#include "settings/UserDefaults.h"
#include "support/TestProcesses.h"
#include "utility/Contrast.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

namespace {

// Read by Qt when the application object is made, after every static object of the program.
// Without a display, the offscreen platform gets a full HD screen (960 by 540 at twice the
// scale), as its own screen is too small for the window at that scale.
const bool kTwiceTheScale = qputenv("QT_SCALE_FACTOR", "2") &&
                            (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
                             qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" BRISKO_SOURCE_DIR
                                                        "/tests/app/chrome/TwoScreens.json"));

/// Where `widget` lies in a grab of its window, in the grab's pixels.
QRect inGrab(const QWidget *widget, const QRect &area, qreal ratio)
{
    const QRect logical(widget->mapTo(widget->window(), area.topLeft()), area.size());
    return QRect((QRectF(logical).topLeft() * ratio).toPoint(),
                 (QSizeF(logical.size()) * ratio).toSize());
}

/// The box of the pixels in `area` that differ clearly from its commonest colour.
QRect inkIn(const QImage &image, const QRect &area)
{
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb background = 0;
    int most = 0;
    for (const auto &[rgb, count] : counts) {
        if (count > most) {
            most = count;
            background = rgb;
        }
    }
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb rgb = image.pixel(x, y);
            const int distance = std::abs(qRed(rgb) - qRed(background)) +
                                 std::abs(qGreen(rgb) - qGreen(background)) +
                                 std::abs(qBlue(rgb) - qBlue(background));
            if (distance > 120)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

/// A text cut at the top or bottom of its box leaves ink on the box's edge.
void expectWhole(const QImage &image, const QWidget *widget, const QRect &area, qreal ratio,
                 const char *what)
{
    const QRect box = inGrab(widget, area, ratio);
    ASSERT_TRUE(image.rect().contains(box)) << what << " lies outside the window";
    const QRect ink = inkIn(image, box);
    ASSERT_FALSE(ink.isEmpty()) << what << " shows no text";
    EXPECT_GT(ink.top(), box.top()) << what << " is cut at the top";
    EXPECT_LT(ink.bottom(), box.bottom()) << what << " is cut at the bottom";
}

void save(const QImage &image, const QString &name)
{
    ASSERT_TRUE(Screenshot::save(Screenshot::onBackdrop(image), name))
        << "could not write " << name.toStdString();
}

QPalette darkTheme()
{
    QPalette palette;
    for (const auto &[role, rgb] : std::initializer_list<std::pair<QPalette::ColorRole, QRgb>>{
             {QPalette::Window, 0x353535},
             {QPalette::WindowText, 0xffffff},
             {QPalette::Base, 0x2a2a2a},
             {QPalette::Text, 0xffffff},
             {QPalette::Button, 0x353535},
             {QPalette::ButtonText, 0xffffff},
             {QPalette::Mid, 0x5a5a5a},
             {QPalette::Link, 0x2a82da},
             {QPalette::Highlight, 0x2a82da},
             {QPalette::HighlightedText, 0xffffff}})
        palette.setColor(role, QColor(rgb));
    return palette;
}

TEST(ScaledSearchWindowScreenshots, LargeFontsAtTwiceTheScaleAndADarkThemeCutNothing)
{
    ASSERT_TRUE(kTwiceTheScale);
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";
    TemporaryHome home;
    QFont font = QApplication::font();
    font.setPointSize(16);
    QApplication::setFont(font);
    Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
    AddressBook::setSourcePaths(
        {QStringLiteral(BRISKO_APP_BUNDLE_PATH "/Contents/Resources/SampleContacts")});
    AppController controller;
    controller.awakeFromNib();
    UserDefaults::standardUserDefaults().setBool(false, DefShowSplash);
    controller.applicationDidFinishLaunching();
    // The contacts load in the background; the search below is of a loaded book.
    ASSERT_TRUE(QTest::qWaitFor([&] { return controller.rkAddressBook().hasIndex(); }, 10000));

    QWidget *window = controller.mainWindow();
    controller.showSearchWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QTest::keyClicks(controller.searchField(), QStringLiteral("smith"));
    QTest::keyClick(controller.searchField(), Qt::Key_Return);
    PersonView *card = controller.personView();
    ASSERT_FALSE(card->rows().isEmpty());
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window->frameGeometry()))
        << "the window leaves the screen: " << window->frameGeometry().width() << 'x'
        << window->frameGeometry().height();

    const auto checkTexts = [&](const QImage &image) {
        const qreal ratio = image.devicePixelRatio();
        const SearchField *field = controller.searchField();
        expectWhole(image, field, field->rect().adjusted(3, 3, -3, -3), ratio, "the field");
        expectWhole(image, controller.matchesLabel(), controller.matchesLabel()->rect(), ratio,
                    "the status line");
        // Inside the card's outline.
        expectWhole(image, card->headerBox(), card->headerBox()->rect().adjusted(2, 2, -2, -2),
                    ratio, "the header");
        for (const PropertyView *row : card->rows()) {
            if (row->visibleRegion().boundingRect() == row->rect())
                expectWhole(image, row, row->rect(), ratio, "a row");
        }
    };
    const QImage large = Screenshot::grabbed(*window);
    EXPECT_DOUBLE_EQ(large.devicePixelRatio(), 2.0);
    checkTexts(large);
    save(large, QStringLiteral("search-window-card-scale2.png"));

    // The dark theme reaches the window, the list and the card as the desktop switches.
    QApplication::setPalette(darkTheme());
    QApplication::processEvents();
    const QImage dark = Screenshot::grabbed(*window);
    checkTexts(dark);
    const QRect body = inGrab(card->bodyBox(), card->bodyBox()->rect(), dark.devicePixelRatio());
    EXPECT_LT(Contrast::luminance(QColor(dark.pixel(body.right() - 4, body.bottom() - 4))), 0.1)
        << "the card stayed light";
    save(dark, QStringLiteral("search-window-card-dark.png"));

    controller.showStringInLargeType(QStringLiteral("+1 (555) 010-4477"));
    LargeTypeWindow *largeType = controller.largeTypeWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(largeType));
    EXPECT_TRUE(screen.contains(largeType->frameGeometry()));
    const QImage type = Screenshot::grabbed(*largeType);
    // Inside the rounded corners, which differ from the background as ink does.
    expectWhole(type, largeType, largeType->rect().adjusted(12, 12, -12, -12),
                type.devicePixelRatio(), "large type");
    save(type, QStringLiteral("large-type-scale2.png"));
    DistributedNotificationCenter::defaultCenter().flush();
}

} // namespace
