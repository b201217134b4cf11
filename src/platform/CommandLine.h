#pragma once

#include <QString>
#include <QStringList>

/**
 * The program's command line, read before any window system is touched, so that --help and
 * --version work without a display.
 */
class CommandLine
{
public:
    /** What to do after reading the arguments. */
    struct Outcome
    {
        bool start = true; ///< go on and open the window
        int exitCode = 0;  ///< when not starting
        QString standardOutput;
        QString standardError;
    };

    static constexpr int UsageError = 2;

    /** `programName` is what the usage shows (argv[0]'s file name); `version` as "1.0.61". */
    CommandLine(QString programName, QString version);

    /** Reads the arguments that follow the program name. */
    Outcome parse(const QStringList& arguments) const;

    /** The usage and option list, ending with a newline. */
    QString usage() const;

private:
    QString m_programName;
    QString m_version;
};
