// SPDX-License-Identifier: MIT
#include "common/SettingsKeys.h"

QStringList allSettingsKeys()
{
    return {DefHotKey,
            DefShowSplash,
            DefHideAdvert,
            DefAutoVersionCheck,
            DefNextCheckVersionDay,
            DefVonageEnabled,
            DefVonageName,
            DefVonagePassword,
            DefVonageNumbers,
            DefSelectedVonageNumber,
            DefCardHeaderBgColor,
            DefHeaderNameColor,
            DefHeaderCompanyColor,
            DefLargeTypeFgColor,
            DefLargeTypeBgColor,
            DefActivationCount,
            DefHasPromptedToShare,
            DefIgnoreAccents,
            DefMatchPhoneDigits,
            DefOrderByRelevance};
}
