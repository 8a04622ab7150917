// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// Keys of the settings domain "com.ambertide.Brisko".
inline const QString BriskoDomain = QStringLiteral("com.ambertide.Brisko");

inline const QString DefHotKey = QStringLiteral("HotKey");
inline const QString DefShowSplash = QStringLiteral("ShowSplash");
inline const QString DefHideAdvert = QStringLiteral("HideAdvert");
inline const QString DefAutoVersionCheck = QStringLiteral("AutoVersionCheck");
inline const QString DefNextCheckVersionDay = QStringLiteral("NextCheckVersion");
inline const QString DefVonageEnabled = QStringLiteral("VonageEnabled");
inline const QString DefVonageName = QStringLiteral("VonageName");
inline const QString DefVonagePassword = QStringLiteral("VonagePassword");
inline const QString DefVonageNumbers = QStringLiteral("VonageNumbers");
inline const QString DefSelectedVonageNumber = QStringLiteral("SelectedVonageNumber");
inline const QString DefCardHeaderBgColor = QStringLiteral("cardHeaderBgColor");
inline const QString DefHeaderNameColor = QStringLiteral("headerNameColor");
inline const QString DefHeaderCompanyColor = QStringLiteral("headerCompanyColor");
inline const QString DefLargeTypeFgColor = QStringLiteral("largeTypeFgColor");
inline const QString DefLargeTypeBgColor = QStringLiteral("largeTypeBgColor");
inline const QString DefActivationCount = QStringLiteral("ActivationCount");
inline const QString DefHasPromptedToShare = QStringLiteral("HasPromptedToShare");
inline const QString DefIgnoreAccents = QStringLiteral("IgnoreAccents");
inline const QString DefMatchPhoneDigits = QStringLiteral("MatchPhoneDigits");
inline const QString DefOrderByRelevance = QStringLiteral("OrderByRelevance");

// Not stored in the domain: the pane computes it from the user's login items.
inline const QString DefAutoLaunch = QStringLiteral("autoLaunch");

/// Every key the domain stores, in the order of the table above.
QStringList allSettingsKeys();
