#include "Vst3PlugFrame.h"

#include <gtest/gtest.h>

#include <string>

// The host's frame: a view's resizeView first resizes the host's window, then
// tells the view with onSize; refused or broken sizes reach neither.

namespace {

using namespace Steinberg;

// Records the calls a frame makes on its view; nothing else is used.
class RecordingView final : public IPlugView {
public:
    explicit RecordingView(std::string& log) : log_(log) {}

    tresult PLUGIN_API onSize(ViewRect* size) override
    {
        log_ += "onSize " + std::to_string(size->getWidth()) + "x" + std::to_string(size->getHeight()) + ";";
        return kResultOk;
    }
    tresult PLUGIN_API isPlatformTypeSupported(FIDString) override { return kResultFalse; }
    tresult PLUGIN_API attached(void*, FIDString) override { return kResultFalse; }
    tresult PLUGIN_API removed() override { return kResultOk; }
    tresult PLUGIN_API onWheel(float) override { return kResultFalse; }
    tresult PLUGIN_API onKeyDown(char16, int16, int16) override { return kResultFalse; }
    tresult PLUGIN_API onKeyUp(char16, int16, int16) override { return kResultFalse; }
    tresult PLUGIN_API getSize(ViewRect*) override { return kResultFalse; }
    tresult PLUGIN_API onFocus(TBool) override { return kResultOk; }
    tresult PLUGIN_API setFrame(IPlugFrame*) override { return kResultOk; }
    tresult PLUGIN_API canResize() override { return kResultTrue; }
    tresult PLUGIN_API checkSizeConstraint(ViewRect*) override { return kResultOk; }
    tresult PLUGIN_API queryInterface(const TUID, void** obj) override
    {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

private:
    std::string& log_;
};

TEST(Vst3PlugFrameResize, TheWindowTakesTheSizeBeforeTheViewIsTold)
{
    std::string log;
    RecordingView view(log);
    host::Vst3PlugFrame frame;
    frame.setWindowResizer([&log](int width, int height) {
        log += "window " + std::to_string(width) + "x" + std::to_string(height) + ";";
        return true;
    });
    ViewRect size(10, 20, 954, 746);
    EXPECT_EQ(frame.resizeView(&view, &size), kResultOk);
    EXPECT_EQ(log, "window 944x726;onSize 944x726;");
    EXPECT_EQ(frame.requestedWidth(), 944);
    EXPECT_EQ(frame.requestedHeight(), 726);

    // Without a window (no editor open), the view is still told.
    log.clear();
    frame.setWindowResizer(nullptr);
    EXPECT_EQ(frame.resizeView(&view, &size), kResultOk);
    EXPECT_EQ(log, "onSize 944x726;");
}

TEST(Vst3PlugFrameResize, RefusedAndBrokenSizesReachNeitherWindowNorView)
{
    std::string log;
    RecordingView view(log);
    host::Vst3PlugFrame frame;
    bool accept = false;
    frame.setWindowResizer([&](int, int) {
        log += "window;";
        return accept;
    });
    ViewRect size(0, 0, 629, 484);
    EXPECT_EQ(frame.resizeView(&view, &size), kResultFalse);
    EXPECT_EQ(log, "window;") << "a window that cannot take the size leaves the view as it is";

    log.clear();
    accept = true;
    for (ViewRect broken : {ViewRect(0, 0, 0, 484), ViewRect(0, 0, 629, -1), ViewRect(100, 0, 50, 484),
                            ViewRect(0, 0, 100000, 484)})
        EXPECT_EQ(frame.resizeView(&view, &broken), kInvalidArgument);
    EXPECT_EQ(frame.resizeView(nullptr, &size), kInvalidArgument);
    EXPECT_EQ(frame.resizeView(&view, nullptr), kInvalidArgument);
    EXPECT_EQ(log, "");
}

} // namespace
