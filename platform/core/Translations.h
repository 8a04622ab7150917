// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <memory>

class QTranslator;

/// The translations of a program or plug-in: catalogues of texts, compiled to
/// `<catalogue>_<language>.qm` files that sit in a bundle's resources (or, for a program
/// without a bundle, in its Qt resources under ":/i18n"). The English texts are the keys, so
/// a language without a catalogue simply shows them.
namespace Translations {

/// The catalogue's translator for the first of `locale`'s languages that has one; nullptr
/// when none has.
std::unique_ptr<QTranslator> load(const QString &catalogue, const QString &folder,
                                  const QLocale &locale = QLocale());

/// Installs the catalogues for the user's languages into the running application, and, the
/// first time, Qt's own texts (standard buttons, dialogs, command-line help) from the
/// system's Qt translations. Answers whether any catalogue had a translation.
bool install(const QStringList &catalogues, const QString &folder);

} // namespace Translations
