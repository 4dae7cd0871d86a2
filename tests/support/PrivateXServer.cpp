#include "PrivateXServer.h"

#include <csignal>
#include <cstdio>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

PrivateXServer::PrivateXServer(int depth)
{
    int fds[2];
    if (pipe(fds) != 0)
        return;
    const std::string screen = "1024x768x" + std::to_string(depth);
    pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        (void)!freopen("/dev/null", "w", stderr);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    // Xvfb writes its display number once it accepts connections.
    std::string number;
    char c = 0;
    pollfd p{fds[0], POLLIN, 0};
    while (pid > 0 && poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    if (c == '\n' && !number.empty())
        display = ":" + number;
    close(fds[0]);
}

PrivateXServer::~PrivateXServer()
{
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

} // namespace testsupport
