#include "PluginLoader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <set>
#include <windows.h>

using namespace vst;

namespace {

constexpr int kHostX = 10, kHostY = 10;

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// A host's top-level window for the editor, placed at a known spot of the screen.
HWND makeHostWindow(int width, int height)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = hostProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "GrelmondTestHost";
    RegisterClassA(&windowClass); // a second registration fails harmlessly
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "GrelmondTestHost", "host", WS_POPUP | WS_VISIBLE, kHostX, kHostY,
                                  width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(window);
    return window;
}

void pumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// The window class the toolkit names after the library's module handle.
std::string toolkitClass(HMODULE library)
{
    char name[32];
    std::snprintf(name, sizeof name, "Plugin%08x", unsigned(reinterpret_cast<uintptr_t>(library)));
    return name;
}

bool classRegistered(HMODULE library)
{
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    return GetClassInfoExA(library, toolkitClass(library).c_str(), &info) != 0;
}

void leftButton(bool down)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
}

BOOL CALLBACK countWindow(HWND window, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(window, countWindow, count);
    return TRUE;
}

// Wine answers GetGuiResources with 0, so the windows of this thread are counted as well.
struct GuiCounts {
    DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    int windows = [] {
        int count = 0;
        EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&count));
        return count;
    }();
};

struct EditorWindowTest : ::testing::Test {
    testsupport::PluginLoader loader;
    testsupport::ScriptedHost host;
    std::unique_ptr<testsupport::PluginInstance> plugin;
    HWND hostWindow = nullptr;
    HMODULE library = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(loader.loaded()) << loader.error();
        library = GetModuleHandleA("Grelmond.dll");
        ASSERT_NE(library, nullptr);
        plugin = loader.create(&host);
        ASSERT_NE(plugin, nullptr);
        ERect* rect = nullptr;
        ASSERT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 1);
        hostWindow = makeHostWindow(rect->right - rect->left, rect->bottom - rect->top);
        ASSERT_NE(hostWindow, nullptr);
        pumpMessages();
    }
    void TearDown() override
    {
        if (plugin) {
            plugin->dispatch(effSetEditKnobMode, 0, 0);
            plugin->dispatch(effEditClose);
        }
        plugin.reset();
        if (hostWindow)
            DestroyWindow(hostWindow);
        pumpMessages();
    }

    HWND editorChild() { return FindWindowExA(hostWindow, nullptr, toolkitClass(library).c_str(), "Window"); }

    void idleFor(int milliseconds)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (std::chrono::steady_clock::now() < end) {
            pumpMessages();
            plugin->dispatch(effEditIdle);
            Sleep(10);
        }
    }
};

} // namespace

TEST_F(EditorWindowTest, OpensAsAPaintedChildOfTheHostsWindow)
{
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, hostWindow), 1);
    HWND child = editorChild();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetParent(child), hostWindow);
    EXPECT_TRUE(classRegistered(library));
    idleFor(300);

    // The background picture was drawn: many colours, not the class's plain brush.
    HDC dc = GetDC(child);
    std::set<COLORREF> colours;
    for (int y = 20; y < 480; y += 37)
        for (int x = 20; x < 620; x += 41)
            colours.insert(GetPixel(dc, x, y));
    ReleaseDC(child, dc);
    EXPECT_GE(colours.size(), 4u);

    plugin->dispatch(effEditClose);
    pumpMessages();
    EXPECT_EQ(editorChild(), nullptr);
    EXPECT_FALSE(classRegistered(library)) << "the last frame unregisters the class";
}

TEST_F(EditorWindowTest, KnobDraggedWithTheMouseAutomatesItsParameter)
{
    plugin->dispatch(effSetEditKnobMode, 0, 2); // linear: 200 pixels cover the range
    plugin->setParameter(63, 0.5f);
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, hostWindow), 1);
    idleFor(200);

    // The knob tracks the mouse inside the press; the host idle it calls from
    // there moves the cursor up 40 pixels and lets go.
    const int x = kHostX + 530, y = kHostY + 408; // the main volume knob's centre
    int hostIdles = 0;
    host.handler = [&](const testsupport::HostCall& call, void*, VstIntPtr&) {
        if (call.opcode == audioMasterIdle && ++hostIdles == 1)
            SetCursorPos(x, y - 40);
        else if (call.opcode == audioMasterIdle && hostIdles == 3)
            leftButton(false);
        return false;
    };
    SetCursorPos(x, y);
    leftButton(true);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (host.count(audioMasterEndEdit) == 0 && std::chrono::steady_clock::now() < end) {
        pumpMessages();
        plugin->dispatch(effEditIdle);
        Sleep(10);
    }
    host.handler = nullptr;
    leftButton(false);

    EXPECT_NEAR(plugin->getParameter(63), 0.7f, 0.01f);
    EXPECT_EQ(host.count(audioMasterBeginEdit), 1);
    EXPECT_EQ(host.count(audioMasterEndEdit), 1);
}

