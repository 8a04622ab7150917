// SPDX-License-Identifier: MIT
#include "platform/core/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace Translations {

std::unique_ptr<QTranslator> load(const QString &catalogue, const QString &folder,
                                  const QLocale &locale)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, catalogue, QStringLiteral("_"), folder))
        return nullptr;
    return translator;
}

bool install(const QStringList &catalogues, const QString &folder)
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return false;
    static bool qtTextsInstalled = false;
    if (!qtTextsInstalled) {
        qtTextsInstalled = true;
        std::unique_ptr<QTranslator> qt =
            load(QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        if (qt && QCoreApplication::installTranslator(qt.get()))
            qt.release()->setParent(application);
    }
    bool installed = false;
    for (const QString &catalogue : catalogues) {
        std::unique_ptr<QTranslator> own = load(catalogue, folder);
        if (own && QCoreApplication::installTranslator(own.get())) {
            own.release()->setParent(application);
            installed = true;
        }
    }
    return installed;
}

} // namespace Translations
