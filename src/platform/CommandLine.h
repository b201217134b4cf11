#pragma once

#include <QByteArrayList>
#include <QString>

/**
 * The program's command line, read before any window system is touched, so that --help,
 * --version and the list commands work without a display. Qt's own options (-session, -style,
 * -platform, ...) are recognised and left for QApplication, which reads them from argv itself.
 */
class CommandLine
{
public:
    enum class Action
    {
        Start,  ///< open the window (or wake the running instance)
        End,    ///< print the outputs and end with `exitCode`
        Show,   ///< --show: bring the window up, starting the program when none runs
        Toggle, ///< --toggle: bring the window up, or put the active one away
        Add,    ///< --add TEXT
        Remove, ///< --remove TEXT
        List,   ///< --list [-0]
    };

    /** What to do after reading the arguments. */
    struct Outcome
    {
        Action action = Action::Start;
        int exitCode = 0; ///< when ending here
        QString standardOutput;
        QString standardError;
        /** The text of --add or --remove; empty when it comes from standard input. */
        QString text;
        bool textFromStandardInput = false;
        /** --list -0: entries end with NUL instead of a line break. */
        bool nulSeparated = false;
        /** The values of Qt's -platform and -display, which decide where the window opens. */
        QString platform;
        QString display;
    };

    static constexpr int UsageError = 2;
    /** A command that changed nothing: refused, or the text could not be read. */
    static constexpr int Refused = 1;

    /** `programName` is what the usage shows (argv[0]'s file name); `version` as "1.0.61". */
    CommandLine(QString programName, QString version);

    /** Reads the arguments that follow the program name, as the bytes argv holds. */
    Outcome parse(const QByteArrayList& arguments) const;

    /** The usage and option list, ending with a newline. */
    QString usage() const;

private:
    Outcome usageError(const QString& what, const QByteArray& argument) const;

    QString m_programName;
    QString m_version;
};
