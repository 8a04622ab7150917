// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>

class QWidget;

/// Pictures of windows for people to judge. BRISKO_SCREENSHOT_DIR says where they go (the
/// build tree's screenshots folder when unset).
namespace Screenshot {

/// The window as it is drawn, alpha included.
QImage grabbed(QWidget &window);
/// `window` over a desktop-like backdrop with a margin, so translucency and rounded corners
/// show in the picture.
QImage onBackdrop(const QImage &window, int margin = 40);
/// Saves `image` as `name` in the screenshot folder; false when it cannot be written.
bool save(const QImage &image, const QString &name);

} // namespace Screenshot
