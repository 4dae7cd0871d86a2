#include "Painter.h"

#include <cmath>

namespace artwork {

namespace {
constexpr const char* kFontFamily = "Liberation Sans";
}

Painter::Painter(Image& image) : cr_(cairo_create(image.surface())), scale_(image.scale()) {
    cairo_scale(cr_, scale_, scale_);
    cairo_font_options_t* options = cairo_font_options_create();
    // Fixed options keep the output the same whatever the desktop settings say.
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
    cairo_set_font_options(cr_, options);
    cairo_font_options_destroy(options);
}

Painter::~Painter() { cairo_destroy(cr_); }

void Painter::setColour(Rgb c) { cairo_set_source_rgb(cr_, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

void Painter::fill(int x, int y, int w, int h, Rgb c) {
    setColour(c);
    cairo_rectangle(cr_, x, y, w, h);
    cairo_fill(cr_);
}

void Painter::hline(int x0, int x1, int y, Rgb c) { fill(x0, y, x1 - x0 + 1, 1, c); }

void Painter::vline(int x, int y0, int y1, Rgb c) { fill(x, y0, 1, y1 - y0 + 1, c); }

void Painter::frame(int x, int y, int w, int h, Rgb c) {
    hline(x, x + w - 1, y, c);
    hline(x, x + w - 1, y + h - 1, c);
    vline(x, y, y + h - 1, c);
    vline(x + w - 1, y, y + h - 1, c);
}

void Painter::engravedHLine(int x0, int x1, int y) {
    hline(x0, x1, y, palette::faceShadow);
    hline(x0 + 1, x1 + 1, y + 1, palette::faceLight);
}

void Painter::engravedVLine(int x, int y0, int y1) {
    vline(x, y0, y1, palette::faceShadow);
    vline(x + 1, y0 + 1, y1 + 1, palette::faceLight);
}

void Painter::engravedFrame(int x, int y, int w, int h) {
    frame(x + 1, y + 1, w - 1, h - 1, palette::faceLight);
    frame(x, y, w - 1, h - 1, palette::faceShadow);
}

void Painter::sunkenBezel(int x, int y, int w, int h, Rgb shadow, Rgb light) {
    hline(x - 1, x + w, y - 1, shadow);
    vline(x - 1, y - 1, y + h, shadow);
    hline(x - 1, x + w, y + h, light);
    vline(x + w, y - 1, y + h, light);
}

void Painter::selectFont(const TextStyle& style) {
    cairo_select_font_face(cr_, kFontFamily, CAIRO_FONT_SLANT_NORMAL,
                           style.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, style.size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_get_font_options(cr_, options);
    // Whole-pixel letters only where the letters are a few pixels high.
    const bool aliased = style.aliased && scale_ == 1;
    cairo_font_options_set_antialias(options, aliased ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, aliased ? CAIRO_HINT_STYLE_FULL : CAIRO_HINT_STYLE_SLIGHT);
    cairo_set_font_options(cr_, options);
    cairo_font_options_destroy(options);
}

double Painter::textWidth(const std::string& text, const TextStyle& style) {
    selectFont(style);
    cairo_text_extents_t ext;
    cairo_text_extents(cr_, text.c_str(), &ext);
    // Hinted advances are whole pixels, so whole-pixel tracking keeps letters evenly spaced.
    return ext.x_advance + style.tracking * (text.empty() ? 0 : text.size() - 1);
}

void Painter::text(const std::string& text, double x, int y, const TextStyle& style, Align align) {
    const double width = textWidth(text, style);
    double left = x;
    if (align == Align::Centre) left = x - width / 2;
    if (align == Align::Right) left = x - width;
    left = std::round(left);
    selectFont(style);
    setColour(style.colour);
    if (style.tracking == 0) {
        cairo_move_to(cr_, left, y);
        cairo_show_text(cr_, text.c_str());
        return;
    }
    double pen = left;
    for (size_t i = 0; i < text.size(); ++i) {
        const std::string letter = text.substr(i, 1);
        cairo_text_extents_t ext;
        cairo_text_extents(cr_, letter.c_str(), &ext);
        cairo_move_to(cr_, std::round(pen), y);
        cairo_show_text(cr_, letter.c_str());
        pen += ext.x_advance + style.tracking;
    }
}

void Painter::circle(double cx, double cy, double r, Rgb c) {
    setColour(c);
    cairo_new_path(cr_);
    cairo_arc(cr_, cx, cy, r, 0, 2 * M_PI);
    cairo_fill(cr_);
}

void Painter::roundedRect(double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr_, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr_, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr_, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr_);
}

} // namespace artwork
