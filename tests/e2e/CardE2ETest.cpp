// SPDX-License-Identifier: MIT
// The real Brisko on a private display and bus, showing a card with every kind of value and
// driven by the pointer the way a person would: a click on a phone number, a right click on an
// e-mail address and its menu.
#include "app/card/PropertyView.h"
#include "tests/e2e/support/AppDriver.h"
#include "tests/e2e/support/TestProcesses.h"
#include "tests/support/TemporaryHome.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace AppDriver;

QByteArray richCard()
{
    QImage photo(60, 80, QImage::Format_RGB32);
    photo.fill(Qt::darkYellow);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    photo.save(&buffer, "PNG");
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Quixley;Zora;;;\r\nFN:Zora Quixley\r\n"
           "ORG:Lighthouse Works\r\nTITLE:Keeper\r\n"
           "TEL;TYPE=CELL:+1 555 0101\r\nTEL;TYPE=WORK:+1 555 0102\r\nTEL;TYPE=HOME:+1 555 0103\r\n"
           "EMAIL;TYPE=WORK:zora@lighthouse.test\r\nEMAIL;TYPE=HOME:zq@home.test\r\n"
           "URL:https://lighthouse.test\r\n"
           "ADR;TYPE=WORK:;;1 Pier Road;Harbourtown;ME;04101;USA\r\n"
           "ADR;TYPE=HOME:;;7 Cliff Lane;Harbourtown;ME;04102;\r\n"
           "NOTE:Rings back after six.\r\n"
           "PHOTO;ENCODING=b;TYPE=PNG:" +
           png.toBase64() + "\r\nEND:VCARD\r\n";
}

class CardE2ETest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";
        ASSERT_TRUE(display.isRunning()) << qPrintable(display.problem());
        const QString book = home.path() + QStringLiteral("/zora.vcf");
        QFile file(book);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(richCard());
        file.close();
        ChildProcess splashOff(Defaults,
                               {QStringLiteral("write"), QStringLiteral("com.ambertide.Brisko"),
                                QStringLiteral("ShowSplash"), QStringLiteral("-bool"),
                                QStringLiteral("NO")});
        ASSERT_TRUE(splashOff.waitForFinished(Timeout) && splashOff.exitCode() == 0);

        ChildProcess monitor(Ctl, {QStringLiteral("monitor")});
        ASSERT_TRUE(monitor.waitForError(QStringLiteral("monitoring"), Timeout));
        QProcessEnvironment environment = display.environment();
        environment.insert(QStringLiteral("BRISKO_ADDRESS_BOOK"), book);
        app = std::make_unique<ChildProcess>(Brisko, QStringList(), environment);
        ASSERT_TRUE(monitor.waitForLine(QStringLiteral("AppDidLaunch"), Timeout))
            << qPrintable(app->standardError());
    }

    bool xdotool(const QStringList &arguments) { return display.xdotool(arguments); }

    QString visibleWindow(const QString &name) { return AppDriver::visibleWindow(display, name); }

    int visibleWindowsOfBrisko()
    {
        ChildProcess search(QStringLiteral("xdotool"),
                            {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                             QStringLiteral("--class"), QStringLiteral("^Brisko$")},
                            display.environment());
        if (!search.waitForFinished(Timeout))
            return -1;
        return int(search.remainingOutput().split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
    }

    QString focusedWindow()
    {
        ChildProcess focus(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus")},
                           display.environment());
        return focus.waitForFinished(Timeout) ? focus.remainingOutput().trimmed() : QString();
    }

    /// Shows the search window with the card of the one match of `pattern`; its top-left
    /// corner on the screen.
    std::optional<QPoint> showCardOf(const QString &pattern)
    {
        // Typing starts once the window has the keyboard: keys sent before go elsewhere.
        if (!xdotool({QStringLiteral("key"), QStringLiteral("ctrl+alt+space")}) ||
            !waitUntil(
                [this] {
                    const QString window = visibleWindow(QStringLiteral("Brisko"));
                    return !window.isEmpty() && window == focusedWindow();
                },
                Timeout) ||
            !xdotool(
                {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), pattern}))
            return std::nullopt;
        QPoint corner;
        const bool expanded = waitUntil(
            [&] {
                const QRect geometry =
                    windowGeometry(display, visibleWindow(QStringLiteral("Brisko")));
                corner = geometry.topLeft();
                return geometry.size() == QSize(400, 413);
            },
            Timeout);
        return expanded ? std::optional(corner) : std::nullopt;
    }

    /// Where row `index` of the card's body (its phones first, each one line high) lies on the
    /// screen, `x` points into the row: the card sits 10 from the window's edges below the
    /// 62-point collapsed part, its body 80 below its top inside a one-point frame.
    static QPoint rowPoint(const QPoint &window, int index, int x)
    {
        const qreal h =
            PropertyView::textHeight(PropertyView::PhoneProperty, QStringLiteral("555"), 300);
        const qreal top = index < 3 ? index * (h + 2) : 3 * h + 11 + (index - 3) * (h + 2);
        return window +
               QPoint(10 + 1 + x, 62 + 80 + 1 + qRound(top + PropertyView::kHighlightRoom + h / 2));
    }

    bool click(const QPoint &at, const QString &button)
    {
        return xdotool({QStringLiteral("mousemove"), QString::number(at.x()),
                        QString::number(at.y()), QStringLiteral("click"), button});
    }

    QString clipboard()
    {
        ChildProcess xclip(
            QStringLiteral("xclip"),
            {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")},
            display.environment());
        return xclip.waitForFinished(Timeout) ? xclip.remainingOutput() : QString();
    }

    TemporaryHome home;
    PrivateSessionBus bus;
    PrivateDisplay display;
    std::unique_ptr<ChildProcess> app;
};

