// SPDX-License-Identifier: MIT
// What a screen reader hears from the real Brisko and its preferences: at-spi2-core's
// accessibility bus on a private session bus, the programs on a private display with Qt's
// accessibility on, and this test reading their trees and events through libatspi, the way
// Orca does. Orca speaks the focused object on "focus:" and a new description of the focused
// object at once; the search field keeps the keyboard, so what changes around it arrives as
// its description.
#include "tests/e2e/support/AppDriver.h"
#include "tests/e2e/support/AtspiClient.h"
#include "tests/e2e/support/TestProcesses.h"
#include "tests/support/TemporaryHome.h"

#include <QFile>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace AppDriver;

constexpr int Heard = 15000;

QByteArray addressBook()
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Quixley;Zora;;;\r\nFN:Zora Quixley\r\n"
           "ORG:Lighthouse Works\r\nTITLE:Keeper\r\nTEL;TYPE=CELL:+1 555 0101\r\n"
           "EMAIL;TYPE=WORK:zora@lighthouse.test\r\nEND:VCARD\r\n"
           "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Quarry;Zeb;;;\r\nFN:Zeb Quarry\r\n"
           "TEL;TYPE=WORK:+1 555 0199\r\nEND:VCARD\r\n";
}

std::string described(const QList<AccessibleNode> &nodes)
{
    QString text;
    for (const AccessibleNode &node : nodes)
        text += QStringLiteral("[%1] \"%2\" (%3)\n").arg(node.role, node.name, node.description);
    return text.toStdString();
}

bool contains(const QList<AccessibleNode> &nodes, const QString &role, const QString &name,
              const QString &description = {})
{
    return std::any_of(nodes.begin(), nodes.end(), [&](const AccessibleNode &node) {
        return node.role == role && node.name == name &&
               (description.isEmpty() || node.description == description);
    });
}

class AccessibilityTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // The bus launcher would mark the display of the whole run as its own; the
        // programs here run on a display of their own.
        qunsetenv("DISPLAY");
        // libatspi connects once per process, so the tests of a run share bus and client.
        suiteHome = new TemporaryHome;
        bus = new PrivateSessionBus({QStringLiteral("org.a11y.Bus")});
        client = new AtspiClient;
        for (const char *type : {"focus:", "object:property-change:accessible-description",
                                 "object:property-change:accessible-name"})
            listening = client->listen(QString::fromLatin1(type)) && listening;
    }
    static void TearDownTestSuite()
    {
        delete client;
        delete bus;
        delete suiteHome;
    }

    void SetUp() override
    {
        ASSERT_TRUE(bus->isRunning()) << "dbus-daemon did not start a session bus";
        ASSERT_TRUE(display.isRunning()) << qPrintable(display.problem());
        ASSERT_TRUE(client->isReady())
            << "no accessibility bus answered on the private session bus (at-spi2-core)";
        ASSERT_TRUE(listening) << "the accessibility bus took no event listener";
        client->forget();
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = display.environment();
        environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        return environment;
    }

    /// The application's tree once an object of `role` named `name` is in it.
    QList<AccessibleNode> treeShowing(const QString &application, const QString &role,
                                      const QString &name)
    {
        QList<AccessibleNode> nodes;
        AtspiClient::waitUntil(
            [&] {
                nodes = client->tree(application);
                return contains(nodes, role, name);
            },
            Heard);
        return nodes;
    }

    bool heardDescription(const QString &description)
    {
        return client
            ->waitForEvent(
                QStringLiteral("object:property-change:accessible-description"),
                [&](const AccessibleNode &source) { return source.description == description; },
                Heard)
            .has_value();
    }

    bool heardFocus(const QString &role, const QString &name)
    {
        return client
            ->waitForEvent(
                QStringLiteral("focus:"),
                [&](const AccessibleNode &source) {
                    return source.role == role && source.name == name;
                },
                Heard)
            .has_value();
    }

    std::string heard() const
    {
        QString text;
        for (const HeardEvent &event : client->heard())
            text += QStringLiteral("%1 [%2] \"%3\" (%4)\n")
                        .arg(event.type, event.source.role, event.source.name,
                             event.source.description);
        return text.toStdString();
    }

    /// Presses Tab until `name` has the focus, at most `stops` times; the names that had the
    /// focus on the way, `name` last, or what they were when it never came.
    QStringList tabTo(const QString &name, int stops)
    {
        const auto focusEvents = [this] {
            QStringList names;
            for (const HeardEvent &event : client->heard()) {
                if (event.type == QLatin1String("focus:"))
                    names.append(event.source.name);
            }
            return names;
        };
        client->forget();
        QStringList passed;
        for (int stop = 0; stop < stops; ++stop) {
            if (!key(QStringLiteral("Tab")) ||
                !AtspiClient::waitUntil([&] { return focusEvents().size() > stop; }, Heard))
                break;
            passed = focusEvents();
            if (passed.last() == name)
                break;
        }
        return passed;
    }

    bool key(const QString &keys)
    {
        return display.xdotool(
            {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60"), keys});
    }

    TemporaryHome home;
    static inline TemporaryHome *suiteHome = nullptr;
    static inline PrivateSessionBus *bus = nullptr;
    static inline bool listening = true;
    static inline AtspiClient *client = nullptr;
    PrivateDisplay display;
};

TEST_F(AccessibilityTest, TheSearchWindowNamesItsPartsAndSaysWhatChanges)
{
    const QString book = home.path() + QStringLiteral("/people.vcf");
    QFile file(book);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(addressBook());
    file.close();
    ASSERT_EQ(run(Defaults, {QStringLiteral("write"), Domain, QStringLiteral("ShowSplash"),
                             QStringLiteral("-bool"), QStringLiteral("NO")}),
              0);
    ChildProcess monitor(Ctl, {QStringLiteral("monitor")});
    ASSERT_TRUE(monitor.waitForError(QStringLiteral("monitoring"), Timeout));
    QProcessEnvironment environment = this->environment();
    environment.insert(QStringLiteral("BRISKO_ADDRESS_BOOK"), book);
    ChildProcess app(Brisko, {}, environment);
    ASSERT_TRUE(monitor.waitForLine(QStringLiteral("AppDidLaunch"), Timeout))
        << qPrintable(app.standardError());

    // Brought up, the window hands the keyboard to the field, which Orca reads by its name.
    ASSERT_EQ(run(Ctl, {QStringLiteral("show")}), 0);
    EXPECT_TRUE(heardFocus(QStringLiteral("text"), QStringLiteral("Search contacts"))) << heard();

    // The count is said as the status line shows it.
    ASSERT_TRUE(display.xdotool({QStringLiteral("type"), QStringLiteral("Q")}));
    EXPECT_TRUE(heardDescription(QStringLiteral("2 matches"))) << heard();
    QList<AccessibleNode> nodes = treeShowing(
        QStringLiteral("Brisko"), QStringLiteral("status bar"), QStringLiteral("2 matches"));
    EXPECT_TRUE(contains(nodes, QStringLiteral("status bar"), QStringLiteral("2 matches")))
        << described(nodes);

    // The list opens on its first match, and each match chosen is named with its place.
    ASSERT_TRUE(key(QStringLiteral("Return")));
    EXPECT_TRUE(heardDescription(QStringLiteral("Zeb Quarry, 1 of 2"))) << heard();
    ASSERT_TRUE(key(QStringLiteral("Down")));
    EXPECT_TRUE(heardDescription(QStringLiteral("Zora Quixley, 2 of 2"))) << heard();

    // A row of the card chosen from the keyboard is said with its label and value.
    ASSERT_TRUE(key(QStringLiteral("ctrl+Down")));
    EXPECT_TRUE(heardDescription(QStringLiteral("mobile +1 555 0101"))) << heard();

    nodes = treeShowing(QStringLiteral("Brisko"), QStringLiteral("heading"),
                        QStringLiteral("Zora Quixley"));
    for (const auto &[role, name, description] :
         std::initializer_list<std::tuple<const char *, const char *, const char *>>{
             {"frame", "Brisko", ""},
             {"text", "Search contacts", ""},
             {"push button", "Menu", "F10"},
             {"push button", "Clear", ""},
             {"list", "Matches", ""},
             {"list item", "Zeb Quarry", ""},
             {"list item", "Zora Quixley", ""},
             {"heading", "Zora Quixley", "Keeper, Lighthouse Works"},
             {"list", "Contact details", ""},
             {"list item", "mobile", "+1 555 0101"},
             {"list item", "work", "zora@lighthouse.test"},
         }) {
        EXPECT_TRUE(contains(nodes, QString::fromUtf8(role), QString::fromUtf8(name),
                             QString::fromUtf8(description)))
            << role << " \"" << name << "\" missing from\n"
            << described(nodes);
    }

    // F10 opens the menu behind the button, its first item said; Escape gives the field the
    // keyboard back.
    client->forget();
    ASSERT_TRUE(key(QStringLiteral("F10")));
    EXPECT_TRUE(heardFocus(QStringLiteral("menu item"), QStringLiteral("About Brisko"))) << heard();
    ASSERT_TRUE(key(QStringLiteral("Escape")));
    EXPECT_TRUE(heardFocus(QStringLiteral("text"), QStringLiteral("Search contacts"))) << heard();

    // The chosen number in large type: the text itself is said as the window comes up.
    ASSERT_TRUE(key(QStringLiteral("ctrl+Return")));
    EXPECT_TRUE(heardFocus(QStringLiteral("label"), QStringLiteral("+1 555 0101"))) << heard();
    nodes = treeShowing(QStringLiteral("Brisko"), QStringLiteral("label"),
                        QStringLiteral("+1 555 0101"));
    EXPECT_TRUE(contains(nodes, QStringLiteral("frame"), QStringLiteral("Large Type")))
        << described(nodes);
}

TEST_F(AccessibilityTest, ThePaneIsNamedAndWorkedFromTheKeyboardAlone)
{
    ChildProcess host(QStringLiteral(BRISKO_BINARY_DIR "/bin/brisko-preferences"), {},
                      environment());
    const QString application = QStringLiteral("brisko-preferences");
    QList<AccessibleNode> nodes =
        treeShowing(application, QStringLiteral("page tab"), QStringLiteral("General"));
    ASSERT_FALSE(nodes.isEmpty()) << "the preferences are not on the accessibility bus: "
                                  << client->applicationNames().join(QLatin1Char(' ')).toStdString()
                                  << '\n'
                                  << qPrintable(host.standardError());
    for (const auto &[role, name] : std::initializer_list<std::pair<const char *, const char *>>{
             {"page tab", "General"},
             {"page tab", "Preferences"},
             {"page tab", "About"},
             {"label", "Brisko is stopped"},
             {"push button", "Start Brisko"},
             {"push button", "Change Hot Key…"},
             {"check box", "Start Brisko at login"},
             {"check box", "Show splash at launch"},
             {"push button", "Card header colour"},
             {"push button", "Large type background colour"},
             {"check box", "Dial through Vonage"},
             // Named by its current item; Qt tells AT-SPI of its label as a relation.
             {"label", "Caller number:"},
             {"combo box", "Unavailable"},
         }) {
        EXPECT_TRUE(contains(nodes, QString::fromUtf8(role), QString::fromUtf8(name)))
            << role << " \"" << name << "\" missing from\n"
            << described(nodes);
    }

    // Tab walks the General tab in reading order, each stop named as it takes the focus.
    const QStringList general = tabTo(QStringLiteral("Check Now"), 10);
    qsizetype at = 0;
    for (const char *name :
         {"Start Brisko", "Change Hot Key…", "Start Brisko at login", "Show splash at launch",
          "Check for updates automatically", "Check Now"}) {
        at = general.indexOf(QString::fromUtf8(name), at);
        EXPECT_GE(at, 0) << name << " not reached in order: "
                         << general.join(QStringLiteral(" | ")).toStdString();
        at = std::max<qsizetype>(at, 0);
    }

    // Ctrl+Tab turns to the next tab; its colour wells and switches come in turn.
    ASSERT_TRUE(key(QStringLiteral("ctrl+Tab")));
    const QStringList preferences = tabTo(QStringLiteral("Dial through Vonage"), 14);
    ASSERT_EQ(preferences.value(preferences.size() - 1), QStringLiteral("Dial through Vonage"))
        << preferences.join(QStringLiteral(" | ")).toStdString();
    for (const char *name :
         {"Card header colour", "Name colour", "Company line colour", "Large type text colour",
          "Large type background colour", "Hide advert"})
        EXPECT_TRUE(preferences.contains(QString::fromUtf8(name)))
            << name
            << " never had the focus: " << preferences.join(QStringLiteral(" | ")).toStdString();

    // Space on the switch asks for the account in a sheet, whose field has the keyboard;
    // Escape closes it and hands the keyboard back.
    client->forget();
    ASSERT_TRUE(key(QStringLiteral("space")));
    EXPECT_TRUE(heardFocus(QStringLiteral("text"), QStringLiteral("Account name:"))) << heard();
    ASSERT_TRUE(key(QStringLiteral("Escape")));
    EXPECT_TRUE(heardFocus(QStringLiteral("check box"), QStringLiteral("Dial through Vonage")))
        << heard();
}

} // namespace
