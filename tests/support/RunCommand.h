#pragma once

#include <string>

namespace testsupport {

struct CommandRun {
    int status = -1; // the exit status, -1 when the command did not exit normally
    std::string output;
};

// Runs command through the shell and collects what it prints on stdout.
CommandRun runCommand(const std::string& command);

} // namespace testsupport
