// SPDX-License-Identifier: MIT
#include "app/controller/MatchesTableModel.h"
#include "app/controller/MatchRowDelegate.h"

#include <QFontMetricsF>
#include <QListView>
#include <QVariantMap>

#include <gtest/gtest.h>

namespace {

using Range = MatchesTableModel::Range;

/// `text` with every range bracketed: "mobile +44 [7700] 900123".
QString marked(const QString &text, const QList<Range> &ranges)
{
    QString out = text;
    for (qsizetype i = ranges.size() - 1; i >= 0; --i) {
        out.insert(ranges[i].start + ranges[i].length, QLatin1Char(']'));
        out.insert(ranges[i].start, QLatin1Char('['));
    }
    return out;
}

LabeledValue labeled(const char *label, const QVariant &value)
{
    return {QString::fromUtf8(label), value, {}};
}

PersonPtr danBrown()
{
    Person::Fields f;
    f.uniqueId = QStringLiteral("dan");
    f.firstName = QStringLiteral("Dan");
    f.lastName = QStringLiteral("Brown");
    f.nickname = QStringLiteral("Danny");
    f.jobTitle = QStringLiteral("Ferry Pilot");
    f.organization = QStringLiteral("Harbour Lights");
    f.note = QStringLiteral("Prefers calls after noon.\nKowalski's neighbour");
    f.phones = {labeled("_$!<Mobile>!$_", QStringLiteral("+44 7700 900123")),
                labeled("Boat", QStringLiteral("+1 555 0101"))};
    f.emails = {labeled("_$!<Work>!$_", QStringLiteral("dan@brown.example")),
                labeled("", QStringLiteral("skipper@ferry.example"))};
    f.urls = {labeled("_$!<HomePage>!$_", QStringLiteral("https://dan.example"))};
    f.addresses = {
        labeled("_$!<Home>!$_",
                QVariantMap{{QStringLiteral("Street"), QStringLiteral("12 Baker Street")},
                            {QStringLiteral("City"), QStringLiteral("London")},
                            {QStringLiteral("ZIP"), QStringLiteral("NW1 6XE")},
                            {QStringLiteral("Country"), QStringLiteral("United Kingdom")}})};
    return std::make_shared<const Person>(f);
}

PersonPtr nordlicht()
{
    Person::Fields f;
    f.uniqueId = QStringLiteral("nordlicht");
    f.firstName = QStringLiteral("Ingrid");
    f.lastName = QStringLiteral("Hansen");
    f.organization = QStringLiteral("Nordlicht GmbH");
    f.flags = Person::ShowAsCompany;
    return std::make_shared<const Person>(f);
}

PersonPtr jorg()
{
    Person::Fields f;
    f.uniqueId = QStringLiteral("jorg");
    f.firstName = QStringLiteral("Jörg");
    f.lastName = QStringLiteral("Straße");
    return std::make_shared<const Person>(f);
}

PersonPtr nameless()
{
    Person::Fields f;
    f.uniqueId = QStringLiteral("nameless");
    f.note = QStringLiteral("met at the expo");
    return std::make_shared<const Person>(f);
}

struct Shown
{
    std::string name;
    std::string detail;
};

Shown shown(const PersonPtr &person, const char *pattern, SearchFolding::Options options = {})
{
    MatchesTableModel model;
    model.reloadData({person}, QString::fromUtf8(pattern), options);
    const MatchesTableModel::Row row = model.rowAt(0);
    EXPECT_EQ(model.rowHasDetail(0), !row.detail.isEmpty()) << pattern;
    EXPECT_EQ(model.index(0).data(Qt::AccessibleDescriptionRole).toString(), row.detail);
    return {marked(row.name, row.nameEmphasis).toStdString(),
            marked(row.detail, row.detailEmphasis).toStdString()};
}

} // namespace

