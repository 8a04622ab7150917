// SPDX-License-Identifier: MIT
// Every text colour of the search window, the card, the advert lines and large type against
// what it is drawn on, as the widgets take them from the theme and the factory settings, on
// light and dark themes: never below the contrast AA asks of body text.
#include "app/card/MyTableView.h"
#include "app/card/PersonView.h"
#include "app/chrome/WindowAppearance.h"
#include "app/controller/SearchField.h"
#include "app/controller/SearchPanel.h"
#include "app/settings/UserDefaultsExtras.h"
#include "common/SettingsKeys.h"
#include "common/utility/AdvertTextView.h"
#include "common/utility/Contrast.h"
#include "platform/core/Bundle.h"
#include "platform/settings/UserDefaults.h"
#include "tests/support/TemporaryHome.h"

#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <QStyleFactory>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <iostream>
#include <memory>

namespace {

QPalette themed(std::initializer_list<std::pair<QPalette::ColorRole, QRgb>> colors)
{
    QPalette palette;
    for (const auto &[role, rgb] : colors)
        palette.setColor(role, QColor(rgb));
    return palette;
}

struct Theme
{
    const char *name;
    QPalette palette;
};

QList<Theme> themes()
{
    using R = QPalette::ColorRole;
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    return {
        {"Fusion light", fusion->standardPalette()},
        // Fusion as dark desktops configure it.
        {"Fusion dark", themed({{R::Window, 0x353535},
                                {R::WindowText, 0xffffff},
                                {R::Base, 0x2a2a2a},
                                {R::AlternateBase, 0x424242},
                                {R::Text, 0xffffff},
                                {R::Button, 0x353535},
                                {R::ButtonText, 0xffffff},
                                {R::Mid, 0x5a5a5a},
                                {R::Link, 0x2a82da},
                                {R::Highlight, 0x2a82da},
                                {R::HighlightedText, 0xffffff}})},
        // KDE's Breeze and Breeze Dark colour schemes.
        {"Breeze light", themed({{R::Window, 0xeff0f1},
                                 {R::WindowText, 0x232629},
                                 {R::Base, 0xfcfcfc},
                                 {R::AlternateBase, 0xeff0f1},
                                 {R::Text, 0x232629},
                                 {R::Button, 0xeff0f1},
                                 {R::ButtonText, 0x232629},
                                 {R::Mid, 0xbabcbe},
                                 {R::Link, 0x2980b9},
                                 {R::Highlight, 0x3daee9},
                                 {R::HighlightedText, 0xfcfcfc}})},
        {"Breeze dark", themed({{R::Window, 0x31363b},
                                {R::WindowText, 0xeff0f1},
                                {R::Base, 0x232629},
                                {R::AlternateBase, 0x31363b},
                                {R::Text, 0xeff0f1},
                                {R::Button, 0x31363b},
                                {R::ButtonText, 0xeff0f1},
                                {R::Mid, 0x4f5458},
                                {R::Link, 0x1d99f3},
                                {R::Highlight, 0x3daee9},
                                {R::HighlightedText, 0xeff0f1}})},
    };
}

struct Pair
{
    QString what;
    QColor text;
    QColor background;
};

/// The colours of each piece of the line as it is drawn.
QList<std::pair<QString, QColor>> advertColors(const AdvertTextView &advert)
{
    QList<std::pair<QString, QColor>> colors;
    for (QTextBlock block = advert.document()->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            colors.append({fragment.fragment().text(),
                           fragment.fragment().charFormat().foreground().color()});
    }
    return colors;
}

/// The live widgets whose text colours are read: made, shown and written under the theme the
/// run starts with, as at launch, so each later theme reaches them as a desktop's switch does.
struct Widgets
{
    Widgets()
    {
        Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
        registered = UserDefaultsExtras::registerDefaultsWithResource(
            UserDefaults::standardUserDefaults(), QStringLiteral("FactoryDefaults"));
        panel.resize(550, 413);
        panel.show();
        panel.advertView()->setProductId(0);
        paneAdvert.resize(500, 20);
        paneAdvert.show();
        paneAdvert.setProductId(20);
        QApplication::processEvents();
    }

