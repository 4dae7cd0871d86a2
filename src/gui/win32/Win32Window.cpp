#include "gui/win32/Win32Window.h"

#include "gui/GuiFonts.h"
#include "gui/win32/ThreadDpiAwareness.h"
#include "platform/win32/ModuleHandle.h"

#include <cstdio>

namespace grelmond {

namespace {

// Posted by the edit control to its frame window, so that it is never destroyed
// inside its own window procedure.
constexpr UINT kEditCommit = WM_APP + 1;
constexpr UINT kEditFocusLost = WM_APP + 2;
constexpr const char* kOwnerProperty = "GrelmondEditOwner";

// Process-wide: the frames that use the window class. Only touched on the UI thread.
int gClassUsers = 0;
char gClassName[32] = {};

const char* ensureClassName()
{
    if (!gClassName[0])
        std::snprintf(gClassName, sizeof gClassName, "Plugin%08x",
                      unsigned(reinterpret_cast<uintptr_t>(platform::moduleHandle())));
    return gClassName;
}

bool registerClass(WNDPROC procedure)
{
    if (gClassUsers++ > 0)
        return true;
    WNDCLASSA windowClass{};
    windowClass.style = CS_GLOBALCLASS | CS_OWNDC;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = platform::moduleHandle();
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = ensureClassName();
    if (RegisterClassA(&windowClass))
        return true;
    --gClassUsers;
    return false;
}

void unregisterClass()
{
    if (gClassUsers > 0 && --gClassUsers == 0)
        UnregisterClassA(ensureClassName(), platform::moduleHandle());
}

bool held(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

int modifierBits()
{
    int bits = 0;
    if (held(VK_SHIFT)) bits |= kMouseShift;
    if (held(VK_CONTROL)) bits |= kMouseControl;
    if (held(VK_MENU)) bits |= kMouseAlt;
    return bits;
}

// Button bits of a mouse message's key state, the pressed button included.
int messageButtons(WPARAM keys)
{
    int bits = modifierBits();
    if (keys & MK_LBUTTON) bits |= kMouseLeft;
    if (keys & MK_MBUTTON) bits |= kMouseMiddle;
    if (keys & MK_RBUTTON) bits |= kMouseRight;
    if (keys & MK_SHIFT) bits |= kMouseShift;
    if (keys & MK_CONTROL) bits |= kMouseControl;
    return bits;
}

GuiPoint messagePoint(LPARAM lParam)
{
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

} // namespace

int Win32Window::classUsers() { return gClassUsers; }

const char* Win32Window::className() { return ensureClassName(); }

std::unique_ptr<Win32Window> Win32Window::create(void* parentWindow, int width, int height)
{
    HWND parent = static_cast<HWND>(parentWindow);
    if (!parent || !IsWindow(parent) || width <= 0 || height <= 0)
        return nullptr;
    if (!registerClass(windowProc))
        return nullptr;
    HWND window = nullptr;
    {
        const ThreadDpiAwareness perMonitor; // the window takes the awareness of its creation
        window = CreateWindowExA(0, ensureClassName(), "Window", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width,
                                 height, parent, nullptr, platform::moduleHandle(), nullptr);
    }
    if (!window) {
        unregisterClass();
        return nullptr;
    }
    auto made = std::unique_ptr<Win32Window>(new Win32Window(parent, window, width, height));
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(made.get()));
    return made;
}

Win32Window::Win32Window(HWND parent, HWND window, int width, int height) : parent_(parent), window_(window)
{
    // The class's own DC lives as long as the window.
    surface_.dc = GetDC(window_);
    surface_.width = width;
    surface_.height = height;
}

Win32Window::~Win32Window()
{
    endNativeEdit();
    if (!closed_) {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        ReleaseDC(window_, surface_.dc);
        DestroyWindow(window_);
    }
    unregisterClass();
}

bool Win32Window::resize(int width, int height)
{
    if (closed_ || width <= 0 || height <= 0)
        return false;
    if (!SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE))
        return false;
    surface_.width = width;
    surface_.height = height;
    InvalidateRect(window_, nullptr, FALSE);
    return true;
}

LRESULT CALLBACK Win32Window::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        if (!GetUpdateRect(window_, nullptr, FALSE))
            return 0;
        PAINTSTRUCT paint;
        BeginPaint(window_, &paint);
        if (events_)
            events_->onPaint();
        EndPaint(window_, &paint);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (events_)
            events_->onMouseDown(messagePoint(lParam), messageButtons(wParam));
        return 0;
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT leave{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window_, 0};
        TrackMouseEvent(&leave); // so that leaving the window is reported too
        if (events_ && (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0)
            events_->onMouseMove(messagePoint(lParam));
        return 0;
    }
    case WM_MOUSELEAVE:
        if (events_)
            events_->onMouseMove({-1, -1});
        return 0;
    case WM_MOUSEWHEEL:
        if (events_)
            events_->onWheelEvent(float(GET_WHEEL_DELTA_WPARAM(wParam)) / WHEEL_DELTA);
        return 0;
    case WM_KEYDOWN:
        onKeyDown(wParam);
        return 0;
    case WM_CHAR:
        onChar(wParam);
        return 0;
    case WM_KILLFOCUS:
        // Handing the keyboard to our own edit control is no loss.
        if (events_ && (!edit_ || HWND(wParam) != edit_))
            events_->onFocusLost();
        return 0;
    case kEditCommit:
        if (events_ && edit_) {
            GuiKeyEvent enter;
            enter.key = GuiKey::Enter;
            events_->onKey(enter);
        }
        return 0;
    case kEditFocusLost:
        if (events_ && edit_ && GetFocus() != edit_)
            events_->onFocusLost();
        return 0;
    case WM_CTLCOLOREDIT:
        if (edit_ && HWND(lParam) == edit_) {
            HDC dc = HDC(wParam);
            SetTextColor(dc, editText_);
            SetBkColor(dc, editBack_);
            return LRESULT(editBrush_);
        }
        return DefWindowProcA(window_, message, wParam, lParam);
    case WM_DESTROY:
        // The host destroyed its window, and ours with it.
        closed_ = true;
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        if (events_)
            events_->onWindowDestroyed();
        return 0;
    default:
        return DefWindowProcA(window_, message, wParam, lParam);
    }
}

