#include "platform/Preflight.h"

#include "platform/CommandLine.h"
#include "platform/QuippetVersion.h"
#include "platform/qt/DisplayConnection.h"

#include <cstdio>

namespace {

void print(const QString& text, std::FILE* stream)
{
    if (!text.isEmpty())
        std::fputs(text.toLocal8Bit().constData(), stream);
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
    if (outcome->action == CommandLine::Action::End)
        return outcome->exitCode;

    if (!DisplayConnection::prepare(outcome->platform, outcome->display)) {
        print(DisplayConnection::unreachableMessage(program) + u'\n', stderr);
        return NoDisplay;
    }
    return std::nullopt;
}
