// SPDX-License-Identifier: MIT
// The search window, its card and large type at twice the scale with a 16-point font, in a
// dark theme and on a screen of 800 by 600 pixels, over the sample address book: pictures for
// people to judge, and pixel checks that every text lies whole inside its box. Without a
// display the offscreen platform provides the screens; under Xvfb (QT_QPA_PLATFORM=xcb) the
// small screen is left out. See Screenshot.h for where the pictures go.
#include "app/card/CardText.h"
#include "app/card/MyTableView.h"
#include "app/card/PersonView.h"
#include "app/card/PropertyView.h"
#include "app/chrome/LargeTypeWindow.h"
#include "app/controller/AppController.h"
#include "app/controller/SearchField.h"
#include "app/controller/SearchPanel.h"
#include "app/search/RKAddressBook.h"
#include "common/SettingsKeys.h"
#include "common/utility/AdvertTextView.h"
#include "common/utility/Contrast.h"
#include "platform/addressbook/AddressBook.h"
#include "platform/core/Bundle.h"
#include "platform/notifications/DistributedNotificationCenter.h"
#include "platform/settings/UserDefaults.h"
#include "tests/e2e/support/TestProcesses.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TemporaryHome.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

namespace {

// Read by Qt when the application object is made, after every static object of the program.
// Without a display, the offscreen platform gets a full HD screen (960 by 540 at twice the
// scale) and, beside it, one of 800 by 600 (400 by 300).
const bool kTwiceTheScale =
    qputenv("QT_SCALE_FACTOR", "2") &&
    (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
     qputenv("QT_QPA_PLATFORM",
             "offscreen:configfile=" BRISKO_SOURCE_DIR "/tests/app/controller/ScaledScreens.json"));

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

/// Brisko launched with a 16-point font over the sample contacts, its card showing the two
/// Smiths on the screen under the pointer.
class ScaledSearchWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kTwiceTheScale);
        ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";
        QFont font = QApplication::font();
        font.setPointSize(16);
        QApplication::setFont(font);
        Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
        AddressBook::setSourcePaths(
            {QStringLiteral(BRISKO_APP_BUNDLE_PATH "/Contents/Resources/SampleContacts")});
    }
    void TearDown() override { DistributedNotificationCenter::defaultCenter().flush(); }

    void showCard()
    {
        controller = std::make_unique<AppController>();
        controller->awakeFromNib();
        UserDefaults::standardUserDefaults().setBool(false, DefShowSplash);
        controller->applicationDidFinishLaunching();
        // The contacts load in the background; the search below is of a loaded book.
        ASSERT_TRUE(QTest::qWaitFor([&] { return controller->rkAddressBook().hasIndex(); }, 10000));
        window = controller->mainWindow();
        controller->showSearchWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        QTest::keyClicks(controller->searchField(), QStringLiteral("smith"));
        QTest::keyClick(controller->searchField(), Qt::Key_Return);
        card = controller->personView();
        ASSERT_FALSE(card->rows().isEmpty());
        screen = window->screen()->availableGeometry();
        EXPECT_TRUE(screen.contains(window->frameGeometry()))
            << "the window leaves the screen: " << window->frameGeometry().width() << 'x'
            << window->frameGeometry().height();
    }

    /// Every text of the window lies whole inside its box, and what is cut ends in "…" with
    /// the whole text in a tooltip.
    void checkTexts(const QImage &image)
    {
        const qreal ratio = image.devicePixelRatio();
        const SearchField *field = controller->searchField();
        expectWhole(image, field, field->rect().adjusted(3, 3, -3, -3), ratio, "the field");
        expectWhole(image, controller->matchesLabel(), controller->matchesLabel()->rect(), ratio,
                    "the status line");
        expectWhole(image, controller->advertView(), controller->advertView()->rect(), ratio,
                    "the advert line");
        // Inside the card's outline.
        expectWhole(image, card->headerBox(), card->headerBox()->rect().adjusted(2, 2, -2, -2),
                    ratio, "the header");
        for (const PropertyView *row : card->rows()) {
            if (row->visibleRegion().boundingRect() == row->rect())
                expectWhole(image, row, row->rect(), ratio, "a row");
            if (row->displayedValue() != row->value() || row->displayedLabel() != row->label()) {
                EXPECT_TRUE(row->displayedValue().contains(QChar(0x2026)) ||
                            row->displayedLabel().endsWith(QChar(0x2026)))
                    << qPrintable(row->displayedLabel() + QLatin1Char(' ') + row->displayedValue());
                EXPECT_FALSE(row->toolTip().isEmpty()) << qPrintable(row->value());
            }
        }
    }

    PrivateSessionBus bus;
    TemporaryHome home;
    std::unique_ptr<AppController> controller;
    QWidget *window = nullptr;
    PersonView *card = nullptr;
    QRect screen;
};

