// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

/// What the fuzz targets share: the application object Qt needs, a private home for readers
/// of files, and checks that say what failed before the run stops.
namespace FuzzSupport {

enum class Application
{
    Core,
    /// A QGuiApplication on the offscreen platform, for fonts and colours.
    Gui,
};

/// Creates the application object once, before the first input.
void start(int *argc, char ***argv, Application application = Application::Core);

/// A folder of this run's own, set as HOME, XDG_CONFIG_HOME and XDG_DATA_HOME (its config
/// and data subfolders), with every other variable a reader expands removed.
QString privateHome();

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

/// Writes the file whole, failing the run when it cannot.
void writeFile(const QString &path, const QByteArray &contents);

[[noreturn]] void fail(const char *condition, const char *file, int line, const QString &detail);

} // namespace FuzzSupport

/// A property that must hold for every input; its failure is a fault like a crash.
#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            FuzzSupport::fail(#condition, __FILE__, __LINE__, (detail));                           \
    } while (false)
