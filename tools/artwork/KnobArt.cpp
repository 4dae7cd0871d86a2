#include "KnobArt.h"

#include "Painter.h"

#include <cmath>

namespace artwork {

namespace {
constexpr double kCentre = 10.5; // the knob tracks the mouse around this point
constexpr double kArcRadius = 9.4;
constexpr double kCapRadius = 7.0;

double radians(double degrees) { return degrees * M_PI / 180.0; }

void drawFrame(Painter& p, int top, int frame) {
    cairo_t* cr = p.cr();
    const double cx = kCentre;
    const double cy = top + kCentre;
    p.fill(0, top, kKnobWidth, kKnobFrameHeight, palette::face);

    // Value arc: cairo's angles run clockwise on screen, so the sweep from
    // 225 degrees down to the pointer is a clockwise arc from 135.
    const double fraction = static_cast<double>(frame) / (kKnobFrames - 1);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_width(cr, 1.5);
    p.setColour(palette::faceShadow);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, kArcRadius, radians(135), radians(405));
    cairo_stroke(cr);
    if (frame > 0) {
        p.setColour(palette::cream);
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy, kArcRadius, radians(135), radians(135 + 270 * fraction));
        cairo_stroke(cr);
    }

    // Shadow, rim and cap lit from the top left.
    cairo_set_source_rgba(cr, palette::faceShadow.r / 255.0, palette::faceShadow.g / 255.0,
                          palette::faceShadow.b / 255.0, 0.7);
    cairo_new_path(cr);
    cairo_arc(cr, cx + 0.4, cy + 0.9, kCapRadius + 0.4, 0, 2 * M_PI);
    cairo_fill(cr);
    p.circle(cx, cy, kCapRadius, palette::capEdge);
    cairo_pattern_t* shade = cairo_pattern_create_linear(cx - 5, cy - 5, cx + 5, cy + 5);
    cairo_pattern_add_color_stop_rgb(shade, 0, palette::capMid.r / 255.0, palette::capMid.g / 255.0,
                                     palette::capMid.b / 255.0);
    cairo_pattern_add_color_stop_rgb(shade, 1, palette::capDark.r / 255.0, palette::capDark.g / 255.0,
                                     palette::capDark.b / 255.0);
    cairo_set_source(cr, shade);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, kCapRadius - 1, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);

    // Pointer from near the centre to the rim.
    const double a = radians(knobPointerDegrees(frame));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 1.6);
    p.setColour(palette::cream);
    cairo_new_path(cr);
    cairo_move_to(cr, cx + 1.5 * std::cos(a), cy - 1.5 * std::sin(a));
    cairo_line_to(cr, cx + 5.6 * std::cos(a), cy - 5.6 * std::sin(a));
    cairo_stroke(cr);
}
} // namespace

double knobPointerDegrees(int frame) {
    return 225.0 - 270.0 * frame / (kKnobFrames - 1);
}

void drawKnobStrip(Image& image) {
    Painter p(image);
    for (int frame = 0; frame < kKnobFrames; ++frame) {
        cairo_save(p.cr());
        cairo_rectangle(p.cr(), 0, frame * kKnobFrameHeight, kKnobWidth, kKnobFrameHeight);
        cairo_clip(p.cr());
        drawFrame(p, frame * kKnobFrameHeight, frame);
        cairo_restore(p.cr());
    }
}

} // namespace artwork
