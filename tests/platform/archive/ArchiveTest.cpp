// SPDX-License-Identifier: MIT
#include "platform/archive/Archive.h"
#include "platform/archive/ObjectArchive.h"
#include "platform/core/PropertyList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

QByteArray everyKindOfValue()
{
    ArchiveWriter writer(QStringLiteral("Sample"), 7);
    writer.writeInt16(-2);
    writer.writeInt32(std::numeric_limits<qint32>::min());
    writer.writeInt64(std::numeric_limits<qint64>::max());
    writer.writeFloat(0.25f);
    writer.writeDouble(-1e300);
    writer.writeString(QStringLiteral("Zoë ⌘"));
    return writer.data();
}

// Reads the sample's values in order; false as soon as one is missing or of another type.
bool readsEveryKindOfValue(const QByteArray &data)
{
    ArchiveReader reader(data);
    return reader.isValid() && reader.className() == QLatin1String("Sample") &&
           reader.classVersion() == 7 && reader.readInt16() == qint16(-2) &&
           reader.readInt32() == std::numeric_limits<qint32>::min() &&
           reader.readInt64() == std::numeric_limits<qint64>::max() &&
           reader.readFloat() == 0.25f && reader.readDouble() == -1e300 &&
           reader.readString() == QStringLiteral("Zoë ⌘") && reader.finish();
}

} // namespace

TEST(Archive, EveryValueComesBackInOrderWithItsClass)
{
    EXPECT_TRUE(readsEveryKindOfValue(everyKindOfValue()));
    EXPECT_EQ(ArchiveReader::classNameOf(everyKindOfValue()), QLatin1String("Sample"));
}

TEST(Archive, StrictReaderRefusesWhatItDidNotWrite)
{
    const QByteArray data = everyKindOfValue();
    // Every truncation, including the one that only drops the end mark.
    for (qsizetype length = 0; length < data.size(); ++length)
        EXPECT_FALSE(readsEveryKindOfValue(data.left(length))) << "length " << length;
    EXPECT_FALSE(readsEveryKindOfValue(data + QByteArray("s\0\1", 3)));

    // A value read as another type fails and stays failed.
    ArchiveReader reader(data);
    EXPECT_FALSE(reader.readInt32().has_value());
    EXPECT_FALSE(reader.readInt16().has_value());
    EXPECT_FALSE(reader.isValid());

    // An archive with fewer values than the reader expects.
    ArchiveWriter shortWriter(QStringLiteral("Sample"), 7);
    shortWriter.writeInt16(-2);
    ArchiveReader shortReader(shortWriter.data());
    EXPECT_TRUE(shortReader.readInt16().has_value());
    EXPECT_FALSE(shortReader.readInt32().has_value());

    // Foreign data: a property list, text, nothing.
    EXPECT_FALSE(ArchiveReader(PropertyList::toXml(QVariantMap{})).isValid());
    EXPECT_FALSE(ArchiveReader(QByteArray("typedstream")).isValid());
    EXPECT_FALSE(ArchiveReader(QByteArray()).isValid());
    EXPECT_TRUE(ArchiveReader::classNameOf(QByteArray("BRKA")).isEmpty());
}

TEST(Archive, StringLengthsAndTextAreChecked)
{
    ArchiveWriter writer(QStringLiteral("S"), 0);
    writer.writeString(QStringLiteral("abc"));
    QByteArray data = writer.data();
    const qsizetype lengthAt = data.indexOf("abc") - 4;

    QByteArray huge = data;
    huge[lengthAt] = '\x7f'; // a length far beyond the data
    ArchiveReader hugeReader(huge);
    EXPECT_FALSE(hugeReader.readString().has_value());

    QByteArray badText = data;
    badText[lengthAt + 4] = '\xff'; // not UTF-8
    ArchiveReader badTextReader(badText);
    EXPECT_FALSE(badTextReader.readString().has_value());
}

TEST(ColorArchive, KeepsSpaceComponentsAndAlpha)
{
    const QColor slate = QColor::fromRgbF(0.2f, 0.3f, 0.5f, 0.75f);
    const QColor back = ObjectArchive::unarchiveColor(ObjectArchive::archivedColor(slate));
    ASSERT_TRUE(back.isValid());
    EXPECT_NEAR(back.redF(), 0.2, 1e-4);
    EXPECT_NEAR(back.greenF(), 0.3, 1e-4);
    EXPECT_NEAR(back.blueF(), 0.5, 1e-4);
    EXPECT_NEAR(back.alphaF(), 0.75, 1e-4);

    // A grey is kept as calibrated white: one component, then alpha.
    const QByteArray grey = ObjectArchive::archivedColor(QColor::fromRgbF(0.5f, 0.5f, 0.5f, 0.25f));
    ArchiveReader reader(grey);
    EXPECT_EQ(reader.className(), ObjectArchive::ColorClassName);
    EXPECT_EQ(reader.readInt16(), qint16(0));
    EXPECT_NEAR(reader.readFloat().value_or(-1), 0.5, 1e-4);
    EXPECT_NEAR(reader.readFloat().value_or(-1), 0.25, 1e-4);
    EXPECT_TRUE(reader.finish());
    const QColor greyBack = ObjectArchive::unarchiveColor(grey);
    EXPECT_NEAR(greyBack.blueF(), 0.5, 1e-4);
    EXPECT_NEAR(greyBack.alphaF(), 0.25, 1e-4);

    // Nearly grey: equal at 8 bits, not at the colour's 16. Stored as grey it came back changed.
    const QColor nearlyGrey = QColor::fromRgba64(13107, 13108, 13107, 39321);
    EXPECT_EQ(ObjectArchive::unarchiveColor(ObjectArchive::archivedColor(nearlyGrey)), nearlyGrey);

    EXPECT_TRUE(ObjectArchive::archivedColor(QColor()).isEmpty());
}

