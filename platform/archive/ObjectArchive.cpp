// SPDX-License-Identifier: MIT
#include "platform/archive/ObjectArchive.h"

#include "platform/archive/Archive.h"

#include <cmath>

namespace ObjectArchive {
namespace {

// Colour spaces as the archive names them.
constexpr qint16 kCalibratedWhite = 0;
constexpr qint16 kCalibratedRgb = 1;

bool isUnitComponent(float value)
{
    return std::isfinite(value) && value >= 0.0f && value <= 1.0f;
}

} // namespace

QByteArray archivedColor(const QColor &color)
{
    if (!color.isValid())
        return {};
    const QColor rgb = color.toRgb();
    ArchiveWriter writer(ColorClassName, 0);
    // Compared at the colour's own 16 bits: at 8 bits a colour that is nearly grey was stored
    // as grey and read back as another colour.
    const QRgba64 precise = rgb.rgba64();
    if (precise.red() == precise.green() && precise.green() == precise.blue()) {
        writer.writeInt16(kCalibratedWhite);
        writer.writeFloat(static_cast<float>(rgb.redF()));
    } else {
        writer.writeInt16(kCalibratedRgb);
        writer.writeFloat(static_cast<float>(rgb.redF()));
        writer.writeFloat(static_cast<float>(rgb.greenF()));
        writer.writeFloat(static_cast<float>(rgb.blueF()));
    }
    writer.writeFloat(static_cast<float>(rgb.alphaF()));
    return writer.data();
}

QColor unarchiveColor(const QByteArray &data)
{
    ArchiveReader reader(data);
    if (!reader.isValid() || reader.className() != ColorClassName || reader.classVersion() != 0)
        return {};
    const std::optional<qint16> space = reader.readInt16();
    if (!space)
        return {};
    float components[4] = {0, 0, 0, 0};
    int count = 0;
    if (*space == kCalibratedWhite)
        count = 1;
    else if (*space == kCalibratedRgb)
        count = 3;
    else
        return {};
    for (int i = 0; i < count; ++i) {
        const std::optional<float> value = reader.readFloat();
        if (!value || !isUnitComponent(*value))
            return {};
        components[i] = *value;
    }
    const std::optional<float> alpha = reader.readFloat();
    if (!alpha || !isUnitComponent(*alpha) || !reader.finish())
        return {};
    if (count == 1)
        return QColor::fromRgbF(components[0], components[0], components[0], *alpha);
    return QColor::fromRgbF(components[0], components[1], components[2], *alpha);
}

QByteArray archivedFont(const QFont &font)
{
    ArchiveWriter writer(FontClassName, 0);
    writer.writeString(font.family());
    // A font sized in pixels has no point size; at 96 dots per inch a pixel is 0.75 points.
    const double pointSize = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
    writer.writeDouble(pointSize > 0 ? pointSize : 12.0);
    writer.writeInt32(font.weight());
    writer.writeInt16(font.italic() ? 1 : 0);
    return writer.data();
}

std::optional<QFont> unarchiveFont(const QByteArray &data)
{
    ArchiveReader reader(data);
    if (!reader.isValid() || reader.className() != FontClassName || reader.classVersion() != 0)
        return std::nullopt;
    const std::optional<QString> family = reader.readString();
    const std::optional<double> pointSize = reader.readDouble();
    const std::optional<qint32> weight = reader.readInt32();
    const std::optional<qint16> italic = reader.readInt16();
    if (!italic || !reader.finish())
        return std::nullopt;
    // QFont asserts on sizes and weights outside its range; such archives are not ours.
    if (!std::isfinite(*pointSize) || *pointSize <= 0 || *pointSize > 10000 || *weight < 1 ||
        *weight > 1000 || (*italic != 0 && *italic != 1))
        return std::nullopt;
    // One family, commas and all: QFont(QString) would split the name into several.
    QFont font;
    font.setFamilies({*family});
    font.setPointSizeF(*pointSize);
    font.setWeight(static_cast<QFont::Weight>(*weight));
    font.setItalic(*italic == 1);
    return font;
}

} // namespace ObjectArchive
