#pragma once

#include <string>
#include <sys/types.h>

namespace editortest {

// An Xvfb server of the test's own, so that moving the real pointer cannot
// disturb, or be disturbed by, tests running at the same time.
class PrivateXServer {
public:
    PrivateXServer();
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    // ":N", empty when the server could not be started.
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

} // namespace editortest
