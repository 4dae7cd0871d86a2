#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

namespace {

// cairo and fontconfig keep font caches for the life of the process; empty them
// at the end so the leak checker sees only what the toolkit and the editor leave behind.
struct CairoCaches : ::testing::Environment {
    void TearDown() override
    {
        cairo_debug_reset_static_data();
        FcFini();
    }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new CairoCaches);

} // namespace

// cairo-xlib keeps small records for images it uploaded through shared memory
// (and one per process for the first connection) after the connection's device
// is finished. Without symbols for cairo, only its module identifies them. The
// toolkit's and editor's own objects are allocated outside cairo and stay checked.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions() { return "leak:libcairo.so\n"; }