TEST(MatchesTableModelTest, TheSecondLineTellsWhatMatchedOtherThanTheName)
{
    const SearchFolding::Options digits{false, true};
    const SearchFolding::Options accents{true, false};
    const struct
    {
        PersonPtr person;
        const char *pattern;
        SearchFolding::Options options;
        const char *name;
        const char *detail;
    } cases[] = {
        {danBrown(), "dan", {}, "[Dan] Brown", ""},
        {danBrown(), "an BRO", {}, "D[an] [Bro]wn", ""},
        {danBrown(),
         "dan kowal",
         {},
         "[Dan] Brown",
         "note: Prefers calls after noon. [Kowal]ski's neighbour"},
        {danBrown(), "7700", {}, "Dan Brown", "mobile +44 [7700] 900123"},
        // By its digits the word may run over the number's blanks.
        {danBrown(), "7700900", digits, "Dan Brown", "mobile +44 [7700 900]123"},
        {danBrown(), "(555)0101", digits, "Dan Brown", "Boat +1 [555 0101]"},
        {danBrown(),
         "baker",
         {},
         "Dan Brown",
         "home 12 [Baker] Street, London NW1 6XE, United Kingdom"},
        {danBrown(),
         "kingdom lon",
         {},
         "Dan Brown",
         "home 12 Baker Street, [Lon]don NW1 6XE, United [Kingdom]"},
        {danBrown(), "brown.ex", {}, "Dan Brown", "work dan@[brown.ex]ample"},
        {danBrown(), "skipper", {}, "Dan Brown", "e-mail [skipper]@ferry.example"},
        {danBrown(), "danny", {}, "Dan Brown", "nickname: [Danny]"},
        {danBrown(), "pilot", {}, "Dan Brown", "job title: Ferry [Pilot]"},
        {danBrown(), "harbour", {}, "Dan Brown", "company: [Harbour] Lights"},
        {danBrown(), "dan.example", {}, "Dan Brown", "home page https://[dan.example]"},
        // The first word the name lacks decides; every word is marked in that value.
        {danBrown(),
         "brown noon calls",
         {},
         "Dan [Brown]",
         "note: Prefers [calls] after [noon]. Kowalski's neighbour"},
        // A company shows its name; its person's name is news.
        {nordlicht(), "ingrid", {}, "Nordlicht GmbH", "name: [Ingrid] Hansen"},
        {nordlicht(), "nord", {}, "[Nord]licht GmbH", ""},
        {jorg(), "strasse", accents, "Jörg [Straße]", ""},
        {jorg(), "jorg", accents, "[Jörg] Straße", ""},
        {jorg(), "ße", {}, "Jörg Stra[ße]", ""},
        // "No Name" is no name of the person's: nothing in it is marked.
        {nameless(), "expo na", {}, "No Name", "note: met at the [expo]"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pattern);
        const Shown row = shown(c.person, c.pattern, c.options);
        EXPECT_EQ(row.name, c.name);
        EXPECT_EQ(row.detail, c.detail);
    }
}

TEST(MatchesTableModelTest, ALongValueIsCutAroundWhatMatched)
{
    Person::Fields f;
    f.firstName = QStringLiteral("Ann");
    f.note = QString(200, u'x') + QStringLiteral(" needle ") + QString(200, u'y');
    const PersonPtr person = std::make_shared<const Person>(f);
    MatchesTableModel model;
    model.reloadData({person}, QStringLiteral("needle"));
    const MatchesTableModel::Row row = model.rowAt(0);
    ASSERT_EQ(row.detailEmphasis.size(), 1);
    EXPECT_EQ(row.detail.mid(row.detailEmphasis[0].start, row.detailEmphasis[0].length),
              QStringLiteral("needle"));
    EXPECT_TRUE(row.detail.startsWith(QStringLiteral("note: …")));
    EXPECT_TRUE(row.detail.endsWith(QStringLiteral("…")));
    EXPECT_LE(row.detail.size(), 6 + 2 + MatchExplanation::kMaxDetailCharacters);
    EXPECT_EQ(row.detailEmphasis[0].start,
              row.detailValueStart + 1 + MatchExplanation::kContextBefore);
}

TEST(MatchesTableModelTest, ARowWithASecondLineIsTallerAndCutLinesKeepWhatMatched)
{
    Person::Fields ingrid;
    ingrid.firstName = QStringLiteral("Ingrid");
    ingrid.lastName = QStringLiteral("Berg");
    MatchesTableModel model;
    model.reloadData({std::make_shared<const Person>(ingrid), nordlicht()},
                     QStringLiteral("ingrid"));
    QListView view;
    view.setUniformItemSizes(false);
    view.setModel(&model);
    MatchRowDelegate delegate;
    view.setItemDelegate(&delegate);
    QStyleOptionViewItem option;
    option.initFrom(&view);
    const int oneLine = delegate.sizeHint(option, model.index(0)).height();
    const int twoLines = delegate.sizeHint(option, model.index(1)).height();
    EXPECT_GE(twoLines - oneLine, QFontMetrics(MatchRowDelegate::detailFont(option.font)).height());

    // Too narrow for the whole line: the label stays, the value is shown from near the match.
    const QString line = QStringLiteral("note: ") + QString(80, u'x') + QStringLiteral("needle");
    QList<Range> emphasis{{line.size() - 6, 6}};
    const QFont font = MatchRowDelegate::detailFont(option.font);
    QFont bold = font;
    bold.setBold(true);
    const qreal width = QFontMetricsF(font).horizontalAdvance(QStringLiteral("note: …xxxxxxW")) +
                        QFontMetricsF(bold).horizontalAdvance(QStringLiteral("needle"));
    const QString fitted = MatchRowDelegate::fittedDetail(line, 6, &emphasis, font, width);
    EXPECT_TRUE(fitted.startsWith(QStringLiteral("note: …x"))) << fitted.toStdString();
    ASSERT_EQ(emphasis.size(), 1);
    EXPECT_EQ(fitted.mid(emphasis[0].start, emphasis[0].length), QStringLiteral("needle"));
}
