// SPDX-License-Identifier: MIT
#include "app/chrome/LargeTypeWindow.h"
#include "app/chrome/WindowExtras.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString family()
{
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

const QSizeF CommonScreen(1920, 1080);

bool fits(const QSizeF &extent, const QSizeF &screen)
{
    return extent.width() <= screen.width() * 0.85 && extent.height() <= screen.height() * 0.85;
}

} // namespace

TEST(LargeTypeFontSize, ShortTextGetsTheMaximumSize)
{
    EXPECT_DOUBLE_EQ(LargeTypeWindow::largestFontSizeForString(QStringLiteral("555-1234"), family(),
                                                               CommonScreen),
                     80.0);
}

TEST(LargeTypeFontSize, WideTextShrinksToTheFirstEvenSizeThatFits)
{
    const QString text(60, QLatin1Char('W'));
    const qreal size = LargeTypeWindow::largestFontSizeForString(text, family(), CommonScreen);
    EXPECT_LT(size, 80.0);
    EXPECT_EQ(std::fmod(80.0 - size, 2.0), 0.0) << "sizes go down in steps of 2";
    EXPECT_TRUE(fits(LargeTypeWindow::sizeOfString(text, family(), size), CommonScreen));
    EXPECT_FALSE(fits(LargeTypeWindow::sizeOfString(text, family(), size + 2), CommonScreen))
        << "the next larger size must not fit, or the search stopped too early";
}

TEST(LargeTypeFontSize, LinesCountAsOneBlockAndShrinkByHeight)
{
    const QString oneLine = QStringLiteral("1 Infinite Loop");
    const QString lines = QStringList(12, oneLine).join(QLatin1Char('\n'));
    const QSizeF single = LargeTypeWindow::sizeOfString(oneLine, family(), 40);
    const QSizeF block = LargeTypeWindow::sizeOfString(lines, family(), 40);
    EXPECT_DOUBLE_EQ(block.width(), single.width());
    EXPECT_GT(block.height(), 11 * single.height());

    const qreal size = LargeTypeWindow::largestFontSizeForString(lines, family(), CommonScreen);
    EXPECT_LT(size, 80.0);
    EXPECT_TRUE(fits(LargeTypeWindow::sizeOfString(lines, family(), size), CommonScreen));
    EXPECT_GT(LargeTypeWindow::sizeOfString(lines, family(), size + 2).height(), 1080 * 0.85);
}

TEST(LargeTypeFontSize, TextThatNeverFitsStopsAtTheLastPositiveSize)
{
    const QString endless(5000, QLatin1Char('M'));
    EXPECT_DOUBLE_EQ(LargeTypeWindow::largestFontSizeForString(endless, family(), QSizeF(320, 240)),
                     2.0);
    EXPECT_DOUBLE_EQ(LargeTypeWindow::largestFontSizeForString(QString(), family(), CommonScreen),
                     80.0);
    EXPECT_DOUBLE_EQ(
        LargeTypeWindow::largestFontSizeForString(QStringLiteral("x"), family(), QSizeF(0, 0)),
        2.0);
}

TEST(LargeTypeWindowTest, WindowIsTheTextExtentPlusTwentyAndFollowsANewText)
{
    LargeTypeWindow window;
    window.setForegroundColorProvider([] { return QColor(Qt::yellow); });
    window.setDisplayString(QStringLiteral("555-1234"));

    const LargeTypeString &shown = window.largeTypeView()->displayString();
    EXPECT_EQ(shown.text, QStringLiteral("555-1234"));
    EXPECT_TRUE(shown.font.bold());
    EXPECT_EQ(shown.color, QColor(Qt::yellow));
    const QSizeF extent = shown.size();
    EXPECT_NEAR(window.width(), extent.width() + 20, 0.5);
    EXPECT_NEAR(window.height(), extent.height() + 20, 0.5);
    window.show();
    EXPECT_EQ(window.largeTypeView()->geometry(), window.rect());

    const QRect visible = window.screen()->availableGeometry();
    EXPECT_NEAR(window.geometry().center().x(), visible.center().x(), 1);

    const int firstWidth = window.width();
    window.setDisplayString(QStringLiteral("555-1234 extension 99"));
    EXPECT_GT(window.width(), firstWidth);
    EXPECT_NEAR(window.geometry().center().x(), visible.center().x(), 1);
}

// Each size tried measures the whole text: a value of megabytes would hold the window for
// seconds.
TEST(LargeTypeWindowTest, AHugeValueIsCutAsTheCardCutsIt)
{
    LargeTypeWindow window;
    window.setForegroundColorProvider([] { return QColor(Qt::white); });
    const QString huge = QString(4 * 1024 * 1024, QLatin1Char('1'));
    window.setDisplayString(huge);
    const QString shown = window.largeTypeView()->displayString().text;
    EXPECT_LE(shown.size(), 20000);
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << "the cut is not marked";
    EXPECT_TRUE(huge.startsWith(shown.chopped(1)));
}

TEST(LargeTypeWindowTest, MissingColourSettingFallsBackToAVisibleColour)
{
    LargeTypeWindow window;
    window.setForegroundColorProvider([] { return QColor(); });
    window.setDisplayString(QStringLiteral("42"));
    EXPECT_TRUE(window.largeTypeView()->displayString().color.isValid());
}

class LargeTypeKeys : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.setForegroundColorProvider([] { return QColor(Qt::white); });
        window.setDisplayString(QStringLiteral("42"));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "large type never exposed";
    }

    LargeTypeWindow window;
};

TEST_F(LargeTypeKeys, PressDoesNothingReleaseFadesOut)
{
    QTest::keyPress(&window, Qt::Key_A);
    EXPECT_TRUE(window.isVisible());
    QTest::keyRelease(&window, Qt::Key_A);
    EXPECT_FALSE(window.isVisible());
    EXPECT_NEAR(window.windowOpacity(), 1.0, 1.0 / 255) << "alpha restored for the next show";
}

TEST_F(LargeTypeKeys, ModifierAloneOrAutoRepeatDoesNotDismiss)
{
    for (Qt::Key key : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_Meta}) {
        QTest::keyPress(&window, key);
        QTest::keyRelease(&window, key);
        EXPECT_TRUE(window.isVisible()) << "dismissed by modifier " << key;
    }
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_B, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(&window, &repeat);
    EXPECT_TRUE(window.isVisible());

    QTest::keyClick(&window, Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_FALSE(window.isVisible());
}
