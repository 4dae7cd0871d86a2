#pragma once

#include "Image.h"
#include "Palette.h"

#include <cairo.h>
#include <string>

namespace artwork {

enum class Align { Left, Centre, Right };

struct TextStyle {
    double size = 10;
    bool bold = false;
    Rgb colour = palette::ink;
    double tracking = 0; // extra pixels between letters
    bool aliased = false; // whole pixels only, for the tiniest words
};

// Drawing helpers on one image. Straight edges are filled whole-pixel
// rectangles so that they stay crisp at 1:1; curves are antialiased.
class Painter {
public:
    explicit Painter(Image& image);
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    cairo_t* cr() const { return cr_; }

    void setColour(Rgb c);
    void fill(int x, int y, int w, int h, Rgb c);
    void hline(int x0, int x1, int y, Rgb c); // x0..x1 inclusive
    void vline(int x, int y0, int y1, Rgb c); // y0..y1 inclusive
    void frame(int x, int y, int w, int h, Rgb c);

    // A line cut into the face: shadow above or left, light below or right.
    void engravedHLine(int x0, int x1, int y);
    void engravedVLine(int x, int y0, int y1);
    void engravedFrame(int x, int y, int w, int h);
    // A window sunk into the surface around the rectangle (which stays untouched).
    void sunkenBezel(int x, int y, int w, int h, Rgb shadow, Rgb light);

    double textWidth(const std::string& text, const TextStyle& style);
    // Draws text on the baseline y; x is the left edge, centre or right edge.
    void text(const std::string& text, double x, int y, const TextStyle& style, Align align = Align::Left);

    void circle(double cx, double cy, double r, Rgb c);
    void roundedRect(double x, double y, double w, double h, double r);

private:
    void selectFont(const TextStyle& style);
    cairo_t* cr_;
    int scale_;
};

} // namespace artwork
