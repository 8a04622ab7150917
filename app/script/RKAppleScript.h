// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariantMap>

#include <mutex>
#include <optional>

/// Runs one script at a time, always on the main thread, and hands back its result or an
/// error dictionary. Scripts are POSIX shell text run by /bin/sh; "compiling" is the shell's
/// syntax check (`sh -n`). The result is what the script wrote to standard output, without
/// its final line break.
///
/// There is one runner per process. A request that arrives while a run is in progress, from
/// any thread, is refused at once: no result, and the error dictionary is left untouched.
class RKAppleScript final
{
public:
    /// Keys of the error dictionary.
    static const QString ErrorMessageKey; // "RKAppleScriptErrorMessage": text for people
    static const QString ErrorNumberKey;  // "RKAppleScriptErrorNumber": one of ErrorNumber or
                                          // the script's non-zero exit status
    enum ErrorNumber : int
    {
        SyntaxError = -2740,
        TimeoutError = -1712,
        CannotRunError = -2700,
    };
    static constexpr int kDefaultTimeoutSeconds = 120;

    static RKAppleScript &sharedInstance();

    RKAppleScript(const RKAppleScript &) = delete;
    RKAppleScript &operator=(const RKAppleScript &) = delete;

    /// Checks and runs `source`. A run that takes longer than `timeoutSeconds` is killed
    /// with every process it started and fails with TimeoutError. Called from another thread,
    /// this blocks until the main thread has run the script. `errorInfo` receives the error
    /// dictionary, empty after a successful run, unless the request was refused.
    std::optional<QString> executeScript(const QString &source, QVariantMap *errorInfo = nullptr,
                                         int timeoutSeconds = kDefaultTimeoutSeconds);

private:
    RKAppleScript() = default;
    void _executeAppleScript();

    QString _appleScript;
    int _timeoutSeconds = kDefaultTimeoutSeconds;
    std::optional<QString> _eventDesc;
    QVariantMap _errorInfo;
    std::mutex _lock;
};
