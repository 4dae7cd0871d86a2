#include "WaveSwitchArt.h"

#include "Painter.h"

#include <cmath>

namespace artwork {

namespace {
constexpr const char* kWords[kWaveFrames] = {"Sine", "Puls", "Saw", "Sqre"};

// The wave sits in a box left 3.5..17.5, high y0..y0+9 (pixel centres).
void traceWave(cairo_t* cr, int frame, double y0) {
    const double left = 3.5, right = 17.5, top = y0, bottom = y0 + 9;
    const double mid = (top + bottom) / 2;
    cairo_new_path(cr);
    switch (frame) {
    case 0:
        for (int i = 0; i <= 56; ++i) {
            const double t = i / 56.0;
            const double x = left + (right - left) * t;
            const double y = mid - 4.5 * std::sin(2 * M_PI * t);
            if (i == 0) cairo_move_to(cr, x, y);
            else cairo_line_to(cr, x, y);
        }
        break;
    case 1: // narrow pulse
        cairo_move_to(cr, left, bottom);
        cairo_line_to(cr, left + 3, bottom);
        cairo_line_to(cr, left + 3, top);
        cairo_line_to(cr, left + 6, top);
        cairo_line_to(cr, left + 6, bottom);
        cairo_line_to(cr, right, bottom);
        break;
    case 2: // rising ramp with a drop
        cairo_move_to(cr, left, bottom);
        cairo_line_to(cr, left + 7, top);
        cairo_line_to(cr, left + 7, bottom);
        cairo_line_to(cr, right, top);
        break;
    default: // square
        cairo_move_to(cr, left, bottom);
        cairo_line_to(cr, left + 2, bottom);
        cairo_line_to(cr, left + 2, top);
        cairo_line_to(cr, left + 7, top);
        cairo_line_to(cr, left + 7, bottom);
        cairo_line_to(cr, left + 12, bottom);
        cairo_line_to(cr, left + 12, top);
        cairo_line_to(cr, right, top);
        break;
    }
}

void drawFrame(Painter& p, int top, int frame) {
    cairo_t* cr = p.cr();
    p.fill(0, top, kWaveWidth, kWaveFrameHeight, palette::face);
    // Dark window with a lighter lower rim, so it reads as set into the face.
    p.setColour(palette::faceLight);
    cairo_new_path(cr);
    p.roundedRect(0, top + 1, kWaveWidth, kWaveFrameHeight - 1, 2.5);
    cairo_fill(cr);
    p.setColour(palette::capEdge);
    cairo_new_path(cr);
    p.roundedRect(0, top, kWaveWidth, kWaveFrameHeight - 1, 2.5);
    cairo_fill(cr);
    p.setColour(palette::header);
    cairo_new_path(cr);
    p.roundedRect(1, top + 1, kWaveWidth - 2, kWaveFrameHeight - 3, 1.5);
    cairo_fill(cr);

    // The switch is clicked across its width, a quarter per wave: small marks
    // along the top show the four places, the current one lit.
    for (int place = 0; place < kWaveFrames; ++place) {
        const int left = 2 + place * 5;
        p.fill(left, top + 2, 3, 1, place == frame ? palette::amber : palette::amberDim);
    }

    cairo_set_line_width(cr, 1.2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    p.setColour(palette::amber);
    traceWave(cr, frame, top + 4.5);
    cairo_stroke(cr);

    TextStyle word{8, false, palette::cream, 0, true};
    p.text(kWords[frame], kWaveWidth / 2.0, top + 22, word, Align::Centre);
}
} // namespace

void drawWaveSwitch(Image& image) {
    Painter p(image);
    for (int frame = 0; frame < kWaveFrames; ++frame) {
        cairo_save(p.cr());
        cairo_rectangle(p.cr(), 0, frame * kWaveFrameHeight, kWaveWidth, kWaveFrameHeight);
        cairo_clip(p.cr());
        drawFrame(p, frame * kWaveFrameHeight, frame);
        cairo_restore(p.cr());
    }
}

} // namespace artwork