TEST_F(EditorWindowTest, TwoEditorsShareTheClassAndManyOpeningsLeaveNothingBehind)
{
    auto second = loader.create(&host);
    ASSERT_NE(second, nullptr);
    HWND secondHost = makeHostWindow(629, 484);
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, hostWindow), 1);
    ASSERT_EQ(second->dispatch(effEditOpen, 0, 0, secondHost), 1);
    plugin->dispatch(effEditClose);
    EXPECT_TRUE(classRegistered(library)) << "still used by the second editor";
    second->dispatch(effEditClose);
    EXPECT_FALSE(classRegistered(library));
    second->close();
    second.release();
    DestroyWindow(secondHost);
    pumpMessages();

    // One cycle first: caches filled once (bitmaps, fonts) are not leaks.
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, hostWindow), 1);
    idleFor(50);
    plugin->dispatch(effEditClose);
    pumpMessages();
    const GuiCounts before;
    for (int cycle = 0; cycle < 50; ++cycle) {
        ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, hostWindow), 1);
        pumpMessages();
        plugin->dispatch(effEditIdle);
        plugin->dispatch(effEditClose);
        pumpMessages();
    }
    const GuiCounts after;
    EXPECT_EQ(after.gdi, before.gdi) << "GDI objects";
    EXPECT_EQ(after.user, before.user) << "USER objects";
    EXPECT_EQ(after.windows, before.windows) << "windows";
    EXPECT_EQ(editorChild(), nullptr);
    EXPECT_FALSE(classRegistered(library));
    std::printf("before/after 50 cycles: GDI objects %lu/%lu, USER objects %lu/%lu, windows %d/%d\n", before.gdi,
                after.gdi, before.user, after.user, before.windows, after.windows);
}

// The zoom a user chose is kept in the installation folder's grldefault.cfg;
// the next instance opens at it, on GDI as on cairo.
TEST_F(EditorWindowTest, AtTheRememberedDoubleZoomTheEditorFillsItsSizeAndKnobsDragAlike)
{
    const char* folder = std::getenv("GRELMOND_INSTALL_PATH");
    ASSERT_NE(folder, nullptr);
    const std::string config = std::string(folder) + "\\grldefault.cfg";
    std::string saved;
    if (FILE* f = std::fopen(config.c_str(), "rb")) {
        char buffer[2048];
        saved.assign(buffer, std::fread(buffer, 1, sizeof buffer, f));
        std::fclose(f);
    }
    std::string zoomed(1024, '\0'); // the remembered folder kept, the zoom beside it
    const size_t folderLength = std::min({saved.find('\0'), saved.size(), size_t(1000)});
    zoomed.replace(0, folderLength, saved.substr(0, folderLength));
    zoomed.replace(1008, 8, "zoom=200");
    if (FILE* f = std::fopen(config.c_str(), "wb")) {
        std::fwrite(zoomed.data(), 1, zoomed.size(), f);
        std::fclose(f);
    }
    auto zoomedPlugin = loader.create(&host);
    ERect* rect = nullptr;
    ASSERT_EQ(zoomedPlugin->dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right - rect->left, 1258);
    EXPECT_EQ(rect->bottom - rect->top, 968);
    DestroyWindow(hostWindow);
    hostWindow = makeHostWindow(1258, 968);
    zoomedPlugin->dispatch(effSetEditKnobMode, 0, 2);
    zoomedPlugin->setParameter(63, 0.5f);
    ASSERT_EQ(zoomedPlugin->dispatch(effEditOpen, 0, 0, hostWindow), 1);
    for (int i = 0; i < 20; ++i) {
        pumpMessages();
        zoomedPlugin->dispatch(effEditIdle);
        Sleep(10);
    }
    HWND child = editorChild();
    ASSERT_NE(child, nullptr);
    RECT client{};
    GetClientRect(child, &client);
    EXPECT_EQ(client.right, 1258);
    EXPECT_EQ(client.bottom, 968);
    HDC dc = GetDC(child);
    std::set<COLORREF> colours; // the lower right quarter is drawn too, not left blank
    for (int y = 500; y < 960; y += 37)
        for (int x = 640; x < 1250; x += 41)
            colours.insert(GetPixel(dc, x, y));
    ReleaseDC(child, dc);
    EXPECT_GE(colours.size(), 4u);

    // The same 40-pixel hand movement as at 1x turns the main volume knob as far.
    const int x = kHostX + 1061, y = kHostY + 817;
    int hostIdles = 0;
    host.handler = [&](const testsupport::HostCall& call, void*, VstIntPtr&) {
        if (call.opcode == audioMasterIdle && ++hostIdles == 1)
            SetCursorPos(x, y - 40);
        else if (call.opcode == audioMasterIdle && hostIdles == 3)
            leftButton(false);
        return false;
    };
    const int ended = host.count(audioMasterEndEdit);
    SetCursorPos(x, y);
    leftButton(true);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (host.count(audioMasterEndEdit) == ended && std::chrono::steady_clock::now() < end) {
        pumpMessages();
        zoomedPlugin->dispatch(effEditIdle);
        Sleep(10);
    }
    host.handler = nullptr;
    leftButton(false);
    EXPECT_NEAR(zoomedPlugin->getParameter(63), 0.7f, 0.01f);

    zoomedPlugin->dispatch(effSetEditKnobMode, 0, 0);
    zoomedPlugin->dispatch(effEditClose);
    zoomedPlugin.reset();
    if (saved.empty()) // leave the folder as it was
        std::remove(config.c_str());
    else if (FILE* f = std::fopen(config.c_str(), "wb")) {
        std::fwrite(saved.data(), 1, saved.size(), f);
        std::fclose(f);
    }
}
