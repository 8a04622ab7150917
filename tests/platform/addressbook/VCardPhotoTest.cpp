// SPDX-License-Identifier: MIT
#include "platform/addressbook/VCardPhoto.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

using VCardReader::PhotoLinks;

TEST(VCardPhoto, InlineImagesAreDecodedAndOnlyAStoresFileLinksAreFollowed)
{
    const QByteArray png("\x89PNG\r\n\x1a\n");
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("photo.png"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(png);
    file.close();
    const QByteArray fileLink = "PHOTO;VALUE=uri:" + QUrl::fromLocalFile(path).toEncoded();
    struct Case
    {
        QByteArray line;
        PhotoLinks links;
        QByteArray image; // empty: none
    };
    const Case cases[] = {
        {"PHOTO;ENCODING=b;TYPE=PNG:iVBORw0KGgo=", PhotoLinks::Ignored, png},
        {"PHOTO;VALUE=uri:data:image/png;base64,iVBORw0KGgo=", PhotoLinks::Ignored, png},
        {"LOGO:data:image/png,%89PNG%0D%0A%1A%0A", PhotoLinks::Ignored, png},
        {"PHOTO;VALUE=uri:data:image/png;base64", PhotoLinks::Ignored, {}},
        {fileLink, PhotoLinks::LocalFiles, png},
        {fileLink, PhotoLinks::Ignored, {}},
        {"PHOTO;VALUE=uri:https://example.com/p.png", PhotoLinks::LocalFiles, {}},
        {"PHOTO:", PhotoLinks::Ignored, {}},
    };
    for (const Case &c : cases) {
        const std::optional<VCardProperty> p = VCardProperty::parse(c.line);
        ASSERT_TRUE(p) << c.line.constData();
        EXPECT_EQ(VCardPhoto::decodeImage(*p, c.links), c.image) << c.line.constData();
        EXPECT_EQ(VCardPhoto::mayHoldImage(*p, c.links), !c.image.isEmpty()) << c.line.constData();
    }
}
