#pragma once

#include "platform/CommandLine.h"

#include <optional>

/**
 * What runs before QApplication exists: the command line (--help, --version, mistakes) and the
 * check that a display can be reached. Prints its own output.
 */
class Preflight
{
public:
    /**
     * The exit code when the program should end here; empty to go on and open the window (or
     * wake the running instance), as `outcome` then says.
     */
    static std::optional<int> run(int argc, const char* const* argv, CommandLine::Outcome* outcome);

    /** The exit code when no display can be reached. */
    static constexpr int NoDisplay = 1;
};
