#include "platform/CommandLine.h"

#include <QStringDecoder>
#include <array>
#include <utility>

namespace {

struct QtOption
{
    const char* name;
    bool takesValue;
    /** Qt also reads "-name=value" for this one. */
    bool joinedValue;
};

// The options QApplication, QGuiApplication, QCoreApplication and the xcb platform read from
// argv, each also with two leading dashes as Qt accepts them. Session managers restart a
// program with "-session <id>"; the others are for users and tools that expect every Qt
// program to take them.
constexpr std::array QtOptions = {
    QtOption{"platform", true, false},      QtOption{"platformpluginpath", true, false},
    QtOption{"platformtheme", true, false}, QtOption{"plugin", true, false},
    QtOption{"qmljsdebugger", true, true},  QtOption{"qwindowgeometry", true, false},
    QtOption{"qwindowicon", true, false},   QtOption{"qwindowtitle", true, false},
    QtOption{"session", true, false},       QtOption{"style", true, true},
    QtOption{"stylesheet", true, true},     QtOption{"display", true, false},
    QtOption{"geometry", true, false},      QtOption{"icon", true, false},
    QtOption{"name", true, false},          QtOption{"title", true, false},
    QtOption{"visual", true, false},        QtOption{"reverse", false, false},
    QtOption{"widgetcount", false, false},  QtOption{"nograb", false, false},
    QtOption{"dograb", false, false},       QtOption{"sync", false, false},
    QtOption{"testability", false, false},
};

/** The Qt option `argument` names (with one or two dashes), or null. */
const QtOption* qtOption(const QByteArray& argument, bool* joined)
{
    if (!argument.startsWith('-'))
        return nullptr;
    QByteArray name = argument.mid(argument.startsWith("--") ? 2 : 1);
    const qsizetype equals = name.indexOf('=');
    *joined = equals >= 0;
    if (*joined)
        name.truncate(equals);
    for (const QtOption& option : QtOptions) {
        if (name == option.name && (!*joined || option.joinedValue))
            return &option;
    }
    return nullptr;
}

QString lossy(const QByteArray& bytes)
{
    return QString::fromLocal8Bit(bytes);
}

} // namespace

CommandLine::CommandLine(QString programName, QString version)
    : m_programName(std::move(programName)), m_version(std::move(version))
{
}

CommandLine::Outcome CommandLine::usageError(const QString& what, const QByteArray& argument) const
{
    Outcome outcome;
    outcome.action = Action::End;
    outcome.exitCode = UsageError;
    outcome.standardError =
        QStringLiteral("%1: %2 '%3'\n").arg(m_programName, what, lossy(argument)) + usage();
    return outcome;
}

CommandLine::Outcome CommandLine::parse(const QByteArrayList& arguments) const
{
    bool help = false;
    bool version = false;
    Outcome outcome;
    QByteArray command; // the first command option, for the message when a second one comes
    const auto setCommand = [&](Action action, const QByteArray& argument) {
        if (!command.isEmpty())
            return false;
        command = argument;
        outcome.action = action;
        return true;
    };

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QByteArray& argument = arguments.at(i);
        bool joined = false;
        if (argument == "-h" || argument == "--help") {
            help = true;
        } else if (argument == "-v" || argument == "--version") {
            version = true;
        } else if (argument == "--show" || argument == "--toggle" || argument == "--list") {
            const Action action = argument == "--show"     ? Action::Show
                                  : argument == "--toggle" ? Action::Toggle
                                                           : Action::List;
            if (!setCommand(action, argument))
                return usageError(
                    QStringLiteral("option cannot be combined with '%1':").arg(lossy(command)),
                    argument);
        } else if (argument == "-0") {
            outcome.nulSeparated = true;
        } else if (argument == "--add" || argument == "--remove" || argument.startsWith("--add=") ||
                   argument.startsWith("--remove=")) {
            const bool add = argument.startsWith("--add");
            const qsizetype equals = argument.indexOf('=');
            if (!setCommand(add ? Action::Add : Action::Remove,
                            equals < 0 ? argument : argument.left(equals)))
                return usageError(
                    QStringLiteral("option cannot be combined with '%1':").arg(lossy(command)),
                    argument);
            QByteArray text;
            if (equals >= 0) {
                text = argument.mid(equals + 1);
            } else if (++i < arguments.size()) {
                text = arguments.at(i); // taken as it is, even when it starts with a dash
            } else {
                return usageError(QStringLiteral("option needs a text:"), argument);
            }
            outcome.textFromStandardInput = text == "-";
            if (!outcome.textFromStandardInput) {
                // A text that is not UTF-8 would be stored mangled: refused, not guessed at.
                QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
                outcome.text = decoder(text);
                if (decoder.hasError()) {
                    outcome = Outcome();
                    outcome.action = Action::End;
                    outcome.exitCode = Refused;
                    outcome.standardError =
                        QStringLiteral("%1: the text is not valid UTF-8\n").arg(m_programName);
                    return outcome;
                }
            }
        } else if (const QtOption* option = qtOption(argument, &joined)) {
            QByteArray value;
            if (joined) {
                value = argument.mid(argument.indexOf('=') + 1);
            } else if (option->takesValue) {
                if (++i >= arguments.size())
                    return usageError(QStringLiteral("option needs a value:"), argument);
                value = arguments.at(i);
            }
            const QByteArray name(option->name);
            if (name == "platform")
                outcome.platform = lossy(value);
            else if (name == "display")
                outcome.display = lossy(value);
        } else {
            // A stray word is as much a mistake as an unknown option: the program opens no files.
            const QString what = argument.startsWith('-') ? QStringLiteral("unknown option")
                                                          : QStringLiteral("unexpected argument");
            return usageError(what, argument);
        }
    }
    if (outcome.nulSeparated && outcome.action != Action::List)
        return usageError(QStringLiteral("option only goes with --list:"), "-0");

    if (help || version) {
        Outcome printed;
        printed.action = Action::End;
        printed.standardOutput = help ? usage() : QStringLiteral("Quippet %1\n").arg(m_version);
        return printed;
    }
    return outcome;
}

QString CommandLine::usage() const
{
    return QStringLiteral(
               "Usage: %1 [--help | --version]\n"
               "       %1 [--show | --toggle] [Qt options]\n"
               "       %1 --add TEXT | --remove TEXT | --list [-0]\n"
               "Keeps a list of reusable text snippets and moves text between it, the\n"
               "clipboard, other programs and text files by drag and drop.\n"
               "\n"
               "  -h, --help     show this help and exit\n"
               "  -v, --version  show the version and exit\n"
               "  --show         bring the window to the front, starting Quippet if needed\n"
               "  --toggle       the same, or put the window away when it is the active one\n"
               "  --add TEXT     add TEXT to the list (- reads it from standard input)\n"
               "  --remove TEXT  remove the entry that is exactly TEXT (- as for --add)\n"
               "  --list         print the entries, one per line (-0: each ends with NUL)\n"
               "\n"
               "--add and --remove end with 0 when the list changed and 1 when it did not,\n"
               "with the reason on standard error. Qt's standard options (-session, -style,\n"
               "-platform, -display, ...) are passed on to Qt.\n")
        .arg(m_programName);
}
