#include "platform/Preflight.h"

#include "platform/CommandLine.h"
#include "platform/QuippetVersion.h"
#include "platform/qt/DisplayConnection.h"

#include <QStringList>
#include <cstdio>

namespace {

void print(const QString& text, std::FILE* stream)
{
    if (!text.isEmpty())
        std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

std::optional<int> Preflight::run(int argc, const char* const* argv)
{
    const QString program = QStringLiteral("quippet");
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    const CommandLine::Outcome outcome =
        CommandLine(program, QStringLiteral(QUIPPET_VERSION_TEXT)).parse(arguments);
    print(outcome.standardOutput, stdout);
    print(outcome.standardError, stderr);
    if (!outcome.start)
        return outcome.exitCode;

    if (!DisplayConnection::prepare()) {
        print(DisplayConnection::unreachableMessage(program) + u'\n', stderr);
        return NoDisplay;
    }
    return std::nullopt;
}
