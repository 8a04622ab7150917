// SPDX-License-Identifier: MIT
#include "common/utility/RKUtility.h"

#include "platform/core/Bundle.h"
#include "platform/core/InstallLayout.h"
#include "platform/core/PropertyList.h"
#include "platform/core/XdgBaseDirectory.h"
#include "platform/session/SessionInstance.h"
#include "platform/workspace/Workspace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <atomic>
#include <limits>

#include <sys/time.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace {

const QString kDesktopEntryGroup = QStringLiteral("[Desktop Entry]");
const QString kBundlePathKey = QStringLiteral("X-Brisko-BundlePath");
const QString kHideKey = QStringLiteral("X-Brisko-Hide");
const QString kBackgroundOnlyKey = QStringLiteral("LSUIElement");

std::atomic<std::uint32_t> gSystemVersion{0};

QString lastPathComponent(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

QString deletingPathExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

// An entry name becomes a file name inside the autostart folder; anything that could leave
// that folder is refused.
bool isUsableEntryName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

// No file has a NUL in its path, and the entry format has no escape for the other control
// characters but tab and the line breaks: a path holding one could not be read back.
bool isStorablePath(const QString &path)
{
    for (const QChar c : path) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n') &&
            c != QLatin1Char('\r'))
            return false;
    }
    return true;
}

// What Desktop Entry readers (GLib's among them) trim around keys and values: ASCII blanks
// only, so a value keeps a no-break space or another Unicode blank at either end.
QString trimmedAscii(const QString &text)
{
    qsizetype start = 0, end = text.size();
    auto blank = [](QChar c) {
        return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r');
    };
    while (start < end && blank(text.at(start)))
        ++start;
    while (end > start && blank(text.at(end - 1)))
        --end;
    return text.mid(start, end - start);
}

// Desktop Entry string values: backslash escapes for the characters that would break a line,
// and for a blank at either end, which readers trim off otherwise.
QString escapeValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c == QLatin1Char(' ') && (i == 0 || i + 1 == value.size()))
            out += QLatin1String("\\s");
        else if (c != QChar(0))
            out += c;
    }
    return out;
}

QString unescapeValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        if (next == QLatin1Char('s'))
            out += QLatin1Char(' ');
        else if (next == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (next == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (next == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else
            out += next;
    }
    return out;
}

// One Exec argument: double-quoted with the four characters the format reserves escaped,
// and every percent sign doubled so it is never read as a field code.
QString quoteExecArgument(const QString &argument)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    quoted.replace(QLatin1String("%"), QLatin1String("%%"));
    return quoted;
}

// First argument of an (unescaped) Exec value, for entries other programs wrote.
QString firstExecArgument(const QString &exec)
{
    QString argument;
    bool inQuotes = false;
    qsizetype i = 0;
    while (i < exec.size() && exec.at(i).isSpace())
        ++i;
    for (; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (inQuotes && c == QLatin1Char('\\') && i + 1 < exec.size()) {
            argument += exec.at(++i);
        } else if (c == QLatin1Char('"')) {
            inQuotes = !inQuotes;
        } else if (!inQuotes && c.isSpace()) {
            break;
        } else if (c == QLatin1Char('%') && i + 1 < exec.size() &&
                   exec.at(i + 1) == QLatin1Char('%')) {
            argument += c;
            ++i;
        } else {
            argument += c;
        }
    }
    return argument;
}

// The keys of the [Desktop Entry] group, values unescaped. Localised keys are left out.
QHash<QString, QString> readDesktopEntry(const QString &path)
{
    QHash<QString, QString> entry;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entry;
    bool inGroup = false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &raw : lines) {
        const QString line = trimmedAscii(QString::fromUtf8(raw));
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == kDesktopEntryGroup;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inGroup || equals <= 0)
            continue;
        const QString key = trimmedAscii(line.left(equals));
        if (!entry.contains(key))
            entry.insert(key, unescapeValue(trimmedAscii(line.mid(equals + 1))));
    }
    return entry;
}

bool isEnabled(const QHash<QString, QString> &entry)
{
    return entry.value(QStringLiteral("Hidden"))
                   .compare(QLatin1String("true"), Qt::CaseInsensitive) != 0 &&
           entry.value(QStringLiteral("X-GNOME-Autostart-enabled"))
                   .compare(QLatin1String("false"), Qt::CaseInsensitive) != 0;
}

QString infoPlistPath()
{
    const QString bundle = Bundle::mainBundle().bundlePath();
    return bundle.isEmpty() ? QString() : bundle + QLatin1String("/Contents/Info.plist");
}

} // namespace

