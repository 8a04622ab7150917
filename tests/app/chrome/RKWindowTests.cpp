// SPDX-License-Identifier: MIT
#include "app/chrome/RKWindow.h"

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Waits (up to ten seconds) for a sheet of `window` to show, then acts on it. A sheet that
// never shows is reported and any modal run is ended so the test cannot hang.
void whenSheetShows(RKWindow &window, std::function<void(QDialog *)> action, bool *shown)
{
    auto *timer = new QTimer(&window);
    auto deadline = std::make_shared<QDeadlineTimer>(10000);
    QObject::connect(timer, &QTimer::timeout, [=, &window] {
        for (QDialog *sheet : window.findChildren<QDialog *>()) {
            if (sheet->isVisible()) {
                timer->deleteLater();
                timer->stop();
                *shown = true;
                action(sheet);
                return;
            }
        }
        if (deadline->hasExpired()) {
            timer->stop();
            timer->deleteLater();
            for (QDialog *sheet : window.findChildren<QDialog *>())
                sheet->done(-99);
        }
    });
    timer->start(10);
}

class SheetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(400, 300);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "window never exposed";
    }

    RKWindow window;
    bool shown = false;
};

QPushButton *buttonTitled(QDialog *sheet, const QString &title)
{
    for (QPushButton *button : sheet->findChildren<QPushButton *>())
        if (button->text() == title)
            return button;
    return nullptr;
}

} // namespace

