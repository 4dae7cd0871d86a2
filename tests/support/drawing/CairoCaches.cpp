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