TEST_F(ScaledSearchWindow, LargeFontsAtTwiceTheScaleAndADarkThemeCutNothing)
{
    ASSERT_NO_FATAL_FAILURE(showCard());
    const QImage large = Screenshot::grabbed(*window);
    EXPECT_DOUBLE_EQ(large.devicePixelRatio(), 2.0);
    checkTexts(large);
    // The card grows with the font, the design's proportions kept.
    EXPECT_NEAR(card->topBoxHeight(), PersonView::kTopBoxHeight * CardText::scale(), 1);
    EXPECT_GT(CardText::scale(), 1.5);
    save(large, QStringLiteral("search-window-card-scale2.png"));

    // The dark theme reaches the window, the list, the card and the advert line as the
    // desktop switches.
    QApplication::setPalette(darkTheme());
    QApplication::processEvents();
    const QImage dark = Screenshot::grabbed(*window);
    checkTexts(dark);
    const QRect body = inGrab(card->bodyBox(), card->bodyBox()->rect(), dark.devicePixelRatio());
    EXPECT_LT(Contrast::luminance(QColor(dark.pixel(body.right() - 4, body.bottom() - 4))), 0.1)
        << "the card stayed light";
    const QRect advert =
        inGrab(controller->advertView(), controller->advertView()->rect(), dark.devicePixelRatio());
    double lightest = 0;
    for (int y = advert.top(); y <= advert.bottom(); ++y)
        for (int x = advert.left(); x <= advert.right(); ++x)
            lightest = std::max(lightest, Contrast::luminance(QColor(dark.pixel(x, y))));
    EXPECT_GT(lightest, 0.5) << "the advert line stayed dark";
    save(dark, QStringLiteral("search-window-card-dark.png"));

    controller->showStringInLargeType(QStringLiteral("+1 (555) 010-4477"));
    LargeTypeWindow *largeType = controller->largeTypeWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(largeType));
    EXPECT_TRUE(screen.contains(largeType->frameGeometry()));
    const QImage type = Screenshot::grabbed(*largeType);
    // Inside the rounded corners, which differ from the background as ink does.
    expectWhole(type, largeType, largeType->rect().adjusted(12, 12, -12, -12),
                type.devicePixelRatio(), "large type");
    save(type, QStringLiteral("large-type-scale2.png"));
}

TEST_F(ScaledSearchWindow, OnAnEightHundredBySixHundredScreenTheCardFitsAndCutsNothingSilently)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    const auto small = std::find_if(screens.begin(), screens.end(), [](const QScreen *screen) {
        return screen->size() == QSize(400, 300);
    });
    if (small == screens.end())
        GTEST_SKIP() << "no screen of 800 by 600 pixels (the offscreen platform's second one)";
    QCursor::setPos((*small)->geometry().center());
    ASSERT_NO_FATAL_FAILURE(showCard());
    ASSERT_EQ(window->screen(), *small);

    // Card and list lie inside the window, side by side.
    const QRect inWindow(QPoint(0, 0), window->size());
    const auto placed = [&](const QWidget *widget) {
        return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
    };
    const QRect list = placed(controller->matchesTableView());
    EXPECT_TRUE(inWindow.contains(placed(card))) << "the card is cut by the window's edge";
    EXPECT_TRUE(inWindow.contains(list)) << "the list is cut by the window's edge";
    EXPECT_FALSE(list.intersects(placed(card))) << "the card covers the list";
    EXPECT_GT(card->scrollView()->viewport()->height(), card->topBoxHeight() / 2)
        << "the header leaves the rows no room";
    const QImage image = Screenshot::grabbed(*window);
    checkTexts(image);
    save(image, QStringLiteral("search-window-card-small-screen.png"));
}

} // namespace
