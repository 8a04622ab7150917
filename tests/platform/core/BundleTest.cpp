// SPDX-License-Identifier: MIT
#include "platform/core/Bundle.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(Bundle, BuildTreeHoldsBothBundles)
{
    const Bundle app(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
    ASSERT_TRUE(app.isValid());
    EXPECT_EQ(app.bundleIdentifier(), QStringLiteral("com.ambertide.Brisko"));
    EXPECT_TRUE(app.executablePath().endsWith(QLatin1String("/Contents/Linux/Brisko")));
    EXPECT_EQ(app.infoDictionary().value(QStringLiteral("LSUIElement")).toInt(), 1);

    const Bundle pane(QStringLiteral(BRISKO_PANE_BUNDLE_PATH));
    ASSERT_TRUE(pane.isValid());
    EXPECT_EQ(pane.bundleIdentifier(), QStringLiteral("com.ambertide.BriskoPane"));
    // The application travels inside the pane.
    EXPECT_EQ(Bundle(pane.pathForResource(QStringLiteral("Brisko"), QStringLiteral("app")))
                  .bundleIdentifier(),
              QStringLiteral("com.ambertide.Brisko"));
}

TEST(Bundle, ResourcesAreFoundByNameAndType)
{
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("Test.app"));
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/Contents/Resources")));
    QFile info(root + QStringLiteral("/Contents/Info.plist"));
    ASSERT_TRUE(info.open(QIODevice::WriteOnly));
    info.write("<plist><dict><key>CFBundleIdentifier</key><string>t.b</string></dict></plist>");
    info.close();
    QFile resource(root + QStringLiteral("/Contents/Resources/KeyCodes.plist"));
    ASSERT_TRUE(resource.open(QIODevice::WriteOnly));
    resource.close();

    const Bundle bundle(root);
    EXPECT_TRUE(bundle.isValid());
    EXPECT_EQ(bundle.pathForResource(QStringLiteral("KeyCodes"), QStringLiteral("plist")),
              root + QStringLiteral("/Contents/Resources/KeyCodes.plist"));
    EXPECT_TRUE(
        bundle.pathForResource(QStringLiteral("Missing"), QStringLiteral("plist")).isEmpty());
    EXPECT_TRUE(bundle.pathForResource(QString(), QStringLiteral("plist")).isEmpty());
    EXPECT_TRUE(bundle.executablePath().isEmpty());
    EXPECT_FALSE(Bundle().isValid());
}

TEST(Bundle, MainBundleCanBeNamedForProgramsOutsideABundle)
{
    Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
    EXPECT_EQ(Bundle::mainBundle().bundleIdentifier(), QStringLiteral("com.ambertide.Brisko"));
    Bundle::setMainBundlePath(QString());
}
