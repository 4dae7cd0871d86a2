// The editor's window resized in place for a new zoom, and the DPI awareness
// it is created with.
#include "gui/GuiFrame.h"
#include "gui/win32/ThreadDpiAwareness.h"
#include "gui/win32/Win32Window.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace grelmond;

namespace {

LRESULT CALLBACK plainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND makeHost(int width, int height)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = plainProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "GrelmondResizeHost";
    RegisterClassA(&windowClass); // a second registration fails harmlessly
    return CreateWindowExA(0, "GrelmondResizeHost", "host", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

using GetContext = HANDLE(WINAPI*)();
using SameContexts = BOOL(WINAPI*)(HANDLE, HANDLE);

template <typename Function>
Function user32(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

} // namespace

TEST(WindowResize, TheFramesWindowKeepsItsHandleAndTakesTheNewSize)
{
    HWND host = makeHost(1258, 968);
    ASSERT_NE(host, nullptr);
    {
        GuiFrame frame({0, 0, 629, 484}, host, nullptr);
        ASSERT_TRUE(frame.isOpen());
        auto* window = static_cast<Win32Window*>(frame.window());
        const HWND handle = window->handle();

        ASSERT_TRUE(frame.resize(1258, 968));
        EXPECT_EQ(window->handle(), handle) << "the host's child window lives on";
        RECT client{};
        GetClientRect(handle, &client);
        EXPECT_EQ(client.right, 1258);
        EXPECT_EQ(client.bottom, 968);
        EXPECT_EQ(window->surface()->width, 1258);
        EXPECT_EQ(frame.size().bottom, 968);
        EXPECT_FALSE(frame.resize(0, 968)) << "no empty window";
        EXPECT_EQ(window->surface()->width, 1258);
    }
    DestroyWindow(host);
}

TEST(WindowResize, DpiAwarenessIsTheThreadsOnlyWhileTheWindowIsMade)
{
    const auto get = user32<GetContext>("GetThreadDpiAwarenessContext");
    const auto same = user32<SameContexts>("AreDpiAwarenessContextsEqual");
    if (get == nullptr || same == nullptr) {
        const ThreadDpiAwareness none;
        EXPECT_FALSE(none.active()) << "nothing to change where Windows has no per-thread awareness";
        GTEST_SKIP() << "this Windows has no per-thread DPI awareness";
    }
    const HANDLE before = get();
    {
        const ThreadDpiAwareness perMonitor;
        ASSERT_TRUE(perMonitor.active());
        const HANDLE during = get();
        EXPECT_TRUE(same(during, reinterpret_cast<HANDLE>(-4)) || same(during, reinterpret_cast<HANDLE>(-3)));
    }
    EXPECT_TRUE(same(get(), before)) << "the host's thread gets its awareness back";
}
