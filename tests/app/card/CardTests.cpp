// SPDX-License-Identifier: MIT
#include "app/card/CardActions.h"
#include "app/card/CardLinks.h"
#include "app/card/CardText.h"
#include "app/card/FlippedGeometry.h"
#include "app/card/PersonView.h"
#include "app/card/PropertyView.h"
#include "app/settings/UserDefaultsExtras.h"
#include "common/SettingsKeys.h"
#include "platform/addressbook/VCardReader.h"
#include "platform/core/Bundle.h"
#include "platform/settings/UserDefaults.h"
#include "tests/doubles/RecordingWorkspace.h"
#include "tests/support/TemporaryHome.h"

#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using P = PropertyView;

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

/// One home and one set of factory settings for the binary: the card reads its colours and
/// the dialing switch from the application's settings.
class CardEnvironment final : public ::testing::Environment
{
public:
    void SetUp() override
    {
        home = std::make_unique<TemporaryHome>();
        Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
        ASSERT_TRUE(UserDefaultsExtras::registerDefaultsWithResource(
            UserDefaults::standardUserDefaults(), QStringLiteral("FactoryDefaults")));
    }
    void TearDown() override { home.reset(); }
    std::unique_ptr<TemporaryHome> home;
};

[[maybe_unused]] ::testing::Environment *const environment =
    ::testing::AddGlobalTestEnvironment(new CardEnvironment);

class RecordingActions final : public CardActions
{
public:
    void showStringInLargeType(const QString &string) override
    {
        calls.append(S("large type: ") + string);
    }
    void dialWithVonage(const QString &number) override { calls.append(S("vonage: ") + number); }
    void dialWithSkype(const QString &number) override { calls.append(S("skype: ") + number); }
    void showStatusText(const QString &text) override { calls.append(S("status: ") + text); }
    QStringList calls;
};

class CardTest : public ::testing::Test
{
protected:
    CardTest()
    {
        auto recording = std::make_unique<RecordingWorkspace>();
        workspace = recording.get();
        Workspace::setShared(std::move(recording));
        UserDefaults::standardUserDefaults().setBool(false, DefVonageEnabled);
    }
    ~CardTest() override { Workspace::setShared(nullptr); }

    std::unique_ptr<PropertyView> row(const QString &property, const QString &value,
                                      const QString &label = S("_$!<Work>!$_"),
                                      const QVariant &info = {})
    {
        auto view = std::make_unique<PropertyView>(&actions);
        view->setProperty(property);
        view->setLabel(label);
        view->setValue(value);
        view->setInfo(info);
        view->resize(300, qRound(P::textHeight(property, value, 300) + 2 * P::kHighlightRoom));
        return view;
    }

    QStringList opened() const
    {
        QStringList targets;
        for (const RecordingWorkspace::Request &request : workspace->requests)
            targets.append(request.operation + S(" ") + request.target);
        return targets;
    }

    RecordingActions actions;
    RecordingWorkspace *workspace = nullptr;
};

QStringList titles(QMenu &menu)
{
    QStringList result;
    for (const QAction *action : menu.actions())
        result.append(action->text() + (action->isEnabled() ? QString() : S(" (off)")));
    return result;
}

