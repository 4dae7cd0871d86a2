#include "EditorWindow.h"

#include "Instrument.h"

#include <algorithm>
#include <cstdio>
#include <windows.h>

namespace host {

namespace {

constexpr UINT kIdleTimer = 1;
constexpr UINT kIdleMs = 40;
constexpr DWORD kCycleMs = 500;
constexpr const char* kClassName = "GrelmondHostWindow";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The window's user data points at the flag its close box sets; the editor is
// closed before the window goes, as hosts do.
LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        if (auto* closed = reinterpret_cast<bool*>(GetWindowLongPtrA(window, GWLP_USERDATA)))
            *closed = true;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

SIZE frameSize(int width, int height)
{
    RECT frame{0, 0, width, height};
    AdjustWindowRect(&frame, kStyle, FALSE);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

HWND makeTopLevel(int width, int height, bool* closed)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = hostWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    RegisterClassA(&windowClass); // a second registration fails harmlessly
    const SIZE outer = frameSize(width, height);
    HWND window = CreateWindowExA(0, kClassName, "Grelmond", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, outer.cx, outer.cy,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window) {
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(closed));
        ShowWindow(window, SW_SHOW);
    }
    return window;
}

void resizeTopLevel(HWND window, int width, int height)
{
    const SIZE outer = frameSize(width, height);
    SetWindowPos(window, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Serves the thread's messages (the editor's own timers among them), idling the
// editor on the host's timer, until the window is closed or `endTick` passes (0: never).
void runMessages(Instrument& plugin, HWND window, const bool& closed, DWORD endTick)
{
    SetTimer(window, kIdleTimer, kIdleMs, nullptr);
    while (!closed) {
        if (endTick != 0 && static_cast<LONG>(GetTickCount() - endTick) >= 0)
            break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kIdleMs, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_TIMER && message.hwnd == window && message.wParam == kIdleTimer) {
                plugin.idleEditor();
                const auto [width, height] = plugin.takeEditorSizeRequest();
                if (width > 0)
                    resizeTopLevel(window, width, height);
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    KillTimer(window, kIdleTimer);
}

// One opening of the editor: until the user closes the window, or for one cycle.
int showEditor(Instrument& plugin, bool oneCycle)
{
    int width = 0, height = 0;
    if (!plugin.editorSize(width, height)) {
        std::fprintf(stderr, "grelmond-host: the plug-in has no editor\n");
        return 1;
    }
    bool closed = false;
    HWND window = makeTopLevel(width, height, &closed);
    if (!window) {
        std::fprintf(stderr, "grelmond-host: cannot make a window\n");
        return 1;
    }
    plugin.setEditorWindowResizer([window](int w, int h) {
        resizeTopLevel(window, w, h);
        return true;
    });
    if (!plugin.openEditor(window)) {
        std::fprintf(stderr, "grelmond-host: the editor did not open\n");
        plugin.setEditorWindowResizer(nullptr);
        DestroyWindow(window);
        return 1;
    }
    runMessages(plugin, window, closed, oneCycle ? GetTickCount() + kCycleMs : 0);
    plugin.closeEditor();
    plugin.setEditorWindowResizer(nullptr);
    DestroyWindow(window);
    return 0;
}

} // namespace

int runEditorWindow(const std::string& pluginPath, float sampleRate, int blockSize, int cycles)
{
    std::string error;
    std::unique_ptr<Instrument> plugin = openInstrument(pluginPath, sampleRate, blockSize, error);
    if (plugin == nullptr) {
        std::fprintf(stderr, "grelmond-host: %s\n", error.c_str());
        return 1;
    }
    int result = 0;
    for (int cycle = 0; cycle < std::max(cycles, 1) && result == 0; ++cycle)
        result = showEditor(*plugin, cycles > 0);
    plugin.reset();
    return result;
}

} // namespace host
