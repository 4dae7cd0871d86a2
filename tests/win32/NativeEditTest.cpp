#include "gui/ControlListener.h"
#include "gui/GuiFrame.h"
#include "gui/TextField.h"
#include "gui/win32/Win32Window.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace grelmond;

namespace {

LRESULT CALLBACK plainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

struct Reports : ControlListener {
    int count = 0;
    std::string last;
    void valueChanged(DrawContext&, GuiControl* control) override
    {
        ++count;
        last = static_cast<TextField*>(control)->getText();
    }
};

void pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// A frame in a host window with one editable text field at (10, 10)-(110, 30).
struct NativeEditTest : ::testing::Test {
    HWND host = nullptr;
    Reports reports;
    std::unique_ptr<GuiFrame> frame;
    TextField* field = nullptr;

    void SetUp() override
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = plainProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "GrelmondEditHost";
        RegisterClassA(&windowClass);
        host = CreateWindowExA(0, "GrelmondEditHost", "host", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(host, nullptr);
        frame = std::make_unique<GuiFrame>(GuiRect{0, 0, 200, 100}, host, nullptr);
        ASSERT_TRUE(frame->isOpen());
        field = new TextField({10, 10, 110, 30}, &reports, 7, "Old name");
        frame->addView(field);
        pump();
    }
    void TearDown() override
    {
        frame.reset();
        if (host)
            DestroyWindow(host);
        pump();
    }

    HWND frameWindow() { return static_cast<Win32Window*>(frame->window())->handle(); }
    HWND editControl() { return FindWindowExA(frameWindow(), nullptr, "EDIT", nullptr); }
    void click(int x, int y)
    {
        PostMessageA(frameWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        pump();
    }
};

} // namespace

TEST_F(NativeEditTest, ClickOpensTheEditControlAndEnterCommitsItsText)
{
    click(50, 20);
    HWND edit = editControl();
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(field->isEditing());
    char text[64] = {};
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "Old name");
    EXPECT_EQ(GetFocus(), edit);

    SetWindowTextA(edit, "New name");
    PostMessageA(edit, WM_CHAR, '\r', 0);
    pump();
    EXPECT_EQ(editControl(), nullptr);
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(field->getText(), "New name");
    EXPECT_EQ(reports.count, 1);
    EXPECT_EQ(reports.last, "New name");
}

TEST_F(NativeEditTest, APressElsewhereCommitsAndAnUnchangedTextReportsNothing)
{
    click(50, 20);
    ASSERT_NE(editControl(), nullptr);
    click(150, 80);
    EXPECT_EQ(editControl(), nullptr);
    EXPECT_EQ(reports.count, 0) << "the text did not change";

    click(50, 20);
    ASSERT_NE(editControl(), nullptr);
    SetWindowTextA(editControl(), std::string(300, 'x').c_str());
    click(150, 80);
    EXPECT_EQ(reports.count, 1);
    EXPECT_EQ(field->getText().size(), TextField::kMaxText) << "the edit control holds at most 255 characters";
}

TEST_F(NativeEditTest, ClosingTheFrameWhileEditingLeavesNoEditControl)
{
    click(50, 20);
    ASSERT_NE(editControl(), nullptr);
    HWND window = frameWindow();
    frame.reset();
    pump();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(FindWindowExA(host, nullptr, nullptr, nullptr), nullptr);
}
