// SPDX-License-Identifier: MIT
#include "app/chrome/FramelessWindow.h"
#include "app/chrome/RoundedRectView.h"

#include <QImage>
#include <QLabel>

#include <gtest/gtest.h>

TEST(RoundedOutline, RadiusIsCappedAtHalfTheShorterSide)
{
    EXPECT_DOUBLE_EQ(RoundedRectView::outlineRadius(QSizeF(20, 10), 12), 5.0);
    EXPECT_DOUBLE_EQ(RoundedRectView::outlineRadius(QSizeF(300, 62), 12), 12.0);
    EXPECT_DOUBLE_EQ(RoundedRectView::outlineRadius(QSizeF(0, 0), 12), 0.0);
    EXPECT_DOUBLE_EQ(RoundedRectView::outlineRadius(QSizeF(20, 10), -3), 0.0);
}

TEST(RoundedOutline, RunsHalfAPointInsideTheBounds)
{
    const QPainterPath square =
        RoundedRectView::bezierPathWithRoundRectInRect(QRectF(0, 0, 40, 30), 0);
    EXPECT_EQ(square.boundingRect(), QRectF(0.5, 0.5, 39, 29));
    EXPECT_TRUE(square.contains(QPointF(0.6, 0.6)));

    const QPainterPath rounded =
        RoundedRectView::bezierPathWithRoundRectInRect(QRectF(0, 0, 40, 30), 10);
    EXPECT_EQ(rounded.boundingRect(), QRectF(0.5, 0.5, 39, 29));
    EXPECT_FALSE(rounded.contains(QPointF(1.5, 1.5)));
    EXPECT_TRUE(rounded.contains(QPointF(20, 15)));

    const QPainterPath stadium =
        RoundedRectView::bezierPathWithRoundRectInRect(QRectF(0, 0, 20, 10), 12);
    EXPECT_EQ(stadium.boundingRect(), QRectF(0.5, 0.5, 19, 9));
    EXPECT_FALSE(stadium.contains(QPointF(1, 1)));
    EXPECT_TRUE(stadium.contains(QPointF(10, 5)));
}

namespace {

QImage renderPanel(RoundedRectView &view)
{
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red); // anything left unpainted shows as red
    view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace

TEST(RoundedRectViewDrawing, TransparentCornersFilledPanelAndOnePixelBorder)
{
    RoundedRectView view;
    view.resize(60, 40);
    view.setBackgroundColor(QColor::fromRgbF(0.98f, 0.98f, 0.98f, 0.95f));
    view.setBorderColor(QColor::fromRgbF(0.5f, 0.5f, 0.5f, 1.0f));
    view.setBorderWidth(1);
    view.setRadius(12);

    const QImage image = renderPanel(view);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "corner must be see-through";
    const QColor centre = image.pixelColor(30, 20);
    EXPECT_NEAR(centre.alphaF(), 0.95, 0.01);
    EXPECT_NEAR(centre.redF(), 0.98, 0.01);
    // The outline covers exactly the outermost row: grey at the edge, background inside it.
    const QColor edge = image.pixelColor(30, 0);
    EXPECT_EQ(edge.alpha(), 255);
    EXPECT_NEAR(edge.redF(), 0.5, 0.02);
    EXPECT_NEAR(image.pixelColor(30, 1).redF(), 0.98, 0.02);
    EXPECT_NEAR(image.pixelColor(59, 20).redF(), 0.5, 0.02);
}

TEST(RoundedRectViewDrawing, NoBorderWithoutColourOrWidthAndOpaqueFallback)
{
    RoundedRectView view;
    view.resize(40, 40);
    view.setBackgroundColor(QColor(0, 0, 255, 128));
    view.setBorderWidth(3); // no border colour: no outline
    const QImage translucent = renderPanel(view);
    EXPECT_EQ(translucent.pixelColor(20, 1).alpha(), 128);
    EXPECT_EQ(translucent.pixelColor(20, 20).alpha(), 128);

    view.setOpaqueBackground(true);
    const QImage opaque = renderPanel(view);
    EXPECT_EQ(opaque.pixelColor(20, 20), QColor(0, 0, 255));
}

TEST(RoundedRectViewDrawing, RadiusAndWidthShowOnlyAtTheNextDraw)
{
    RoundedRectView view;
    view.resize(40, 40);
    view.setBackgroundColor(Qt::black);
    view.setRadius(15);
    const QImage image = renderPanel(view);
    EXPECT_EQ(qAlpha(image.pixel(2, 2)), 0);
    EXPECT_EQ(qAlpha(image.pixel(20, 2)), 255);
}

TEST(FramelessWindowTest, BorderlessFloatingToolWindowThatKeepsThePanelBeneath)
{
    FramelessWindow window;
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(window.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);

    auto *label = new QLabel(QStringLiteral("content"), &window);
    window.resize(300, 62);
    window.setBackgroundColor(Qt::white);
    window.setBorderColor(Qt::gray);
    window.setBorderWidth(1);
    window.setRadius(12);
    window.show();

    RoundedRectView *panel = window.backgroundView();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->geometry(), QRect(0, 0, 300, 62));
    EXPECT_EQ(window.children().indexOf(panel), 0) << "panel must stay below the content";
    EXPECT_GT(window.children().indexOf(label), 0);
    EXPECT_EQ(panel->backgroundColor(), QColor(Qt::white));
    EXPECT_DOUBLE_EQ(panel->radius(), 12);

    window.resize(550, 413);
    EXPECT_EQ(panel->geometry(), QRect(0, 0, 550, 413));
}