QString RKUtility::_autostartDirectory()
{
    return XdgBaseDirectory::configHome() + QLatin1String("/autostart");
}

bool RKUtility::addAutoLaunchPath(const QString &path, bool hide)
{
    const QString name = deletingPathExtension(lastPathComponent(path));
    if (path.isEmpty() || !isStorablePath(path) || !isUsableEntryName(name))
        return false;
    const QString absolutePath = QDir::cleanPath(QDir(path).absolutePath());
    QString executable = absolutePath;
    if (QFileInfo(absolutePath).isDir()) {
        // An installed bundle is started through its launcher in bin/, the command users and
        // the menu know, rather than through a path deep inside the installation.
        const Bundle bundle(absolutePath);
        executable =
            InstallLayout::preferredCommand(bundle, name.toLower(), bundle.executablePath());
    }
    if (executable.isEmpty())
        return false;

    QString text = kDesktopEntryGroup + QLatin1Char('\n');
    text += QLatin1String("Type=Application\n");
    text += QLatin1String("Name=") + escapeValue(name) + QLatin1Char('\n');
    // GLib checks that the program exists before it expands field codes, so the "%%" that
    // stands for a percent sign would send it looking for a file of that name, and GNOME
    // would not start Brisko at login; through env, the check finds env and the launch gets
    // the real path.
    const QString command = executable.contains(QLatin1Char('%'))
                                ? QLatin1String("env ") + quoteExecArgument(executable)
                                : quoteExecArgument(executable);
    text += QLatin1String("Exec=") + escapeValue(command) + QLatin1Char('\n');
    text += kBundlePathKey + QLatin1Char('=') + escapeValue(absolutePath) + QLatin1Char('\n');
    text +=
        kHideKey + QLatin1Char('=') + QLatin1String(hide ? "true" : "false") + QLatin1Char('\n');
    text += QLatin1String("X-GNOME-Autostart-enabled=true\n");

    const QString directory = _autostartDirectory();
    if (!QDir().mkpath(directory))
        return false;
    QSaveFile file(directory + QLatin1Char('/') + name + QLatin1String(".desktop"));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size() && file.commit();
}

void RKUtility::removeAutoLaunchAppNamed(const QString &name)
{
    const QString entryName = deletingPathExtension(name);
    if (!isUsableEntryName(entryName))
        return;
    QFile::remove(_autostartDirectory() + QLatin1Char('/') + entryName + QLatin1String(".desktop"));
}

QVariantList RKUtility::_getAutoLaunchedApplications()
{
    QVariantList items;
    const QDir directory(_autostartDirectory());
    // Hidden too: the entry of a bundle whose name begins with a dot is one of them.
    const QStringList files = directory.entryList(
        {QStringLiteral("*.desktop")}, QDir::Files | QDir::Readable | QDir::Hidden, QDir::Name);
    for (const QString &file : files) {
        // Not QDir::filePath: it takes a name beginning with ':' for a resource path.
        const QHash<QString, QString> entry =
            readDesktopEntry(directory.path() + QLatin1Char('/') + file);
        if (entry.isEmpty() || !isEnabled(entry))
            continue;
        QString path = entry.value(kBundlePathKey);
        if (path.isEmpty())
            path = firstExecArgument(entry.value(QStringLiteral("Exec")));
        if (path.isEmpty())
            continue;
        items.append(QVariantMap{
            {QStringLiteral("Path"), path},
            {QStringLiteral("Name"), entry.value(QStringLiteral("Name"))},
            {QStringLiteral("Hide"), entry.value(kHideKey) == QLatin1String("true")},
        });
    }
    return items;
}

bool RKUtility::appAutoLaunches(const QString &fileName)
{
    if (fileName.isEmpty())
        return false;
    const QVariantList items = _getAutoLaunchedApplications();
    for (const QVariant &item : items) {
        if (lastPathComponent(item.toMap().value(QStringLiteral("Path")).toString()) == fileName)
            return true;
    }
    return false;
}

bool RKUtility::isHeadless()
{
    const QString path = infoPlistPath();
    if (path.isEmpty())
        return false;
    const QVariant flag = PropertyList::readFile(path).toMap().value(kBackgroundOnlyKey);
    bool ok = false;
    const qlonglong value = flag.toLongLong(&ok);
    return flag.isValid() && ok && value == 1;
}

