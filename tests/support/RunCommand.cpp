#include "RunCommand.h"

#include <cstdio>

#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#define WIFEXITED(status) true
#define WEXITSTATUS(status) (status)
#else
#include <sys/wait.h>
#endif

namespace testsupport {

CommandRun runCommand(const std::string& command)
{
    CommandRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        run.output += buffer;
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace testsupport
