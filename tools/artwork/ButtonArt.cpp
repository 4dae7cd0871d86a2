#include "ButtonArt.h"

#include "Painter.h"

#include <cmath>
#include <functional>

namespace artwork {

namespace {
void setRgba(cairo_t* cr, Rgb c, double alpha) {
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

// A dark key cap filling the frame, lit from above; pressed caps sit lower and darker.
void drawCap(Painter& p, int top, int w, int h, bool pressed, Rgb surround) {
    cairo_t* cr = p.cr();
    p.fill(0, top, w, h, surround);
    p.setColour(palette::capEdge);
    cairo_new_path(cr);
    p.roundedRect(0, top, w, h, 2.5);
    cairo_fill(cr);
    cairo_pattern_t* shade = cairo_pattern_create_linear(0, top + 1, 0, top + h - 1);
    const Rgb upper = pressed ? palette::capDark : palette::capMid;
    const Rgb lower = pressed ? palette::capMid : palette::capDark;
    cairo_pattern_add_color_stop_rgb(shade, 0, upper.r / 255.0, upper.g / 255.0, upper.b / 255.0);
    cairo_pattern_add_color_stop_rgb(shade, 1, lower.r / 255.0, lower.g / 255.0, lower.b / 255.0);
    cairo_set_source(cr, shade);
    cairo_new_path(cr);
    p.roundedRect(1, top + 1, w - 2, h - 2, 1.5);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
    if (!pressed) { // a highlight along the top edge
        setRgba(cr, palette::cream, 0.22);
        cairo_rectangle(cr, 2, top + 1, w - 4, 1);
        cairo_fill(cr);
    }
}

void twoFrames(Image& image, const std::function<void(Painter&, int top, bool pressed)>& draw) {
    Painter p(image);
    const int h = image.height() / 2;
    for (int frame = 0; frame < 2; ++frame) {
        cairo_save(p.cr());
        cairo_rectangle(p.cr(), 0, frame * h, image.width(), h);
        cairo_clip(p.cr());
        draw(p, frame * h, frame == 1);
        cairo_restore(p.cr());
    }
}

// An open folder about 11 x 8 with its top-left corner at (x, y).
void drawFolder(Painter& p, int x, int y, Rgb ink) {
    cairo_t* cr = p.cr();
    // Back with its tab, as whole pixels.
    p.fill(x, y, 4, 1, ink);
    p.fill(x, y + 1, 9, 1, ink);
    p.fill(x, y + 1, 1, 7, ink);
    p.fill(x + 8, y + 1, 1, 2, ink);
    // The front flap leans forward.
    p.setColour(ink);
    cairo_new_path(cr);
    cairo_move_to(cr, x + 1, y + 8);
    cairo_line_to(cr, x + 3, y + 3);
    cairo_line_to(cr, x + 11, y + 3);
    cairo_line_to(cr, x + 9, y + 8);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void drawFileButton(Painter& p, int top, bool pressed, int w, const char* number) {
    drawCap(p, top, w, 13, pressed, palette::face);
    const int shift = pressed ? 1 : 0;
    const Rgb ink = pressed ? palette::amber : palette::cream;
    TextStyle digits{9, true, ink, 0};
    const double numberWidth = p.textWidth(number, digits);
    const int numberLeft = 3;
    p.text(number, numberLeft + shift, top + 10 + shift, digits);
    drawFolder(p, static_cast<int>(std::ceil(numberLeft + numberWidth)) + 1 + shift, top + 2 + shift, ink);
}
} // namespace

void drawToggle(Image& image) {
    twoFrames(image, [](Painter& p, int top, bool on) {
        cairo_t* cr = p.cr();
        drawCap(p, top, 16, 16, false, palette::face);
        const double cx = 8, cy = top + 8;
        p.circle(cx, cy, 3.6, palette::capEdge);
        if (on) {
            cairo_pattern_t* glow = cairo_pattern_create_radial(cx - 0.8, cy - 0.8, 0.3, cx, cy, 3.2);
            cairo_pattern_add_color_stop_rgb(glow, 0, palette::cream.r / 255.0, palette::cream.g / 255.0,
                                             palette::cream.b / 255.0);
            cairo_pattern_add_color_stop_rgb(glow, 1, palette::amber.r / 255.0, palette::amber.g / 255.0,
                                             palette::amber.b / 255.0);
            cairo_set_source(cr, glow);
            cairo_new_path(cr);
            cairo_arc(cr, cx, cy, 2.9, 0, 2 * M_PI);
            cairo_fill(cr);
            cairo_pattern_destroy(glow);
        } else {
            p.circle(cx, cy, 2.9, palette::amberDim);
        }
    });
}

void drawProgramArrow(Image& image, bool forward) {
    twoFrames(image, [forward](Painter& p, int top, bool pressed) {
        cairo_t* cr = p.cr();
        drawCap(p, top, 19, 19, pressed, palette::header);
        const double shift = pressed ? 1 : 0;
        const double cx = 9.5 + shift, cy = top + 9.5 + shift;
        const double dir = forward ? 1 : -1;
        p.setColour(pressed ? palette::amber : palette::cream);
        cairo_new_path(cr);
        cairo_move_to(cr, cx + dir * 3.5, cy);
        cairo_line_to(cr, cx - dir * 2.5, cy - 4.5);
        cairo_line_to(cr, cx - dir * 2.5, cy + 4.5);
        cairo_close_path(cr);
        cairo_fill(cr);
    });
}

void drawLoadPatchButton(Image& image) {
    twoFrames(image, [](Painter& p, int top, bool pressed) { drawFileButton(p, top, pressed, 26, "1"); });
}

void drawLoadBankButton(Image& image) {
    twoFrames(image, [](Painter& p, int top, bool pressed) { drawFileButton(p, top, pressed, 32, "64"); });
}

void drawSaveButton(Image& image) {
    twoFrames(image, [](Painter& p, int top, bool pressed) {
        drawCap(p, top, 13, 13, pressed, palette::face);
        const int s = pressed ? 1 : 0;
        const Rgb ink = pressed ? palette::amber : palette::cream;
        const Rgb hole = pressed ? palette::capDark : palette::capMid;
        // A disk: body with a clipped corner, shutter at the top, label below.
        p.fill(3 + s, top + 2 + s, 6, 7, ink);
        p.fill(9 + s, top + 3 + s, 1, 6, ink);
        p.fill(5 + s, top + 2 + s, 3, 2, hole);
        p.fill(4 + s, top + 6 + s, 5, 3, hole);
        p.fill(5 + s, top + 7 + s, 3, 1, ink);
    });
}

} // namespace artwork