    TemporaryHome home;
    bool registered = false;
    SearchPanel panel;
    // The pane's line, on the pane's window colour.
    AdvertTextView paneAdvert;
};

/// What the search window, the card, the pane's advert line and large type draw text in, read
/// from the widgets once `palette` has reached them.
QList<Pair> textColors(Widgets &widgets, const QPalette &palette)
{
    QApplication::setPalette(palette);
    // The widgets hear of the new palette through posted events.
    QApplication::processEvents();
    const SearchPanel &panel = widgets.panel;
    const QPalette field = panel.searchField()->palette();
    const QPalette status = panel.matchesLabel()->palette();
    const QPalette list = panel.matchesTable()->palette();
    const WindowAppearance::CardColors card =
        WindowAppearance::cardColors(panel.personView()->palette());
    const QColor window = WindowAppearance::searchWindowBackgroundColor(palette);
    const UserDefaults &defaults = UserDefaults::standardUserDefaults();
    const auto stored = [&](const QString &key) {
        return UserDefaultsExtras::colorForKey(defaults, key);
    };
    const QColor largeType = stored(DefLargeTypeBgColor);
    QList<Pair> pairs;
    // The windows let the desktop show through: the worst of black and white behind.
    for (const QColor &behind : {QColor(Qt::black), QColor(Qt::white)}) {
        const QColor shown = Contrast::mixed(behind, QColor(window.rgb()), window.alphaF());
        pairs += {{QStringLiteral("status line"), status.color(QPalette::WindowText), shown},
                  {QStringLiteral("match"), list.color(QPalette::Text), shown},
                  {QStringLiteral("value"), card.value, shown},
                  {QStringLiteral("web value"), card.link, shown},
                  {QStringLiteral("label"), card.label, shown}};
        for (const auto &[text, color] : advertColors(*panel.advertView()))
            pairs += {QStringLiteral("advert \"%1\"").arg(text), color, shown};
        pairs += {QStringLiteral("large type"), stored(DefLargeTypeFgColor),
                  Contrast::mixed(behind, QColor(largeType.rgb()), largeType.alphaF())};
    }
    for (const auto &[text, color] : advertColors(widgets.paneAdvert))
        pairs += {QStringLiteral("pane advert \"%1\"").arg(text), color,
                  widgets.paneAdvert.palette().color(QPalette::Window)};
    const QColor header = stored(DefCardHeaderBgColor);
    const QColor name = stored(DefHeaderNameColor);
    pairs +=
        {{QStringLiteral("field"), field.color(QPalette::Text), field.color(QPalette::Base)},
         {QStringLiteral("selected field text"), field.color(QPalette::HighlightedText),
          field.color(QPalette::Highlight)},
         {QStringLiteral("chosen match"), list.color(QPalette::HighlightedText),
          list.color(QPalette::Highlight)},
         {QStringLiteral("chosen value"), card.highlightedValue, card.highlightedValueBackground},
         {QStringLiteral("chosen label"), card.highlightedLabel, card.highlightedLabelBackground},
         {QStringLiteral("header name"), name, header},
         {QStringLiteral("header company line"), stored(DefHeaderCompanyColor), header},
         {QStringLiteral("hovered header name"), name, PersonView::nameHighlightColor(name)}};
    return pairs;
}

TEST(ThemeContrast, EveryTextReadsOnLightAndDarkThemes)
{
    const QPalette original = QApplication::palette();
    Widgets widgets;
    ASSERT_TRUE(widgets.registered) << "no factory settings in " BRISKO_APP_BUNDLE_PATH;
    for (const Theme &theme : themes()) {
        double lowest = 21;
        QString lowestWhat;
        const QList<Pair> pairs = textColors(widgets, theme.palette);
        EXPECT_TRUE(std::any_of(pairs.begin(), pairs.end(), [](const Pair &pair) {
            return pair.what.startsWith(QLatin1String("pane advert"));
        })) << "the pane's advert line is empty";
        for (const Pair &pair : pairs) {
            ASSERT_TRUE(pair.text.isValid() && pair.background.isValid())
                << theme.name << ": " << pair.what.toStdString() << " has no colour";
            const double ratio = Contrast::ratio(pair.text, pair.background);
            EXPECT_GE(ratio, Contrast::kText)
                << theme.name << ": " << pair.what.toStdString() << ' '
                << pair.text.name().toStdString() << " on " << pair.background.name().toStdString();
            if (ratio < lowest) {
                lowest = ratio;
                lowestWhat = pair.what;
            }
        }
        std::cout << theme.name << ": lowest contrast " << lowest << ":1 ("
                  << lowestWhat.toStdString() << ")\n";
    }
    QApplication::setPalette(original);
}

TEST(ThemeContrast, ADarkThemeGivesADarkWindowAndCard)
{
    const QPalette original = QApplication::palette();
    const QPalette dark = themes().at(1).palette;
    EXPECT_LT(Contrast::luminance(WindowAppearance::searchWindowBackgroundColor(dark)), 0.05);
    EXPECT_LT(Contrast::luminance(WindowAppearance::cardColors(dark).background), 0.05);
    EXPECT_GT(Contrast::luminance(WindowAppearance::cardColors(dark).value), 0.8);
    QApplication::setPalette(original);
}

TEST(ThemeContrast, ReadableMovesAColourOnlyAsFarAsNeeded)
{
    // Already readable: kept.
    EXPECT_EQ(Contrast::readable(Qt::black, Qt::white), QColor(Qt::black));
    // Fusion's selection: the blue darkens until white reads on it, no further.
    const QColor blue = Contrast::readable(QColor(0x308cc6), Qt::white);
    EXPECT_GE(Contrast::ratio(blue, Qt::white), Contrast::kText);
    EXPECT_LT(Contrast::ratio(blue, Qt::white), Contrast::kText + 0.5);
    EXPECT_DOUBLE_EQ(Contrast::ratio(Qt::black, Qt::white), 21.0);
}

} // namespace