TEST(RKWindowTitle, SuffixFollowsTheTitleAndMissingTitleShowsNull)
{
    RKWindow window;
    window.setTitle(QStringLiteral("Contacts"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Contacts"));
    window.setTitleSuffix(QStringLiteral("(2)"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Contacts (2)"));
    window.setTitleSuffix(QString());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Contacts"));

    RKWindow untitled;
    untitled.setTitleSuffix(QStringLiteral("(2)"));
    EXPECT_EQ(untitled.windowTitle(), QStringLiteral("null (2)"));
}

TEST(RKWindowTitle, MadeFromAnotherWindowTakesItsContentAndTitle)
{
    auto *source = new QWidget;
    source->setObjectName(QStringLiteral("Inspector"));
    source->setWindowTitle(QStringLiteral("Card"));
    source->setMinimumSize(200, 100);
    auto *field = new QPushButton(QStringLiteral("inside"), source);

    RKWindow window(source, true);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Card"));
    EXPECT_EQ(window.minimumSize(), QSize(200, 100));
    EXPECT_EQ(window.frameAutosaveName(), QStringLiteral("RKInspector"));
    EXPECT_TRUE(window.isTextured());
    EXPECT_TRUE(window.isAncestorOf(field));
}

TEST_F(SheetTest, PromptReturnsOneForReturnAndZeroForEscape)
{
    whenSheetShows(
        window, [](QDialog *sheet) { QTest::keyClick(sheet, Qt::Key_Return); }, &shown);
    EXPECT_EQ(window.runPromptSheet(QStringLiteral("Delete?"), QStringLiteral("Really?"),
                                    QStringLiteral("Delete")),
              1);
    EXPECT_TRUE(shown);

    shown = false;
    whenSheetShows(
        window, [](QDialog *sheet) { QTest::keyClick(sheet, Qt::Key_Escape); }, &shown);
    EXPECT_EQ(window.runPromptSheet(QStringLiteral("Delete?"), QStringLiteral("Really?"),
                                    QStringLiteral("Delete"), QStringLiteral("Cancel")),
              0);
    EXPECT_TRUE(shown);
    EXPECT_EQ(window.alertPanel(), nullptr);
}

TEST_F(SheetTest, OtherButtonReturnsMinusOneAndTheSheetIsWindowModal)
{
    Qt::WindowModality modality = Qt::NonModal;
    whenSheetShows(
        window,
        [&](QDialog *sheet) {
            modality = sheet->windowModality();
            QTest::mouseClick(buttonTitled(sheet, QStringLiteral("Don't Save")), Qt::LeftButton);
        },
        &shown);
    EXPECT_EQ(window.runPromptSheet(QStringLiteral("Save?"), QString(), QStringLiteral("Save"),
                                    QStringLiteral("Cancel"), QStringLiteral("Don't Save")),
              -1);
    EXPECT_TRUE(shown);
    EXPECT_EQ(modality, Qt::WindowModal);
}

TEST_F(SheetTest, SecondPromptWhileOneIsUpAnswersMinusOneAtOnce)
{
    int nested = 42;
    bool nestedMessageReturned = false;
    whenSheetShows(
        window,
        [&](QDialog *sheet) {
            nested =
                window.runPromptSheet(QStringLiteral("Again?"), QString(), QStringLiteral("Yes"));
            window.runMessageSheet(QStringLiteral("Dropped"), QString());
            window.runMessageSheet(QStringLiteral("Dropped"), QString(), 30.0);
            QDialog custom;
            EXPECT_EQ(window.runPromptSheet(&custom), -1);
            nestedMessageReturned = true;
            QTest::mouseClick(buttonTitled(sheet, QStringLiteral("First")), Qt::LeftButton);
        },
        &shown);
    EXPECT_EQ(window.runPromptSheet(QStringLiteral("First?"), QString(), QStringLiteral("First")),
              1);
    EXPECT_EQ(nested, -1);
    EXPECT_TRUE(nestedMessageReturned);
}

TEST_F(SheetTest, MessageSheetHasOneOkayButton)
{
    QStringList titles;
    whenSheetShows(
        window,
        [&](QDialog *sheet) {
            for (QPushButton *button : sheet->findChildren<QPushButton *>())
                if (button->isVisible())
                    titles << button->text();
            QTest::keyClick(sheet, Qt::Key_Return);
        },
        &shown);
    window.runMessageSheet(QStringLiteral("Saved"), QStringLiteral("All done."));
    EXPECT_TRUE(shown);
    EXPECT_EQ(titles, QStringList{QStringLiteral("Okay")});
}

TEST_F(SheetTest, TimedMessageGoesAwayByItself)
{
    int visibleButtons = -1;
    whenSheetShows(
        window,
        [&](QDialog *sheet) {
            visibleButtons = 0;
            for (QPushButton *button : sheet->findChildren<QPushButton *>())
                visibleButtons += button->isVisible() ? 1 : 0;
        },
        &shown);
    window.runMessageSheet(QStringLiteral("Copied"), QString(), 0.2);
    EXPECT_TRUE(shown);
    EXPECT_EQ(visibleButtons, 0);
    for (QDialog *sheet : window.findChildren<QDialog *>())
        EXPECT_FALSE(sheet->isVisible());
}

TEST_F(SheetTest, CustomSheetEndsWithTheTagOfThePushButtonAndLeavesOthersAlone)
{
    QDialog sheet;
    auto *ok = new QPushButton(QStringLiteral("Set Up"), &sheet);
    ok->setProperty("tag", 7);
    auto *check = new QCheckBox(QStringLiteral("Remember"), &sheet);
    auto *radio = new QRadioButton(QStringLiteral("Home"), &sheet);
    int ownHandlerCalls = 0;
    auto *own = new QPushButton(QStringLiteral("Test"), &sheet);
    own->setProperty("tag", 3);
    QObject::connect(own, &QPushButton::clicked, [&] { ++ownHandlerCalls; });
    auto *box = new QGroupBox(QStringLiteral("Account"), &sheet);
    auto *inner = new QWidget(box);
    auto *nested = new QPushButton(QStringLiteral("Nested"), inner);
    nested->setProperty("tag", 5);

    whenSheetShows(
        window,
        [&](QDialog *) {
            QTest::mouseClick(check, Qt::LeftButton);
            QTest::mouseClick(radio, Qt::LeftButton);
            QTest::mouseClick(own, Qt::LeftButton);
            EXPECT_TRUE(sheet.isVisible()) << "only wired push buttons end the sheet";
            QTest::mouseClick(ok, Qt::LeftButton);
        },
        &shown);
    EXPECT_EQ(window.runPromptSheet(&sheet), 7);
    EXPECT_TRUE(shown);
    EXPECT_EQ(ownHandlerCalls, 1);
    EXPECT_TRUE(check->isChecked());
    EXPECT_FALSE(sheet.isVisible());

    shown = false;
    whenSheetShows(
        window, [&](QDialog *) { QTest::mouseClick(nested, Qt::LeftButton); }, &shown);
    EXPECT_EQ(window.runPromptSheet(&sheet), 5) << "buttons inside boxes are wired too";
}

TEST_F(SheetTest, BeginAndEndSheetDoNotWait)
{
    QDialog sheet;
    window.beginSheet(&sheet);
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(sheet.windowModality(), Qt::WindowModal);
    window.endSheet();
    EXPECT_FALSE(sheet.isVisible());
    window.endSheet();
    window.beginSheet(nullptr);
    EXPECT_EQ(window.runPromptSheet(nullptr), -1);
}
