#include "PrivateXServer.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace editortest {

namespace {
// The display number Xvfb writes once it accepts connections; empty on failure.
std::string readDisplayNumber(int fd)
{
    std::string number;
    char c;
    pollfd p{fd, POLLIN, 0};
    while (poll(&p, 1, 10000) > 0 && read(fd, &c, 1) == 1) {
        if (c == '\n')
            return number;
        number += c;
    }
    return {};
}
} // namespace

PrivateXServer::PrivateXServer()
{
    int fds[2];
    if (pipe(fds) != 0)
        return;
    pid_ = fork();
    if (pid_ == 0) {
        close(fds[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (pid_ > 0) {
        const std::string number = readDisplayNumber(fds[0]);
        if (!number.empty())
            display_ = ":" + number;
    }
    close(fds[0]);
}

PrivateXServer::~PrivateXServer()
{
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
}

} // namespace editortest