void sendMouse(QWidget *widget, QEvent::Type type, const QPointF &position,
               Qt::MouseButton button = Qt::NoButton)
{
    QMouseEvent event(type, position, widget->mapToGlobal(position), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

QPointF centreInQt(const QRectF &yUp, const QWidget *view)
{
    return FlippedGeometry::flipped(yUp, view->height()).center();
}

const QVariantMap kAddress{{S("Street"), S("1 Main St")},
                           {S("City"), S("Springfield")},
                           {S("State"), S("IL")},
                           {S("ZIP"), S("62701")},
                           {S("Country"), S("USA")}};

TEST(RowLabels, StoredLabelsShowAsWords)
{
    const QList<std::pair<const char *, const char *>> cases{
        {"_$!<Mobile>!$_", "mobile"},
        {"_$!<WorkFAX>!$_", "work fax"},
        {"_$!<HomeFAX>!$_", "home fax"},
        {"HomePage", "home page"},
        {"_$!<Assistant>!$_", "Assistant"},
        {"Grandma's cell", "Grandma's cell"},
        {"<<Boat>>", "Boat"},
        {"Note", "Note"},
    };
    for (const auto &[stored, shown] : cases)
        EXPECT_EQ(P::displayLabel(S(stored)), S(shown)) << stored;
}

TEST_F(CardTest, ValueStartsAtEightyCentredAndTheLabelEndsSixBeforeIt)
{
    for (const auto &[property, text] :
         {std::pair{P::PhoneProperty, S("555 0100")},
          std::pair{P::AddressProperty, S("1 Main St\nSpringfield IL 62701\nUSA")}}) {
        auto view = row(property, text);
        view->resize(300, view->height() + 5);
        const QRectF label = view->labelRect();
        const QRectF value = view->valueRect();
        EXPECT_EQ(value.x(), 80);
        EXPECT_DOUBLE_EQ(value.y(), (view->height() - value.height()) / 2);
        EXPECT_DOUBLE_EQ(label.right(), 74);
        // Tops level (y-up: the top edge is y + height), also for a three-line address.
        EXPECT_DOUBLE_EQ(label.y() + label.height(), value.y() + value.height());
    }
}

TEST_F(CardTest, LongTextIsCutToFitAndShownWholeInTheTooltip)
{
    const QString hugeValue = QString(2'000'000, QLatin1Char('x'));
    auto view = row(P::EmailProperty, hugeValue, S("A label far wider than its column"));
    EXPECT_TRUE(view->displayedLabel().endsWith(QChar(0x2026)));
    EXPECT_GE(view->labelRect().x(), 0);
    EXPECT_LE(view->displayedValue().size(), 400) << "the whole value was measured";
    EXPECT_LE(view->valueRect().right(), view->width());
    EXPECT_TRUE(view->toolTip().startsWith(S("A label far wider than its column: xxx")));
    EXPECT_FALSE(row(P::PhoneProperty, S("555"), S("_$!<Home>!$_"))->toolTip().size() > 0);

    // Accessibility tools read a row as its label and value.
    auto phone = row(P::PhoneProperty, S("555 0100"), S("_$!<Mobile>!$_"));
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(phone.get());
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), S("mobile"));
    EXPECT_EQ(accessible->text(QAccessible::Description), S("555 0100"));
}

TEST_F(CardTest, MenusOfferTheActionsOfTheirKindOfValue)
{
    const QList<std::pair<QString, QStringList>> cases{
        {P::PhoneProperty, {S("Large Type"), S("Dial With Vonage (off)"), S("Copy")}},
        {P::EmailProperty, {S("Send Email"), S("Copy")}},
        {P::URLsProperty, {S("Go to Web Site"), S("Copy")}},
        {P::HomePageProperty, {S("Go to Web Site"), S("Copy")}},
        {P::AddressProperty, {S("Map Of"), S("Copy Map Link"), S("Large Type"), S("Copy")}},
        {P::NoteProperty, {S("Copy")}},
    };
    for (const auto &[property, expected] : cases) {
        auto view = row(property, S("value"), S("label"), kAddress);
        std::unique_ptr<QMenu> menu = view->_menuForEvent(nullptr);
        ASSERT_TRUE(menu);
        EXPECT_EQ(titles(*menu), expected) << qPrintable(property);
        EXPECT_EQ(menu->font().pixelSize(), P::kMenuFontSize);
    }

    // Dialing follows the setting as the menu opens; calling needs a desktop handler of tel:.
    auto phone = row(P::PhoneProperty, S("+1 555 0100"));
    UserDefaults::standardUserDefaults().setBool(true, DefVonageEnabled);
    workspace->openableSchemes = {S("tel")};
    std::unique_ptr<QMenu> menu = phone->_menuForEvent(nullptr);
    EXPECT_EQ(titles(*menu),
              (QStringList{S("Large Type"), S("Dial With Vonage"), S("Call"), S("Copy")}));
    menu->actions().at(1)->trigger();
    menu->actions().at(2)->trigger();
    EXPECT_EQ(actions.calls, QStringList{S("vonage: +1 555 0100")});
    EXPECT_EQ(opened(), QStringList{S("openUrl tel:+1 555 0100")});
}

