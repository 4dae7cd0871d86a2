#include "EditorWindow.h"

#include "LoadedPlugin.h"

#include <cstdio>
#include <windows.h>

namespace host {

namespace {

constexpr UINT kIdleTimer = 1;
constexpr UINT kIdleMs = 40;
constexpr const char* kClassName = "GrelmondHostWindow";

LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND makeTopLevel(int width, int height)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = hostWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    RegisterClassA(&windowClass);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, width, height};
    AdjustWindowRect(&frame, style, FALSE);
    HWND window = CreateWindowExA(0, kClassName, "Grelmond", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (window)
        ShowWindow(window, SW_SHOW);
    return window;
}

} // namespace

int runEditorWindow(const std::string& pluginPath, float sampleRate, int blockSize)
{
    LoadedPlugin plugin;
    if (!plugin.load(pluginPath, sampleRate, blockSize)) {
        std::fprintf(stderr, "grelmond-host: %s\n", plugin.error().c_str());
        return 1;
    }
    if ((plugin.effect()->flags & vst::effFlagsHasEditor) == 0) {
        std::fprintf(stderr, "grelmond-host: the plug-in has no editor\n");
        return 1;
    }
    vst::ERect* rect = nullptr;
    if (plugin.dispatch(vst::effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr ||
        rect->right <= rect->left || rect->bottom <= rect->top) {
        std::fprintf(stderr, "grelmond-host: the plug-in gives no editor size\n");
        return 1;
    }
    HWND window = makeTopLevel(rect->right - rect->left, rect->bottom - rect->top);
    if (!window) {
        std::fprintf(stderr, "grelmond-host: cannot make a window\n");
        return 1;
    }
    if (plugin.dispatch(vst::effEditOpen, 0, 0, window) == 0) {
        std::fprintf(stderr, "grelmond-host: the editor did not open\n");
        DestroyWindow(window);
        return 1;
    }
    SetTimer(window, kIdleTimer, kIdleMs, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == window)
            plugin.dispatch(vst::effEditIdle);
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // The window is gone (and the editor's child with it); the editor still closes as hosts do it.
    plugin.dispatch(vst::effEditClose);
    plugin.unload();
    return 0;
}

} // namespace host
