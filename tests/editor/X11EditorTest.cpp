// gtest first: the X11 headers define macros that clash with its names.
#include <gtest/gtest.h>

#include "OpenFiles.h"
#include "PluginLoader.h"
#include "PrivateXServer.h"
#include "ResidentSize.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <thread>

namespace {

using namespace vst;
using testsupport::openFileCount;

// A host with a real X window on a server of its own: the plug-in's editor is
// embedded through effEditOpen, and XTest moves the real pointer.
struct X11EditorTest : ::testing::Test {
    testsupport::PrivateXServer server;
    Display* dpy = nullptr;
    Window parent = 0;
    testsupport::PluginLoader loader;
    testsupport::ScriptedHost host;
    std::unique_ptr<testsupport::PluginInstance> plugin;

    void SetUp() override
    {
        ASSERT_FALSE(server.display.empty()) << "Xvfb did not start";
        setenv("DISPLAY", server.display.c_str(), 1); // the editor opens its own connection to it
        dpy = XOpenDisplay(nullptr);
        ASSERT_NE(dpy, nullptr);
        parent = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 10, 10, 629, 484, 0, 0, 0);
        XMapWindow(dpy, parent);
        XSync(dpy, False);
        ASSERT_TRUE(loader.loaded()) << loader.error();
        plugin = loader.create(&host);
        ASSERT_NE(plugin, nullptr);
    }
    void TearDown() override
    {
        if (plugin)
            plugin->dispatch(effSetEditKnobMode, 0, 0);
        plugin.reset();
        if (dpy)
            XCloseDisplay(dpy);
    }

    void* parentHandle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(parent)); }
    unsigned childCount()
    {
        Window root, up, *children = nullptr;
        unsigned count = 0;
        XQueryTree(dpy, parent, &root, &up, &children, &count);
        if (children)
            XFree(children);
        return count;
    }
    void moveTo(int x, int y)
    {
        XTestFakeMotionEvent(dpy, DefaultScreen(dpy), 10 + x, 10 + y, CurrentTime);
        XSync(dpy, False);
    }
    void button(bool down)
    {
        XTestFakeButtonEvent(dpy, 1, down, CurrentTime);
        XSync(dpy, False);
    }
};

TEST_F(X11EditorTest, KnobDraggedWithThePointerAutomatesItsParameter)
{
    plugin->dispatch(effSetEditKnobMode, 0, 2); // linear: 200 pixels cover the range
    plugin->setParameter(63, 0.5f);
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, parentHandle()), 1);
    EXPECT_EQ(childCount(), 1u);

    // The knob tracks the pointer inside the editor's idle; the host's idle
    // callback, made from there, moves the pointer and lets go.
    int hostIdles = 0;
    const int x = 530, y = 408; // the main volume knob's centre
    host.handler = [&](const testsupport::HostCall& call, void*, VstIntPtr&) {
        if (call.opcode == audioMasterIdle && ++hostIdles == 1)
            moveTo(x, y - 40);
        else if (call.opcode == audioMasterIdle && hostIdles == 3)
            button(false);
        return false;
    };
    moveTo(x, y);
    button(true);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (host.count(audioMasterEndEdit) == 0 && std::chrono::steady_clock::now() < end) {
        plugin->dispatch(effEditIdle);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    host.handler = nullptr;

    EXPECT_NEAR(plugin->getParameter(63), 0.7f, 0.01f);
    int automated = 0;
    for (const testsupport::HostCall& call : host.calls) {
        automated += call.opcode == audioMasterAutomate && call.index == 63;
        if (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterEndEdit) {
            EXPECT_EQ(call.index, 63);
        }
    }
    EXPECT_GT(automated, 0);
    plugin->dispatch(effEditClose);
    EXPECT_EQ(childCount(), 0u);
}

TEST_F(X11EditorTest, OpenedAndClosedFiftyTimesLeavesNothingBehind)
{
    auto openEditAndClose = [&](int i) {
        ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, parentHandle()), 1);
        plugin->setParameter(i, 0.5f);
        plugin->dispatch(effEditIdle);
        plugin->dispatch(effEditIdle);
        plugin->dispatch(effEditClose);
    };
    openEditAndClose(0);
    const int files = openFileCount();
    // The first rounds fill caches that live as long as the process.
    for (int i = 0; i < 10; ++i)
        openEditAndClose(i);
    const long resident = testsupport::residentKilobytes();
    for (int i = 0; i < 50; ++i)
        openEditAndClose(i);
    if (testsupport::kResidentSizeTracksLeaks) {
        EXPECT_LT(testsupport::residentKilobytes() - resident, 64) << "KiB the process grew by over fifty rounds";
    }
    EXPECT_EQ(childCount(), 0u);
    EXPECT_EQ(openFileCount(), files);
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t(0x7ffffff0))), 0)
        << "no such window";
}

} // namespace