TEST_F(CardTest, OnlyAPressOnTheLabelAsksForTheMenu)
{
    auto view = row(P::PhoneProperty, S("555 0100"));
    const QPointF onLabel = centreInQt(view->labelRect(), view.get());
    const QPointF onValue = centreInQt(view->valueRect(), view.get());
    EXPECT_TRUE(view->_menuForEvent(&onLabel));
    EXPECT_FALSE(view->_menuForEvent(&onValue));

    // A release on the value runs the default action; one beside it nothing.
    sendMouse(view.get(), QEvent::MouseButtonPress, onValue, Qt::LeftButton);
    sendMouse(view.get(), QEvent::MouseButtonRelease, onValue, Qt::LeftButton);
    sendMouse(view.get(), QEvent::MouseButtonRelease, QPointF(view->width() - 1, 1),
              Qt::LeftButton);
    EXPECT_EQ(actions.calls, QStringList{S("large type: 555 0100")});
}

TEST_F(CardTest, ADoubleClickOnAValueActsOnce)
{
    auto view = row(P::URLsProperty, S("example.com"));
    const QPointF onValue = centreInQt(view->valueRect(), view.get());
    // As Qt delivers a double click: the second press comes with a double-click event.
    for (const QEvent::Type type :
         {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress,
          QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
        sendMouse(view.get(), type, onValue, Qt::LeftButton);
    EXPECT_EQ(opened(), QStringList{S("openUrl https://example.com")});
}

TEST_F(CardTest, AControlClickOpensTheMenuAsARightClickDoes)
{
    auto view = row(P::PhoneProperty, S("555 0100"));
    QStringList shown;
    QTimer close;
    QObject::connect(&close, &QTimer::timeout, [&shown] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            shown = titles(*menu);
            menu->close();
        }
    });
    close.start(10);
    const QPointF onValue = centreInQt(view->valueRect(), view.get());
    QMouseEvent press(QEvent::MouseButtonPress, onValue, view->mapToGlobal(onValue), Qt::LeftButton,
                      Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(view.get(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, onValue, view->mapToGlobal(onValue),
                        Qt::LeftButton, Qt::NoButton, Qt::ControlModifier);
    QApplication::sendEvent(view.get(), &release);
    EXPECT_EQ(shown, (QStringList{S("Large Type"), S("Dial With Vonage (off)"), S("Copy")}));
    EXPECT_EQ(actions.calls, QStringList()) << "the click ran the value's action too";
}

TEST_F(CardTest, DefaultActionsFollowTheKindOfValue)
{
    struct Case
    {
        QString property;
        QString value;
        QStringList calls;
        QStringList opened;
    };
    const QList<Case> cases{
        {P::PhoneProperty, S("555 0100"), {S("large type: 555 0100")}, {}},
        {P::AddressProperty, S("1 Main St"), {S("large type: 1 Main St")}, {}},
        {P::EmailProperty, S("ann@example.com"), {}, {S("openUrl mailto:ann@example.com")}},
        {P::EmailProperty,
         S("ann@example.com?cc=eve@x.org"),
         {},
         {S("openUrl mailto:ann@example.com%3Fcc=eve@x.org")}},
        {P::URLsProperty, S("example.com/about"), {}, {S("openUrl https://example.com/about")}},
        {P::HomePageProperty, S("http://example.org"), {}, {S("openUrl http://example.org")}},
        {P::NoteProperty, S("likes tea"), {}, {}},
        // What a hostile or careless contact file may hold opens nothing, and says so.
        {P::URLsProperty,
         S("file:///etc/passwd"),
         {S("status: Not opened: not a web address")},
         {}},
        {P::URLsProperty,
         S("javascript:alert(1)"),
         {S("status: Not opened: not a web address")},
         {}},
        {P::HomePageProperty,
         S("smb://server/share"),
         {S("status: Not opened: not a web address")},
         {}},
        {P::EmailProperty, S("file:///home"), {S("status: Not opened: not an e-mail address")}, {}},
    };
    for (const Case &c : cases) {
        actions.calls.clear();
        workspace->requests.clear();
        row(c.property, c.value)->open();
        EXPECT_EQ(actions.calls, c.calls) << qPrintable(c.value);
        EXPECT_EQ(opened(), c.opened) << qPrintable(c.value);
    }
}

TEST_F(CardTest, CopyingPutsTheValueOrTheMapLinkOnTheClipboard)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QString addressText = S("1 Main St\nSpringfield IL 62701\nUSA");
    auto address = row(P::AddressProperty, addressText, S("_$!<Home>!$_"), kAddress);
    address->copy();
    EXPECT_EQ(clipboard->text(), addressText);
    address->copyMapLink();
    EXPECT_EQ(clipboard->text(), S("http://maps.google.com/maps?q=1+Main+St+IL+62701"));
    address->openMapLink();
    EXPECT_EQ(opened(), QStringList{S("openUrl http://maps.google.com/maps?q=1+Main+St+IL+62701")});
}

TEST_F(CardTest, HoveringTheLabelHighlightsTheRowUntilTheBodyScrolls)
{
    auto view = row(P::PhoneProperty, S("555 0100"));
    view->grab(); // drawn, so its label is tracked where it was drawn
    const QPointF onLabel = centreInQt(view->labelRect(), view.get());
    sendMouse(view.get(), QEvent::MouseMove, onLabel);
    EXPECT_TRUE(view->isHighlighted());
    sendMouse(view.get(), QEvent::MouseMove, centreInQt(view->valueRect(), view.get()));
    EXPECT_FALSE(view->isHighlighted());

    sendMouse(view.get(), QEvent::MouseMove, onLabel);
    view->boundsChanged();
    EXPECT_FALSE(view->isHighlighted());
    sendMouse(view.get(), QEvent::MouseMove, onLabel);
    EXPECT_FALSE(view->isHighlighted()) << "tracking must wait for the row to be drawn again";
    view->grab();
    sendMouse(view.get(), QEvent::MouseMove, onLabel);
    EXPECT_TRUE(view->isHighlighted());
}

TEST(CardLinks, ContactDataOpensOnlyWhatItsKindPromises)
{
    const QList<std::pair<const char *, const char *>> web{
        {"example.com", "https://example.com"},
        {"HTTPS://Example.com/a?b=c", "https://example.com/a?b=c"},
        {"example.com:8080/x", "https://example.com:8080/x"},
        {"file:///etc/passwd", ""},
        {"ftp://example.com", ""},
        {"http://", ""},
        {"  ", ""},
        {"exa\nmple.com", ""},
    };
    for (const auto &[value, expected] : web)
        EXPECT_EQ(CardLinks::webLink(S(value)).toString(QUrl::FullyEncoded), S(expected)) << value;
    EXPECT_EQ(CardLinks::mailLink(S("MAILTO:ann@example.com")).toString(),
              S("mailto:ann@example.com"));
    EXPECT_TRUE(CardLinks::mailLink(S("javascript:alert(1)")).isEmpty());
    EXPECT_EQ(CardLinks::phoneLink(S("+1 (555) 0100")).toString(QUrl::FullyEncoded),
              S("tel:+1%20%28555%29%200100"));
}

// The card.

QByteArray pngOfSize(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

LabeledValue value(const char *label, const QVariant &v, int index)
{
    return {S(label), v, S("v") + QString::number(index)};
}

PersonPtr richPerson()
{
    Person::Fields f;
    f.firstName = S("Ann");
    f.lastName = S("Lee");
    f.organization = S("Acme");
    f.jobTitle = S("Engineer");
    f.phones = {value("_$!<Mobile>!$_", S("555 0101"), 0), value("_$!<Work>!$_", S("555 0102"), 1),
                value("_$!<Home>!$_", S("555 0103"), 2)};
    f.emails = {value("_$!<Work>!$_", S("ann@acme.test"), 0)};
    f.urls = {value("_$!<HomePage>!$_", S("acme.test"), 0)};
    QVariantMap home = kAddress;
    home.remove(S("Country"));
    f.addresses = {value("_$!<Home>!$_", home, 0), value("_$!<Work>!$_", kAddress, 1)};
    f.note = S("Prefers e-mail.");
    f.uniqueId = S("ann");
    return std::make_shared<const Person>(std::move(f));
}

class CardViewTest : public CardTest
{
protected:
    CardViewTest()
    {
        card.setActions(&actions);
        card.resize(380, 325);
    }
    PersonView card;
};

TEST_F(CardViewTest, RowsFollowInGroupsWithTheirGaps)
{
    card.setPerson(richPerson());
    const QList<PropertyView *> rows = card.rows();
    ASSERT_EQ(rows.size(), 8);
    QStringList order;
    for (const PropertyView *r : rows)
        order.append(r->propertyIdentifier() + S(":") + r->label());
    EXPECT_EQ(order, (QStringList{S("Phone:mobile"), S("Phone:work"), S("Phone:home"),
                                  S("Email:work"), S("URLs:home page"), S("Address:work"),
                                  S("Address:home"), S("Note:Note")}));

    // Row tops, the body being y-down: each phone h + 2 below the last, then 5 more after
    // the group; addresses, the record's last first, are h + 5 high and h + 10 apart.
    const qreal width = card.bodyBox()->width();
    const qreal h = P::textHeight(P::PhoneProperty, S("555"), width);
    const qreal work = P::textHeight(P::AddressProperty, rows[5]->value(), width);
    const qreal home = P::textHeight(P::AddressProperty, rows[6]->value(), width);
    const QList<qreal> expectedTops{
        0,          h + 2,      2 * h + 4,         3 * h + 11,
        4 * h + 18, 5 * h + 25, 5 * h + 35 + work, 5 * h + 45 + work + home};
    for (int i = 0; i < rows.size(); ++i) {
        EXPECT_NEAR(rows[i]->y(), expectedTops[i], 1) << i;
        EXPECT_EQ(rows[i]->width(), card.bodyBox()->width()) << "rows span the body";
    }
    EXPECT_NEAR(rows[5]->height() - 2 * P::kHighlightRoom, work + 5, 1);
    EXPECT_EQ(rows[5]->info().toMap(), kAddress);
    EXPECT_GE(card.bodyBox()->minimumHeight(), rows.last()->geometry().bottom());
}

TEST(CardAddressText, KeepsItsSeparatorsAndTheCountryLine)
{
    EXPECT_EQ(PersonView::_stringFromAddressDictionary(kAddress),
              S("1 Main St\nSpringfield IL 62701\nUSA"));
    EXPECT_EQ(PersonView::_stringFromAddressDictionary({{S("City"), S("Bern")}}), S("\nBern  "));
    EXPECT_EQ(PersonView::_stringFromAddressDictionary({{S("ZIP"), S("3000")}}), S("\n  3000"));
}

TEST_F(CardViewTest, ALongNoteWrapsWithinItsRow)
{
    Person::Fields f;
    f.lastName = S("Lee");
    f.note =
        QStringList(60, S("word")).join(QLatin1Char(' ')) + S(" ") + QString(300, QLatin1Char('x'));
    card.setPerson(std::make_shared<const Person>(std::move(f)));
    ASSERT_EQ(card.rows().size(), 1);
    const PropertyView *note = card.rows().first();
    EXPECT_EQ(note->displayedValue(), note->value());
    EXPECT_GT(note->valueRect().height(), 4 * QFontMetricsF(note->font()).height());
    EXPECT_LE(note->valueRect().right(), note->width());
}

TEST_F(CardViewTest, HeaderLinesFollowThePersonOrCompanyLayout)
{
    card.setPerson(richPerson());
    EXPECT_EQ(card.headerLines(), (QStringList{S("Ann Lee"), S("Engineer"), S("Acme")}));

    Person::Fields company;
    company.organization = S("Acme");
    company.firstName = S("Bob");
    company.jobTitle = S("Buyer");
    company.flags = Person::ShowAsCompany;
    card.setPerson(std::make_shared<const Person>(company));
    EXPECT_EQ(card.headerLines(), (QStringList{S("Acme"), S("Bob "), S("Buyer")}));
    company.firstName.clear();
    company.jobTitle.clear();
    card.setPerson(std::make_shared<const Person>(company));
    EXPECT_EQ(card.headerLines(), QStringList{S("Acme")});
    card.setPerson(nullptr);
    EXPECT_TRUE(card.headerLines().isEmpty());
    EXPECT_TRUE(card.rows().isEmpty());
}

TEST_F(CardViewTest, HeaderColoursAreReadAtEachPaint)
{
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    card.setPerson(richPerson());
    for (const QColor &colour : {QColor(Qt::red), QColor(Qt::darkCyan)}) {
        UserDefaultsExtras::setColor(defaults, colour, DefCardHeaderBgColor);
        EXPECT_EQ(card.grab().toImage().pixelColor(200, 70), colour);
    }
    defaults.removeObjectForKey(DefCardHeaderBgColor);
}

TEST_F(CardViewTest, HeaderTextsLieWhereTheBandPutsThemInTheirColours)
{
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    UserDefaultsExtras::setColor(defaults, Qt::white, DefCardHeaderBgColor);
    UserDefaultsExtras::setColor(defaults, Qt::red, DefHeaderNameColor);
    UserDefaultsExtras::setColor(defaults, Qt::blue, DefHeaderCompanyColor);
    card.setPerson(richPerson());
    const QImage image = card.grab().toImage();
    for (const QString &key : {DefCardHeaderBgColor, DefHeaderNameColor, DefHeaderCompanyColor})
        defaults.removeObjectForKey(key);

    // y-up: the name 10 from the left, its top 8 below the card's top.
    const QRectF name = card.nameRect();
    EXPECT_NEAR(name.x(), 10, 0.5);
    EXPECT_NEAR(name.y() + name.height(), 325 - 8, 0.5);
    const auto colours = [&image](const QRect &area) {
        QSet<QRgb> seen;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                seen.insert(image.pixel(x, y));
        }
        return seen;
    };
    const QRect nameArea = FlippedGeometry::flipped(name, card.height()).toAlignedRect();
    const QSet<QRgb> inName = colours(nameArea);
    EXPECT_TRUE(inName.contains(QColor(Qt::red).rgb()));
    EXPECT_FALSE(inName.contains(QColor(Qt::blue).rgb()));
    // Below the name, the two smaller lines down to 8 above the band's bottom.
    const QSet<QRgb> below =
        colours(QRect(10, nameArea.bottom() + 1, 150, 80 - 8 - nameArea.bottom()));
    EXPECT_TRUE(below.contains(QColor(Qt::blue).rgb()));
    EXPECT_FALSE(below.contains(QColor(Qt::red).rgb()));
    EXPECT_EQ(image.pixelColor(5, 40), QColor(Qt::white)) << "the band left of the text";
}

TEST_F(CardViewTest, PhotoKeepsItsAspectWithinTheBandAndClearOfTheName)
{
    Person::Fields f;
    f.lastName = QString(200, QLatin1Char('W'));
    f.imageData = pngOfSize(100, 200);
    card.setPerson(std::make_shared<const Person>(f));
    // y-up: 4 from the card's right edge and from the band's top and bottom.
    EXPECT_EQ(card.photoRect(), QRectF(380 - 36 - 4, 325 - 80 + 4, 36, 72));
    card.grab();
    EXPECT_LE(card.nameRect().right(), card.photoRect().left());

    f.imageData = pngOfSize(800, 100);
    card.setPerson(std::make_shared<const Person>(f));
    EXPECT_EQ(card.photoRect().size(), QSizeF(72, 9)) << "a panorama must not cover the name";
    f.imageData = "not a picture";
    card.setPerson(std::make_shared<const Person>(f));
    EXPECT_TRUE(card.photoRect().isEmpty());
}

// A search shows the same person at every keystroke, and a photo can be megabytes to decode:
// it is read from the card once, when the person comes.
TEST_F(CardViewTest, APhotoIsReadOncePerPersonShown)
{
    TemporaryHome home;
    QFile file(home.path() + S("/ann.vcf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BEGIN:VCARD\nVERSION:3.0\nN:Lee;Ann\nPHOTO;ENCODING=b;TYPE=PNG:" +
               pngOfSize(100, 200).toBase64() + "\nEND:VCARD\n");
    file.close();
    const PersonPtr ann = VCardReader::readFile(file.fileName()).first();
    card.setPerson(ann);
    // Rewritten since: the photo can no longer be read from the file.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("BEGIN:VCARD\nVERSION:3.0\nN:Lee;Ann\nEND:VCARD\n\n");
    file.close();
    ASSERT_TRUE(ann->imageData().isEmpty());

    const auto photoDrawn = [this] {
        const QPoint centre =
            FlippedGeometry::flipped(card.photoRect(), card.height()).center().toPoint();
        return !card.photoRect().isEmpty() &&
               card.grab().toImage().pixelColor(centre) == QColor(Qt::darkGreen);
    };
    EXPECT_TRUE(photoDrawn()) << "the photo was read again to be drawn";
    card.setPerson(ann);
    EXPECT_TRUE(photoDrawn()) << "the photo was read again for the same person";
}

TEST_F(CardViewTest, TheNameIsALinkToTheCardInTheContactsProgram)
{
    TemporaryHome home;
    QFile file(home.path() + S("/ann.vcf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BEGIN:VCARD\nVERSION:3.0\nN:Lee;Ann\nEND:VCARD\n");
    file.close();
    const PersonPtr ann = VCardReader::readFile(file.fileName()).first();
    card.setPerson(ann);
    card.grab();
    const QPointF onName = centreInQt(card.nameRect(), &card);
    sendMouse(&card, QEvent::MouseMove, onName);
    EXPECT_TRUE(card.isNameHighlighted());
    sendMouse(&card, QEvent::MouseButtonPress, onName, Qt::LeftButton);
    sendMouse(&card, QEvent::MouseButtonRelease, onName, Qt::LeftButton);
    EXPECT_EQ(opened(), QStringList{S("openFile ") + file.fileName()});

    // Another person: the link is off until the pointer comes onto the new name.
    card.setPerson(ann);
    EXPECT_FALSE(card.isNameHighlighted());
    sendMouse(&card, QEvent::MouseButtonRelease, onName, Qt::LeftButton);
    EXPECT_EQ(opened().size(), 1);
}

TEST_F(CardViewTest, ScrollingClearsHighlightsAlsoOnACardOfAddressesOnly)
{
    Person::Fields f;
    f.lastName = S("Lee");
    for (int i = 0; i < 12; ++i)
        f.addresses.append(value("_$!<Home>!$_", kAddress, i));
    card.setPerson(std::make_shared<const Person>(f));
    card.show();
    QApplication::processEvents();
    QScrollBar *bar = card.scrollView()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "the body must scroll for this test";
    PropertyView *first = card.rows().first();
    first->setHighlighted(true);
    bar->setValue(bar->maximum());
    EXPECT_FALSE(first->isHighlighted());
}

// A desktop set to a large default font gets a card as much larger, fonts, band and columns
// alike, as soon as the font changes.
TEST_F(CardViewTest, ALargerDesktopFontGrowsTheCardInProportion)
{
    QFont large = QApplication::font();
    large.setPointSize(16);
    const qreal scale = QFontInfo(large).pixelSize() / CardText::kDesignFontPixels;
    // As large as the window makes it for that font, so that the columns have their room.
    card.resize(qRound(380 * scale), qRound(325 * scale));
    card.setPerson(richPerson());
    card.grab();
    const qreal designName = card.nameRect().height();
    const qreal designValue = card.rows().first()->valueRect().height();
    EXPECT_EQ(CardText::scale(), 1.0) << "the tests' 9-point font is the design's size or less";

    const QFont original = QApplication::font();
    QApplication::setFont(large);
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(CardText::scale(), scale);
    EXPECT_GT(scale, 1.5);
    card.grab();
    EXPECT_NEAR(card.topBoxHeight(), 80 * scale, 0.5);
    EXPECT_NEAR(card.scrollView()->y(), card.topBoxHeight(), 0.5);
    const PropertyView *phone = card.rows().first();
    EXPECT_NEAR(phone->valueRect().x(), 80 * scale, 0.5);
    EXPECT_NEAR(phone->labelRect().right(), 74 * scale, 0.5);
    // Name and values keep their sizes' ratio (16 to 12).
    EXPECT_NEAR(phone->valueRect().height() / designValue, scale, 0.2);
    EXPECT_NEAR(card.nameRect().height() / phone->valueRect().height(), designName / designValue,
                0.1);
    EXPECT_NEAR(card.rows().at(1)->y() - phone->y(), phone->valueRect().height() + 2 * scale, 1);
    QApplication::setFont(original);
    QApplication::processEvents();
}

TEST_F(CardViewTest, TheKeyboardWalksTheRowsAndActsOnTheChosenOne)
{
    card.setPerson(richPerson());
    const QList<PropertyView *> rows = card.rows();
    EXPECT_FALSE(card.openSelectedRow());
    ASSERT_TRUE(card.selectPreviousRow());
    EXPECT_EQ(card.selectedRow(), rows.last());
    card.selectNextRow();
    EXPECT_EQ(card.selectedRow(), rows.first()) << "the walk wraps around";
    for (const PropertyView *r : rows)
        EXPECT_EQ(r->isHighlighted(), r == rows.first());

    EXPECT_TRUE(card.openSelectedRow());
    EXPECT_TRUE(card.copySelectedRow());
    EXPECT_EQ(actions.calls, QStringList{S("large type: 555 0101")});
    EXPECT_EQ(QGuiApplication::clipboard()->text(), S("555 0101"));
    card.setPerson(nullptr);
    EXPECT_FALSE(card.selectNextRow());
}

TEST_F(CardViewTest, TheChosenRowIsDroppedWithItsLight)
{
    Person::Fields f;
    f.lastName = S("Lee");
    for (int i = 0; i < 40; ++i)
        f.phones.append(value("_$!<Home>!$_", QStringLiteral("555 01%1").arg(i), i));
    card.setPerson(std::make_shared<const Person>(f));
    card.show();
    QApplication::processEvents();
    QScrollBar *bar = card.scrollView()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "the body must scroll for this test";
    const struct
    {
        const char *how;
        std::function<void(PropertyView *)> lose;
    } cases[] = {
        {"the wheel scrolls", [bar](PropertyView *) { bar->setValue(bar->maximum()); }},
        {"the pointer passes over its label",
         [](PropertyView *chosen) {
             chosen->grab();
             sendMouse(chosen, QEvent::MouseMove, centreInQt(chosen->labelRect(), chosen));
             QEvent leave(QEvent::Leave);
             QApplication::sendEvent(chosen, &leave);
         }},
    };
    for (const auto &c : cases) {
        bar->setValue(0);
        ASSERT_TRUE(card.selectNextRow());
        PropertyView *chosen = card.selectedRow();
        ASSERT_NE(chosen, nullptr);
        c.lose(chosen);
        EXPECT_EQ(card.selectedRow() == chosen, chosen->isHighlighted())
            << c.how << ": the row acted on does not look chosen";
        actions.calls.clear();
        if (!chosen->isHighlighted()) {
            EXPECT_FALSE(card.openSelectedRow()) << c.how;
        }
        EXPECT_EQ(actions.calls, QStringList()) << c.how;
    }
}

} // namespace