bool Win32Window::beginNativeEdit(const GuiRect& rect, const std::string& text, int fontId, int fontHeight,
                                  GuiColor fontColor, GuiColor backColor)
{
    if (closed_ || edit_)
        return false;
    edit_ = CreateWindowExA(0, "EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, rect.left, rect.top,
                            rect.width(), rect.height(), window_, nullptr, platform::moduleHandle(), nullptr);
    if (!edit_)
        return false;
    const GuiFontSpec& font = fontSpec(fontId);
    editFont_ = CreateFontA(-(fontHeight > 0 ? fontHeight : font.height), 0, 0, 0, font.alwaysBold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            VARIABLE_PITCH | (font.decorative ? FF_DECORATIVE : FF_SWISS), font.face);
    editText_ = RGB(fontColor.red, fontColor.green, fontColor.blue);
    editBack_ = RGB(backColor.red, backColor.green, backColor.blue);
    editBrush_ = CreateSolidBrush(editBack_);
    SendMessageA(edit_, WM_SETFONT, WPARAM(editFont_), FALSE);
    SendMessageA(edit_, EM_LIMITTEXT, 255, 0);
    SendMessageA(edit_, EM_SETSEL, 0, -1);
    SetPropA(edit_, kOwnerProperty, HANDLE(this));
    editDefault_ = WNDPROC(SetWindowLongPtrA(edit_, GWLP_WNDPROC, LONG_PTR(&Win32Window::editProc)));
    SetFocus(edit_);
    return true;
}