TEST(ColorArchive, RefusesOtherClassesAndImpossibleComponents)
{
    const auto archive = [](qint16 space, std::initializer_list<float> components) {
        ArchiveWriter writer(ObjectArchive::ColorClassName, 0);
        writer.writeInt16(space);
        for (float c : components)
            writer.writeFloat(c);
        return writer.data();
    };
    EXPECT_TRUE(ObjectArchive::unarchiveColor(archive(1, {0.1f, 0.2f, 0.3f, 1.0f})).isValid());
    EXPECT_FALSE(ObjectArchive::unarchiveColor(archive(1, {0.1f, 2.0f, 0.3f, 1.0f})).isValid());
    EXPECT_FALSE(ObjectArchive::unarchiveColor(archive(1, {NAN, 0.2f, 0.3f, 1.0f})).isValid());
    EXPECT_FALSE(ObjectArchive::unarchiveColor(archive(0, {0.1f, 0.2f, 0.3f, 1.0f})).isValid());
    EXPECT_FALSE(ObjectArchive::unarchiveColor(archive(5, {0.1f, 1.0f})).isValid());
    ArchiveWriter font(ObjectArchive::FontClassName, 0);
    font.writeInt16(1);
    font.writeFloat(0.5f);
    font.writeFloat(1.0f);
    EXPECT_FALSE(ObjectArchive::unarchiveColor(font.data()).isValid());
}

TEST(FontArchive, KeepsFamilySizeWeightAndSlant)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(13.5);
    font.setWeight(QFont::Bold);
    font.setItalic(true);
    const std::optional<QFont> back =
        ObjectArchive::unarchiveFont(ObjectArchive::archivedFont(font));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->family(), QStringLiteral("DejaVu Sans"));
    EXPECT_DOUBLE_EQ(back->pointSizeF(), 13.5);
    EXPECT_EQ(back->weight(), QFont::Bold);
    EXPECT_TRUE(back->italic());

    // A family is one name, commas and all; read as a list of families it came back as "".
    QFont comma;
    comma.setFamilies({QStringLiteral(",DejaVu Sans")});
    const std::optional<QFont> commaBack =
        ObjectArchive::unarchiveFont(ObjectArchive::archivedFont(comma));
    ASSERT_TRUE(commaBack.has_value());
    EXPECT_EQ(commaBack->family(), QStringLiteral(",DejaVu Sans"));

    QFont pixels;
    pixels.setPixelSize(16);
    const std::optional<QFont> fromPixels =
        ObjectArchive::unarchiveFont(ObjectArchive::archivedFont(pixels));
    ASSERT_TRUE(fromPixels.has_value());
    EXPECT_DOUBLE_EQ(fromPixels->pointSizeF(), 12.0);

    EXPECT_FALSE(ObjectArchive::unarchiveFont(ObjectArchive::archivedColor(Qt::red)).has_value());
}

// Thousands of random and mutated inputs through every object reader: none may crash, and
// whatever is accepted must be a sound object.
TEST(ArchiveFuzz, RandomAndMutatedInputsNeverYieldUnsoundObjects)
{
    std::mt19937 random(20240229);
    const QByteArray seeds[] = {
        everyKindOfValue(),
        ObjectArchive::archivedColor(QColor::fromRgbF(0.2f, 0.3f, 0.5f, 0.75f)),
        ObjectArchive::archivedColor(Qt::white),
        ObjectArchive::archivedFont(QFont(QStringLiteral("DejaVu Sans"), 11)),
    };
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        QByteArray input;
        if (round % 4 == 0) {
            input.resize(random() % 64);
            for (char &byte : input)
                byte = static_cast<char>(random());
        } else {
            input = seeds[random() % std::size(seeds)];
            const int mutations = 1 + static_cast<int>(random() % 4);
            for (int m = 0; m < mutations && !input.isEmpty(); ++m) {
                const qsizetype at = static_cast<qsizetype>(random() % input.size());
                switch (random() % 4) {
                case 0:
                    input[at] = static_cast<char>(random());
                    break;
                case 1:
                    input.truncate(at);
                    break;
                case 2:
                    input.insert(at, static_cast<char>(random()));
                    break;
                default:
                    input.remove(at, 1);
                    break;
                }
            }
        }
        const QColor color = ObjectArchive::unarchiveColor(input);
        if (color.isValid()) {
            ++accepted;
            EXPECT_GE(color.alphaF(), 0.0);
            EXPECT_LE(color.alphaF(), 1.0);
        }
        if (const std::optional<QFont> font = ObjectArchive::unarchiveFont(input)) {
            ++accepted;
            EXPECT_GT(font->pointSizeF(), 0.0);
        }
        readsEveryKindOfValue(input);
    }
    // Single-byte changes inside component values stay readable; the fuzzer must reach them.
    EXPECT_GT(accepted, 0);
}
