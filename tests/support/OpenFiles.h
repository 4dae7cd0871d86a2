#pragma once

namespace testsupport {

// How many file descriptors the process holds, to catch handles left open.
int openFileCount();

} // namespace testsupport
