#include "platform/CommandLine.h"

#include <utility>

CommandLine::CommandLine(QString programName, QString version)
    : m_programName(std::move(programName)), m_version(std::move(version))
{
}

CommandLine::Outcome CommandLine::parse(const QStringList& arguments) const
{
    bool help = false;
    bool version = false;
    for (const QString& argument : arguments) {
        if (argument == u"-h" || argument == u"--help") {
            help = true;
        } else if (argument == u"-v" || argument == u"--version") {
            version = true;
        } else {
            // A stray word is as much a mistake as an unknown option: the program opens no files.
            const QString what = argument.startsWith(u'-') ? QStringLiteral("unknown option")
                                                           : QStringLiteral("unexpected argument");
            return {false, UsageError, QString(),
                    QStringLiteral("%1: %2 '%3'\n").arg(m_programName, what, argument) + usage()};
        }
    }
    if (help)
        return {false, 0, usage(), QString()};
    if (version)
        return {false, 0, QStringLiteral("Quippet %1\n").arg(m_version), QString()};
    return {};
}

QString CommandLine::usage() const
{
    return QStringLiteral("Usage: %1 [--help | --version]\n"
                          "Keeps a list of reusable text snippets and moves text between it, the\n"
                          "clipboard, other programs and text files by drag and drop.\n"
                          "\n"
                          "  -h, --help     show this help and exit\n"
                          "  -v, --version  show the version and exit\n")
        .arg(m_programName);
}
