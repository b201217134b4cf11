#include "platform/Preflight.h"

#include "platform/CommandLine.h"
#include "platform/InstallLayout.h"
#include "platform/InstanceChannel.h"
#include "platform/ListCommandRunner.h"
#include "platform/QuippetVersion.h"
#include "platform/qt/DisplayConnection.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtProgramInfo.h"

#include <QCoreApplication>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

void print(const QString& text, std::FILE* stream)
{
    if (!text.isEmpty())
        std::fputs(text.toLocal8Bit().constData(), stream);
}

QByteArray readAll(std::FILE* stream)
{
    QByteArray bytes;
    char chunk[65536];
    while (const size_t got = std::fread(chunk, 1, sizeof(chunk), stream))
        bytes.append(chunk, static_cast<qsizetype>(got));
    return bytes;
}

/** --show and --toggle: true when a running instance took the request. */
bool sendToRunningInstance(CommandLine::Action action)
{
    const QString folder = InstanceChannel::privateFolder();
    if (folder.isEmpty())
        return false;
    InstanceChannel::Message request{action == CommandLine::Action::Toggle ? "toggle" : "show", {}};
    InstanceChannel::addActivationToken(request);
    return InstanceChannel::exchange(InstanceChannel::socketPath(folder), request, nullptr,
                                     ::getuid()) == InstanceChannel::Outcome::Answered;
}

int runListCommand(int argc, const char* const* argv, const CommandLine::Outcome& outcome)
{
    QString text = outcome.text;
    if (outcome.textFromStandardInput) {
        const auto decoded = ListCommandRunner::decodeText(readAll(stdin));
        if (!decoded) {
            print(QStringLiteral("quippet: the text on standard input is not valid UTF-8\n"),
                  stderr);
            return CommandLine::Refused;
        }
        text = *decoded;
    }
    // A core application only: the per-user folders and the locale, and no display.
    std::vector<char*> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(const_cast<char*>(argv[i]));
    int count = argc;
    QCoreApplication application(count, arguments.data());
    QtProgramInfo::setApplicationNames();

    const QtProgramInfo program;
    QString channelError;
    ListCommandRunner::Setup setup{InstanceChannel::privateFolder(&channelError), ::getuid(),
                                   [&program] { return InstallLayout::storePath(program); },
                                   QtClock().todayText()};
    if (setup.channelFolder.isEmpty()) {
        print(QStringLiteral("quippet: %1\n").arg(channelError), stderr);
        return CommandLine::Refused;
    }
    const ListCommand::Kind kind =
        outcome.action == CommandLine::Action::Add      ? ListCommand::Kind::Add
        : outcome.action == CommandLine::Action::Remove ? ListCommand::Kind::Remove
                                                        : ListCommand::Kind::List;
    const ListCommandRunner::Result result =
        ListCommandRunner(setup).run(kind, text, outcome.nulSeparated);
    std::fwrite(result.standardOutput.constData(), 1,
                static_cast<size_t>(result.standardOutput.size()), stdout);
    print(result.standardError, stderr);
    return result.exitCode;
}

} // namespace

std::optional<int> Preflight::run(int argc, const char* const* argv, CommandLine::Outcome* outcome)
{
    const QString program = QStringLiteral("quippet");
    QByteArrayList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));

    *outcome = CommandLine(program, QStringLiteral(QUIPPET_VERSION_TEXT)).parse(arguments);
    print(outcome->standardOutput, stdout);
    print(outcome->standardError, stderr);
    switch (outcome->action) {
    case CommandLine::Action::End:
        return outcome->exitCode;
    case CommandLine::Action::Add:
    case CommandLine::Action::Remove:
    case CommandLine::Action::List:
        return runListCommand(argc, argv, *outcome);
    case CommandLine::Action::Show:
    case CommandLine::Action::Toggle:
        // Answered by the running instance; with none, this start becomes it.
        if (sendToRunningInstance(outcome->action))
            return 0;
        break;
    case CommandLine::Action::Start:
        break;
    }

    if (!DisplayConnection::prepare(outcome->platform, outcome->display)) {
        print(DisplayConnection::unreachableMessage(program) + u'\n', stderr);
        return NoDisplay;
    }
    return std::nullopt;
}