std::string Win32Window::endNativeEdit()
{
    if (!edit_)
        return {};
    char text[256] = {};
    GetWindowTextA(edit_, text, sizeof text);
    HWND edit = edit_;
    edit_ = nullptr; // its focus loss while being destroyed is no longer ours
    if (GetFocus() == edit && !closed_)
        SetFocus(parent_);
    SetWindowLongPtrA(edit, GWLP_WNDPROC, LONG_PTR(editDefault_));
    RemovePropA(edit, kOwnerProperty);
    if (!closed_)
        DestroyWindow(edit);
    DeleteObject(editFont_);
    DeleteObject(editBrush_);
    editFont_ = nullptr;
    editBrush_ = nullptr;
    return text;
}

LRESULT CALLBACK Win32Window::editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<Win32Window*>(GetPropA(edit, kOwnerProperty));
    if (!self)
        return DefWindowProcA(edit, message, wParam, lParam);
    if (message == WM_CHAR && (wParam == '\r' || wParam == 27)) {
        if (wParam == '\r')
            PostMessageA(self->window_, kEditCommit, 0, 0);
        return 0; // no beep; Escape does nothing, as in the toolkit's own editor
    }
    if (message == WM_KILLFOCUS)
        PostMessageA(self->window_, kEditFocusLost, 0, 0);
    return CallWindowProcA(self->editDefault_, edit, message, wParam, lParam);
}

void Win32Window::onKeyDown(WPARAM key)
{
    GuiKeyEvent event;
    event.shift = held(VK_SHIFT);
    switch (key) {
    case VK_LEFT: event.key = GuiKey::Left; break;
    case VK_RIGHT: event.key = GuiKey::Right; break;
    case VK_HOME: event.key = GuiKey::Home; break;
    case VK_END: event.key = GuiKey::End; break;
    case VK_DELETE: event.key = GuiKey::Delete; break;
    case VK_UP: event.key = GuiKey::Up; break;
    case VK_DOWN: event.key = GuiKey::Down; break;
    default: return; // characters, Backspace, Enter and Escape come as WM_CHAR
    }
    if (events_)
        events_->onKey(event);
}

void Win32Window::onChar(WPARAM character)
{
    GuiKeyEvent event;
    event.shift = held(VK_SHIFT);
    if (character == '\b')
        event.key = GuiKey::Backspace;
    else if (character == '\r')
        event.key = GuiKey::Enter;
    else if (character == 27)
        event.key = GuiKey::Escape;
    else if (character >= 32 && character < 256) {
        event.key = GuiKey::Character;
        event.character = static_cast<unsigned char>(character);
    } else
        return;
    if (events_)
        events_->onKey(event);
}

int Win32Window::mouseButtons()
{
    if (closed_)
        return 0;
    // With swapped buttons the physical keys say the opposite of what the user means.
    const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    int bits = modifierBits();
    if (held(swapped ? VK_RBUTTON : VK_LBUTTON)) bits |= kMouseLeft;
    if (held(VK_MBUTTON)) bits |= kMouseMiddle;
    if (held(swapped ? VK_LBUTTON : VK_RBUTTON)) bits |= kMouseRight;
    return bits;
}

GuiPoint Win32Window::mouseLocation()
{
    if (closed_)
        return {};
    POINT cursor{};
    GetCursorPos(&cursor);
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    return {int(cursor.x - origin.x), int(cursor.y - origin.y)};
}

bool Win32Window::waitDoubleClick()
{
    const DWORD start = DWORD(GetMessageTime());
    const DWORD limit = GetDoubleClickTime();
    while (!closed_ && GetTickCount() - start < limit) {
        MSG message;
        if (PeekMessageA(&message, window_, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE))
            return true;
        Sleep(5);
    }
    return false;
}

void Win32Window::processEvents()
{
    MSG message;
    while (!closed_ && PeekMessageA(&message, window_, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void Win32Window::flush()
{
    if (!closed_)
        GdiFlush();
}

void Win32Window::takeKeyboardFocus()
{
    if (!closed_)
        SetFocus(window_);
}

void Win32Window::releaseKeyboardFocus()
{
    if (!closed_ && GetFocus() == window_)
        SetFocus(parent_);
}

} // namespace grelmond