bool RKUtility::setHeadless(bool headless)
{
    const QString path = infoPlistPath();
    if (path.isEmpty())
        return false;
    const QVariant plist = PropertyList::readFile(path);
    if (plist.typeId() != QMetaType::QVariantMap)
        return false;
    QVariantMap info = plist.toMap();
    info.insert(kBackgroundOnlyKey, qint64(headless ? 1 : 0));
    if (!PropertyList::writeFile(info, path))
        return false;
    // The desktop caches what it read from a bundle until the bundle folder looks changed.
    const QByteArray bundle = QFile::encodeName(Bundle::mainBundle().bundlePath());
    ::utimes(bundle.constData(), nullptr);
    return true;
}

bool RKUtility::restartApplication()
{
    QString executable = Bundle::mainBundle().executablePath();
    if (executable.isEmpty() || !QFileInfo(executable).isExecutable())
        executable = QCoreApplication::applicationFilePath();
    if (executable.isEmpty())
        return false;
    // The new copy would find this one still owning the session's name, hand over to it and
    // leave, and this one is about to quit: the name goes first.
    SessionInstance *instance = SessionInstance::current();
    if (instance)
        instance->release();
    if (!Workspace::shared().launchApplication(executable)) {
        if (instance)
            instance->claim();
        return false;
    }
    QCoreApplication::quit();
    return true;
}

int RKUtility::_residentSetSizeFromOutput(const QByteArray &output)
{
    QByteArray digits;
    for (const char c : QString::fromUtf8(output).toLatin1()) {
        if (c >= '0' && c <= '9')
            digits += c;
    }
    bool ok = false;
    const int value = digits.toInt(&ok);
    return ok ? value : 0;
}

int RKUtility::residentSetSize()
{
    int status = 0;
    const QByteArray output =
        _runCommand(QStringLiteral("/bin/ps"),
                    {QStringLiteral("-p%1").arg(::getpid()), QStringLiteral("-orss")}, {}, &status);
    return status == 0 ? _residentSetSizeFromOutput(output) : 0;
}

QByteArray RKUtility::_runCommand(const QString &tool, const QStringList &arguments,
                                  const QString &currentDirectoryPath, int *status)
{
    if (status)
        *status = -1;
    QProcess process;
    process.setProgram(tool);
    process.setArguments(arguments);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (!currentDirectoryPath.isEmpty())
        process.setWorkingDirectory(currentDirectoryPath);
    process.start();
    if (!process.waitForStarted(-1))
        return {};
    process.closeWriteChannel();
    process.waitForFinished(-1);
    const QByteArray output = process.readAllStandardOutput();
    if (status && process.exitStatus() == QProcess::NormalExit)
        *status = process.exitCode();
    return output;
}

std::uint32_t RKUtility::_systemVersionFromRelease(const QString &release)
{
    std::uint32_t parts[3] = {0, 0, 0};
    qsizetype i = 0;
    for (int part = 0; part < 3; ++part) {
        const qsizetype start = i;
        std::uint32_t value = 0;
        while (i < release.size() && release.at(i).isDigit() && release.at(i).unicode() < 0x80) {
            value = std::min<std::uint32_t>(value * 10 + (release.at(i).unicode() - '0'), 1000);
            ++i;
        }
        if (i == start)
            break;
        parts[part] = value;
        if (i >= release.size() || release.at(i) != QLatin1Char('.'))
            break;
        ++i;
    }
    const std::uint32_t major = std::min<std::uint32_t>(parts[0], 99);
    const std::uint32_t minor = std::min<std::uint32_t>(parts[1], 9);
    const std::uint32_t bugfix = std::min<std::uint32_t>(parts[2], 9);
    return ((major / 10) << 12) | ((major % 10) << 8) | (minor << 4) | bugfix;
}

std::uint32_t RKUtility::systemVersion()
{
    std::uint32_t version = gSystemVersion.load();
    if (version != 0)
        return version;
    struct utsname name = {};
    if (::uname(&name) != 0)
        return 0;
    version = _systemVersionFromRelease(QString::fromLocal8Bit(name.release));
    gSystemVersion.store(version);
    return version;
}

std::uint32_t GetSystemVersion()
{
    return RKUtility::systemVersion();
}

bool RKUtility::_isPantherVersion(std::uint32_t version)
{
    return version >= 0x1030 && version <= 0x103F;
}

bool RKUtility::_isJaguarVersion(std::uint32_t version)
{
    return version >= 0x1020 && version <= 0x102F;
}

bool RKUtility::isPanther()
{
    return _isPantherVersion(systemVersion());
}

bool RKUtility::isJaguar()
{
    return _isJaguarVersion(systemVersion());
}
