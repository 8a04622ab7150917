// SPDX-License-Identifier: MIT
#pragma once

#include <QVariantMap>

/// The factory settings the application registers at start-up, in their stored encodings.
/// resources/FactoryDefaults.plist is written from this by brisko-make-factory-defaults.
namespace FactoryDefaults {

QVariantMap values();

} // namespace FactoryDefaults
