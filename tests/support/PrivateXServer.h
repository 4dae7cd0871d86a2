#pragma once

#include <string>
#include <sys/types.h>

namespace testsupport {

// An Xvfb server of the test's own, so that moving the real pointer cannot
// disturb, or be disturbed by, tests running at the same time, and so that a
// test can choose the colour depth of its screen.
struct PrivateXServer {
    explicit PrivateXServer(int depth = 24);
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    pid_t pid = -1;
    std::string display; // ":N", empty when the server did not start
};

} // namespace testsupport
