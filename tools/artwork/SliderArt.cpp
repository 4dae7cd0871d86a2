#include "SliderArt.h"

#include "Painter.h"

namespace artwork {

namespace {
// The track is drawn lying down; vertical tracks swap the axes through the matrix.
void drawTrack(Painter& p, int length) {
    p.fill(0, 0, length, 11, palette::face);
    // Scale marks at every tenth of the handle's travel, below the slot only:
    // captions sit close above some sliders.
    const int travel = length - 11;
    for (int i = 0; i <= 10; ++i) {
        const int x = 5 + (travel * i) / 10;
        const int mark = (i == 0 || i == 5 || i == 10) ? 2 : 1;
        p.fill(x, 11 - mark, 1, mark, palette::faceShadow);
    }
    // The slot: dark, with the lit lower lip of a cut.
    p.hline(3, length - 4, 3, palette::faceShadow);
    p.fill(3, 4, length - 6, 3, palette::groove);
    p.hline(3, length - 4, 7, palette::faceLight);
    p.fill(3, 4, 1, 3, palette::faceShadow);
    p.fill(length - 4, 4, 1, 3, palette::faceLight);
}

void drawHandle(Painter& p, bool gripUpright) {
    cairo_t* cr = p.cr();
    p.fill(0, 0, 11, 11, palette::transparentKey);
    // Body as whole pixels so the keyed edge stays exact: a square with cut corners.
    p.fill(1, 0, 9, 11, palette::capEdge);
    p.fill(0, 1, 11, 9, palette::capEdge);
    cairo_pattern_t* shade = cairo_pattern_create_linear(0, 1, 0, 10);
    cairo_pattern_add_color_stop_rgb(shade, 0, palette::capMid.r / 255.0, palette::capMid.g / 255.0,
                                     palette::capMid.b / 255.0);
    cairo_pattern_add_color_stop_rgb(shade, 1, palette::capDark.r / 255.0, palette::capDark.g / 255.0,
                                     palette::capDark.b / 255.0);
    cairo_set_source(cr, shade);
    cairo_rectangle(cr, 1, 1, 9, 9);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
    if (gripUpright) p.fill(5, 2, 1, 7, palette::cream);
    else p.fill(2, 5, 7, 1, palette::cream);
}
} // namespace

void drawHorizontalTrack(Image& image) {
    Painter p(image);
    drawTrack(p, image.width());
}

void drawVerticalTrack(Image& image) {
    Painter p(image);
    // Lay the track along y: x' = y, y' = x mirrors the picture across the diagonal,
    // which keeps the lit lip on the right, the side light falls on.
    cairo_matrix_t swap;
    cairo_matrix_init(&swap, 0, 1, 1, 0, 0, 0);
    cairo_set_matrix(p.cr(), &swap);
    drawTrack(p, image.height());
}

void drawHorizontalHandle(Image& image) {
    Painter p(image);
    drawHandle(p, true);
}

void drawVerticalHandle(Image& image) {
    Painter p(image);
    drawHandle(p, false);
}

} // namespace artwork
