// SPDX-License-Identifier: MIT
#include "common/utility/AdvertTextView.h"
#include "common/utility/RKWebsite.h"
#include "platform/workspace/Workspace.h"
#include "tests/doubles/RecordingWorkspace.h"

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

// A window beneath the line that counts the presses reaching it.
class PressCounter final : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        ++presses;
        event->accept();
    }
};

class Advert : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto recording = std::make_unique<RecordingWorkspace>();
        workspace = recording.get();
        Workspace::setShared(std::move(recording));
        RKWebsite::setHostname(QStringLiteral("maker.test"));
        view.resize(600, 30);
    }
    void TearDown() override
    {
        Workspace::setShared(nullptr);
        RKWebsite::setHostname({});
    }

    // Number of pixels the view paints onto a transparent image.
    int paintedPixels()
    {
        QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        view.render(&image);
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += qAlpha(image.pixel(x, y)) != 0;
        return count;
    }

    // The viewport point in the middle of the first character of `text` in the line.
    QPoint pointOf(const QString &text)
    {
        const int position = int(view.toPlainText().indexOf(text));
        EXPECT_GE(position, 0) << qPrintable(text);
        QTextCursor cursor(view.document());
        cursor.setPosition(position + 1);
        return view.cursorRect(cursor).center() - QPoint(2, 0);
    }

    RecordingWorkspace *workspace = nullptr;
    AdvertTextView view;
};

TEST_F(Advert, LineLinksTheProductNameToItsPage)
{
    view.setProductId(1);
    const QString name = RKWebsite::productNameForProductId(1);
    EXPECT_EQ(view.toPlainText(), QStringLiteral("Brought to you by ") + name +
                                      QLatin1String(" - ") + RKWebsite::blurpForProductId(1));

    QTextCursor cursor(view.document());
    cursor.setPosition(int(view.toPlainText().indexOf(name)) + 1);
    const QTextCharFormat link = cursor.charFormat();
    EXPECT_TRUE(link.isAnchor());
    EXPECT_EQ(link.anchorHref(), QStringLiteral("http://maker.test/quillstone/"));
    // Readable on the light panels: the desktop's link colour, never white.
    EXPECT_EQ(link.foreground().color(), view.palette().color(QPalette::Link));
    EXPECT_NE(link.foreground().color(), QColor(Qt::white));
    EXPECT_FALSE(link.fontUnderline());
    cursor.setPosition(3);
    EXPECT_FALSE(cursor.charFormat().isAnchor());
    EXPECT_EQ(view.document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
}

TEST_F(Advert, ShortFormStartsWithTheName)
{
    view.setShortVersion(true);
    view.setProductId(21);
    EXPECT_TRUE(view.toPlainText().startsWith(RKWebsite::productNameForProductId(21)));
}

TEST_F(Advert, UnknownProductsAndMissingDescriptionsLeaveNoLooseParts)
{
    view.setProductId(99);
    EXPECT_TRUE(view.toPlainText().isEmpty());
    view.setProductId(23);
    EXPECT_EQ(view.toPlainText(), QStringLiteral("Brought to you by Brisko"));
    view.setProductName(QStringLiteral("Name"), QString(), QStringLiteral("blurp"));
    EXPECT_EQ(view.toPlainText(), QStringLiteral("Brought to you by  - blurp"));
}

TEST_F(Advert, SwitchingTheLineOffHidesItWithoutClearingIt)
{
    view.setProductId(2);
    EXPECT_FALSE(view.lineVisible());
    EXPECT_EQ(paintedPixels(), 0);
    view.setLineVisible(true);
    EXPECT_GT(paintedPixels(), 0);
    const QString line = view.toPlainText();
    view.setLineVisible(false);
    EXPECT_EQ(paintedPixels(), 0);
    EXPECT_EQ(view.toPlainText(), line);
}

TEST_F(Advert, ALineWiderThanItsPlaceEndsInAnEllipsisAndShowsWholeInItsTooltip)
{
    view.setProductId(1);
    const QString line = view.toPlainText();
    const QString name = RKWebsite::productNameForProductId(1);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    for (const int width : {260, 60}) {
        view.resize(width, 30);
        const QString shown = view.toPlainText();
        EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << width << ": " << qPrintable(shown);
        EXPECT_TRUE(line.startsWith(shown.chopped(1))) << qPrintable(shown);
        EXPECT_LE(view.document()->idealWidth(), view.viewport()->width()) << width;
        EXPECT_EQ(view.toolTip(), line);
        EXPECT_EQ(view.lineText(), line);
    }
    // What is left of the name still links to its page.
    view.resize(QFontMetrics(view.font())
                        .horizontalAdvance(QStringLiteral("Brought to you by ") + name.left(3)) +
                    40,
                30);
    QTextCursor cursor(view.document());
    cursor.setPosition(int(view.toPlainText().indexOf(name.left(2))) + 1);
    EXPECT_TRUE(cursor.charFormat().isAnchor()) << qPrintable(view.toPlainText());

    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), view.viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(view.viewport(), &help);
    EXPECT_EQ(QToolTip::text(), line);
    QToolTip::hideText();

    view.resize(QFontMetrics(view.font()).horizontalAdvance(line) + 40, 30);
    EXPECT_EQ(view.toPlainText(), line);
    EXPECT_TRUE(view.toolTip().isEmpty());
}

TEST_F(Advert, ClickingTheNameOpensTheProductPageOnlyWhileShown)
{
    view.setProductId(3);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view)) << "the advert view never became exposed";
    const QPoint onName = pointOf(RKWebsite::productNameForProductId(3));

    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onName);
    EXPECT_TRUE(workspace->requests.isEmpty());

    view.setLineVisible(true);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pointOf(QStringLiteral("Brought")));
    EXPECT_TRUE(workspace->requests.isEmpty());
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onName);
    ASSERT_EQ(workspace->requests.size(), 1);
    EXPECT_EQ(workspace->requests.first().operation, QStringLiteral("openUrl"));
    EXPECT_EQ(workspace->requests.first().target, QStringLiteral("http://maker.test/marrowbook/"));
}

} // namespace

TEST(AdvertWindow, PressesOutsideTheLinkReachTheWindowBeneath)
{
    PressCounter window;
    auto *view = new AdvertTextView(&window);
    view->setLineVisible(true);
    view->setProductId(4);
    window.resize(600, 40);
    view->setGeometry(0, 0, 600, 40);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "the window never became exposed";
    EXPECT_TRUE(view->mouseDownCanMoveWindow());

    QTextCursor cursor(view->document());
    cursor.setPosition(2);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, view->cursorRect(cursor).center());
    EXPECT_EQ(window.presses, 1);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, view->cursorRect(cursor).center());
}
