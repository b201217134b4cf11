#pragma once

#include "core/list/ListCommand.h"
#include "platform/CommandLine.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <sys/types.h>

/**
 * `--add`, `--remove` and `--list`. With an instance running they go through it, so that its
 * window shows what happened and its autosave stays the one writer of the store. With none,
 * they read and save the store file directly (holding the instance lock, so that no instance
 * starts meanwhile); no window, no display.
 */
class ListCommandRunner
{
public:
    struct Setup
    {
        QString channelFolder; ///< where the instance socket and lock live; empty: none
        uid_t uid = 0;         ///< the user whose instance is heard
        /** Where the store is; asked only when no instance runs. */
        std::function<QString()> storePath;
        /** The date entry the window adds to the list and never saves. */
        QString today;
        /** How long an instance that holds the lock but does not answer is waited for. */
        int waitMs = 3000;
    };

    struct Result
    {
        int exitCode = 0;
        QByteArray standardOutput;
        QString standardError; ///< one line, with its line break, or empty
    };

    explicit ListCommandRunner(Setup setup);

    /** Runs `kind` with `text` (ignored for List); `nulSeparated` is --list -0. */
    Result run(ListCommand::Kind kind, const QString& text, bool nulSeparated) const;

    /** The whole of `bytes` (standard input) as text; empty when it is not valid UTF-8. */
    static std::optional<QString> decodeText(const QByteArray& bytes);
    /** The entries for standard output: each ends with a line break, or with NUL. */
    static QByteArray formatList(const QStringList& entries, bool nulSeparated);

private:
    Result onStoreFile(ListCommand::Kind kind, const QString& text, bool nulSeparated) const;
    Result failure(const QString& reason) const;

    Setup m_setup;
};
