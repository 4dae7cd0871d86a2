#pragma once

#include <cstdint>

namespace grelmond {

struct GuiPoint {
    int x = 0;
    int y = 0;
    bool operator==(const GuiPoint&) const = default;
};

// Left, top, right, bottom; right and bottom are part of the rectangle for hit tests.
struct GuiRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(GuiPoint p) const
    {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
    GuiRect offsetBy(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    bool operator==(const GuiRect&) const = default;
};

// Red, green, blue and a fourth byte that drawing ignores.
struct GuiColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t unused = 0;
    bool sameRgb(const GuiColor& o) const { return red == o.red && green == o.green && blue == o.blue; }
    bool operator==(const GuiColor&) const = default;
};

// Mouse-state bits as the controls read them.
enum MouseBits : int {
    kMouseLeft = 1,
    kMouseMiddle = 2,
    kMouseRight = 4,
    kMouseShift = 8,
    kMouseControl = 16,
    kMouseAlt = 32,
};

// Text face bits.
enum FontFace : int {
    kFaceBold = 1,
    kFaceItalic = 2,
    kFaceUnderline = 4,
};

enum class GuiKey {
    Character, // 'character' holds the byte to insert
    Left,
    Right,
    Home,
    End,
    Backspace,
    Delete,
    Enter,
    Escape,
    Up,
    Down,
    Other,
};

struct GuiKeyEvent {
    GuiKey key = GuiKey::Other;
    unsigned char character = 0;
    bool shift = false;
};

} // namespace grelmond