TEST_F(CardE2ETest, ARightClickOnAnEmailRowCopiesTheAddress)
{
    const std::optional<QPoint> window = showCardOf(QStringLiteral("quixley"));
    ASSERT_TRUE(window) << "the card did not open: " << qPrintable(app->standardError());
    ASSERT_TRUE(click(rowPoint(*window, 3, 150), QStringLiteral("3")));
    // The menu of an e-mail row, "Send Email" and "Copy", is a window of its own.
    ASSERT_TRUE(waitUntil([this] { return visibleWindowsOfBrisko() == 2; }, Timeout))
        << "no menu came up";
    ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("Down"), QStringLiteral("Down"),
                         QStringLiteral("Return")}));
    EXPECT_TRUE(waitUntil([this] { return clipboard() == QStringLiteral("zora@lighthouse.test"); },
                          Timeout))
        << "the clipboard holds \"" << qPrintable(clipboard()) << '"';
}

TEST_F(CardE2ETest, AClickOnAPhoneNumberShowsItInLargeType)
{
    const std::optional<QPoint> window = showCardOf(QStringLiteral("quixley"));
    ASSERT_TRUE(window) << "the card did not open: " << qPrintable(app->standardError());
    ASSERT_TRUE(click(rowPoint(*window, 0, PropertyView::kValueX + 10), QStringLiteral("1")));
    EXPECT_TRUE(waitUntil([this] { return !visibleWindow(QStringLiteral("Large Type")).isEmpty(); },
                          Timeout))
        << "no large type window after a click on the number";
    EXPECT_TRUE(visibleWindow(QStringLiteral("Brisko")).isEmpty())
        << "the search window stayed in front of the large type";
    // The panel has the keyboard, and a key let go there still fades the window out.
    ASSERT_TRUE(waitUntil(
        [this] { return visibleWindow(QStringLiteral("Large Type")) == focusedWindow(); }, Timeout))
        << "large type did not get the keyboard";
    ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("space")}));
    EXPECT_TRUE(waitUntil([this] { return visibleWindow(QStringLiteral("Large Type")).isEmpty(); },
                          Timeout))
        << "a key did not dismiss large type";
}

} // namespace
