#include "BackgroundArt.h"

#include "PanelLayout.h"
#include "Painter.h"

#include <cmath>
#include <cstdint>

namespace artwork {

namespace {
using K = ControlKind;

constexpr int kPlateLeft = 34;
constexpr int kPlateRight = 595; // last column of the face
constexpr int kHeaderBottom = 87;
constexpr int kStatusTop = 462;

const TextStyle kTitle{10, true, palette::ink, 0};
const TextStyle kCaption{9, false, palette::ink, 0};

double centreX(const ControlPlace& c) { return c.x + c.w / 2.0; }
// Baseline that centres a 9 px caption on a control's middle.
int middleBaseline(const ControlPlace& c, double middle) { return static_cast<int>(std::lround(middle + 3.3)); }

// Title at the left of a section followed by an engraved rule to its right edge.
void sectionTitle(Painter& p, const char* title, int left, int right, int baseline) {
    p.text(title, left, baseline, kTitle);
    const int ruleStart = static_cast<int>(std::ceil(left + p.textWidth(title, kTitle))) + 4;
    p.engravedHLine(ruleStart, right, baseline - 4);
}

void captionAbove(Painter& p, const char* text, const ControlPlace& c, int baseline) {
    p.text(text, centreX(c), baseline, kCaption, Align::Centre);
}

void captionRightOf(Painter& p, const char* text, const ControlPlace& c, double middle) {
    p.text(text, c.x + c.w + 3, middleBaseline(c, middle), kCaption);
}

void strokeWith(Painter& p, Rgb colour, double width) {
    p.setColour(colour);
    cairo_set_line_width(p.cr(), width);
    cairo_stroke(p.cr());
}

// A padlock: shackle over a solid body, whole pixels where possible.
void drawLock(Painter& p, int x, int y) {
    cairo_t* cr = p.cr();
    cairo_new_path(cr);
    cairo_arc(cr, x + 3.5, y + 3.5, 2.4, M_PI, 2 * M_PI);
    cairo_line_to(cr, x + 5.9, y + 5);
    cairo_move_to(cr, x + 1.1, y + 3.5);
    cairo_line_to(cr, x + 1.1, y + 5);
    strokeWith(p, palette::ink, 1.2);
    p.fill(x, y + 5, 7, 6, palette::ink);
    p.fill(x + 3, y + 7, 1, 2, palette::face);
}

void drawCrossedCircle(Painter& p, double cx, double cy) {
    cairo_t* cr = p.cr();
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, 4.4, 0, 2 * M_PI);
    const double d = 4.4 * std::sqrt(0.5);
    cairo_move_to(cr, cx - d, cy - d);
    cairo_line_to(cr, cx + d, cy + d);
    cairo_move_to(cr, cx - d, cy + d);
    cairo_line_to(cr, cx + d, cy - d);
    strokeWith(p, palette::ink, 1.1);
}

void drawCircularArrow(Painter& p, double cx, double cy) {
    cairo_t* cr = p.cr();
    const double r = 3.8;
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, -M_PI / 2 + 0.5, -M_PI / 2 + 2 * M_PI - 0.35);
    strokeWith(p, palette::ink, 1.1);
    // Head at the end of the arc, pointing on round the circle.
    const double a = -M_PI / 2 - 0.35;
    const double hx = cx + r * std::cos(a), hy = cy + r * std::sin(a);
    p.setColour(palette::ink);
    cairo_new_path(cr);
    cairo_move_to(cr, hx + 2.6, hy);
    cairo_line_to(cr, hx - 0.6, hy - 2.4);
    cairo_line_to(cr, hx - 0.6, hy + 2.4);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void drawScrew(Painter& p, double cx, double cy) {
    cairo_t* cr = p.cr();
    p.circle(cx + 0.5, cy + 0.7, 3.6, palette::faceShadow);
    cairo_pattern_t* shade = cairo_pattern_create_linear(cx - 3, cy - 3, cx + 3, cy + 3);
    cairo_pattern_add_color_stop_rgb(shade, 0, 0.86, 0.82, 0.74);
    cairo_pattern_add_color_stop_rgb(shade, 1, 0.48, 0.44, 0.38);
    cairo_set_source(cr, shade);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, 3.3, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
    cairo_new_path(cr);
    cairo_move_to(cr, cx - 2.4, cy + 1.4);
    cairo_line_to(cr, cx + 2.4, cy - 1.4);
    strokeWith(p, Rgb{70, 62, 52}, 1.0);
}

// Dark wood with fixed grain lines: a simple generator keeps every run identical.
void drawCheek(Painter& p, int left, int width, uint32_t seed) {
    p.fill(left, 0, width, kBackgroundHeight, palette::wood);
    uint32_t state = seed;
    auto next = [&state]() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int x = left + 1; x < left + width - 1; ++x) {
        if (next() % 3 != 0) continue;
        const Rgb grain = next() % 2 ? palette::woodDark : palette::woodLight;
        p.vline(x, 0, kBackgroundHeight - 1, grain);
    }
    p.vline(left, 0, kBackgroundHeight - 1, palette::woodLight);
    p.vline(left + width - 1, 0, kBackgroundHeight - 1, palette::woodDark);
}

void drawTopStrip(Painter& p) {
    p.fill(kPlateLeft, 0, kPlateRight - kPlateLeft + 1, kHeaderBottom, palette::header);
    p.hline(kPlateLeft, kPlateRight, kHeaderBottom - 1, palette::headerEdge);
    p.hline(kPlateLeft, kPlateRight, kHeaderBottom, palette::capEdge);

    const TextStyle logo{27, true, palette::headerInk, 1};
    p.text("Grelmond", 50, 38, logo);
    const double logoEnd = 50 + p.textWidth("Grelmond", logo);
    p.text("1.0", logoEnd + 6, 38, TextStyle{12, false, palette::headerInkDim, 0});
    p.text("POLYPHONIC SYNTHESISER", 574, 38, TextStyle{9, false, palette::headerInkDim, 2}, Align::Right);
    p.hline(51, 574, 49, palette::capEdge);
    p.hline(51, 574, 50, palette::headerEdge);

    const TextStyle label{10, false, palette::headerInk, 0};
    const ControlPlace& name = controlFor(72, K::TextField);
    const ControlPlace& number = controlFor(-1, K::Display);
    const ControlPlace& file = controlFor(73, K::TextField);
    const int baseline = name.y + 9;
    p.text("Patch", name.x - 6, baseline, label, Align::Right);
    p.text("Filename", file.x - 6, baseline, label, Align::Right);
    for (const ControlPlace* c : {&name, &number, &file}) {
        p.fill(c->x, c->y, c->w, c->h, palette::face);
        p.sunkenBezel(c->x, c->y, c->w, c->h, palette::capEdge, palette::headerEdge);
    }
}

void drawStatusStrip(Painter& p) {
    p.hline(kPlateLeft, kPlateRight, kStatusTop - 1, palette::faceShadow);
    p.fill(kPlateLeft, kStatusTop, kPlateRight - kPlateLeft + 1, kBackgroundHeight - kStatusTop, palette::header);
    p.hline(kPlateLeft, kPlateRight, kStatusTop, palette::headerEdge);
    const ControlPlace& status = controlFor(64, K::TextField);
    p.fill(status.x, status.y, status.w, status.h, palette::statusWell);
    p.sunkenBezel(status.x, status.y, status.w, status.h, palette::capEdge, palette::headerEdge);
    p.text("Zavr", 574, 480, TextStyle{9, true, palette::headerInkDim, 1.0}, Align::Right);
}

void drawOscillators(Painter& p) {
    sectionTitle(p, "Oscillators", 64, 217, 106);
    const char* columns[] = {"Shape", "Semi", "Fine", "Volume"};
    const int firstRow[] = {0, 1, 2, 3};
    for (int i = 0; i < 4; ++i) captionAbove(p, columns[i], controlFor(firstRow[i], i == 0 ? K::WaveSwitch : K::Knob), 127);
    const TextStyle rowNumber{9, true, palette::ink, 0};
    const char* rows[] = {"1", "2", "3"};
    for (int row = 0; row < 3; ++row) {
        const ControlPlace& wave = controlFor(row * 4, K::WaveSwitch);
        p.text(rows[row], 73, middleBaseline(wave, wave.y + 11.5), rowNumber, Align::Centre);
    }
}

void drawFilterAndMod(Painter& p) {
    sectionTitle(p, "Filter", 227, 316, 106);
    const int sliders[] = {42, 43, 46, 47};
    const char* names[] = {"Rate", "Dpth", "Cut", "Res"};
    for (int i = 0; i < 4; ++i) {
        const ControlPlace& s = controlFor(sliders[i], K::VSlider);
        captionAbove(p, names[i], s, s.y - 4);
    }
    sectionTitle(p, "Mod", 323, 397, 106);
    const ControlPlace& velocity = controlFor(45, K::Knob);
    captionAbove(p, "V", velocity, velocity.y - 3);
    const ControlPlace& highPass = controlFor(44, K::Toggle);
    captionRightOf(p, "HP", highPass, highPass.y + highPass.h / 2.0);
    const ControlPlace& bypass = controlFor(39, K::Toggle);
    drawCrossedCircle(p, bypass.x + bypass.w + 8.5, bypass.y + bypass.h / 2.0);
    const ControlPlace& rate = controlFor(12, K::Knob);
    captionAbove(p, "Rate", rate, rate.y - 3);
    const ControlPlace& depth = controlFor(13, K::Knob);
    captionAbove(p, "Dpth", depth, depth.y - 3);
}

void drawDelay(Painter& p) {
    sectionTitle(p, "Delay", 405, 574, 106);
    const int sliders[] = {49, 51, 50, 53, 55, 54};
    const char* names[] = {"L Time", "L Feedback", "L Mix", "R Time", "R Feedback", "R Mix"};
    for (int i = 0; i < 6; ++i) {
        const ControlPlace& s = controlFor(sliders[i], K::HSlider);
        p.text(names[i], s.x, s.y - 3, kCaption);
        const ControlPlace& d = controlFor(sliders[i], K::Display);
        p.sunkenBezel(d.x, d.y, d.w, d.h, palette::faceShadow, palette::faceLight);
    }
    // Tempo locks: each toggle's lock carries the side of the delay it serves.
    const TextStyle side{9, true, palette::ink, 0};
    const struct { int tag; const char* label; } locks[] = {{56, "R"}, {52, "L"}};
    for (const auto& lock : locks) {
        const ControlPlace& t = controlFor(lock.tag, K::Toggle);
        drawLock(p, t.x + t.w + 4, t.y + 2);
        p.text(lock.label, t.x + t.w + 14, middleBaseline(t, t.y + t.h / 2.0), side);
    }
}

void drawEnvelopes(Painter& p) {
    sectionTitle(p, "Amp Envelope", 64, 217, 226);
    const int amp[] = {59, 60, 61, 62, 37};
    const char* ampNames[] = {"A", "D", "S", "R", "V"};
    for (int i = 0; i < 5; ++i) captionAbove(p, ampNames[i], controlFor(amp[i], K::Knob), 240);
    sectionTitle(p, "Filter Envelope", 227, 383, 226);
    const int filter[] = {14, 15, 16, 17, 23};
    const char* filterNames[] = {"A", "D", "S", "R", "Amt"};
    for (int i = 0; i < 5; ++i) captionAbove(p, filterNames[i], controlFor(filter[i], K::Knob), 240);
}

void drawUnisonAndChorus(Painter& p) {
    sectionTitle(p, "Unison", 64, 235, 289);
    const ControlPlace& detune = controlFor(29, K::HSlider);
    p.text("Detune", detune.x, detune.y - 3, kCaption);
    const ControlPlace& count = controlFor(28, K::HSlider);
    p.text("Oscillators / Voice", count.x, count.y - 2, kCaption);
    for (int tag : {29, 28}) {
        const ControlPlace& d = controlFor(tag, K::Display);
        p.sunkenBezel(d.x, d.y, d.w, d.h, palette::faceShadow, palette::faceLight);
    }

    sectionTitle(p, "Chorus", 64, 235, 356);
    const int sliders[] = {31, 40, 41};
    const char* names[] = {"Amount", "Rate", "Depth"};
    for (int i = 0; i < 3; ++i) {
        const ControlPlace& s = controlFor(sliders[i], K::HSlider);
        captionRightOf(p, names[i], s, s.y + s.h / 2.0);
    }
}

void drawProcessor(Painter& p) {
    sectionTitle(p, "Processor", 241, 402, 289);
    const int adsr[] = {18, 19, 20, 21};
    const char* names[] = {"A", "D", "S", "R"};
    for (int i = 0; i < 4; ++i) captionAbove(p, names[i], controlFor(adsr[i], K::Knob), 303);
    const ControlPlace& invert = controlFor(30, K::Toggle);
    drawCircularArrow(p, invert.x - 7.5, invert.y + invert.h / 2.0);
    const ControlPlace& amount = controlFor(58, K::Knob);
    captionRightOf(p, "Amt", amount, amount.y + 10.5);
    const ControlPlace& glide = controlFor(24, K::Knob);
    captionRightOf(p, "Glide", glide, glide.y + 10.5);
    const ControlPlace& function = controlFor(57, K::Display);
    p.sunkenBezel(function.x, function.y, function.w, function.h, palette::faceShadow, palette::faceLight);
    const ControlPlace& slider = controlFor(57, K::HSlider);
    p.text("Processor Function", centreX(function), slider.y - 4, kCaption, Align::Centre);
}

// The four file buttons share one etched plate.
void drawFileButtonPlate(Painter& p) {
    const ControlPlace& first = controlFor(67, K::Button);
    const ControlPlace& last = controlFor(70, K::Button);
    const int top = controlFor(68, K::Button).y - 5;
    const int bottom = first.y + first.h + 4;
    p.engravedFrame(first.x - 6, top, last.x + last.w + 6 - (first.x - 6) + 1, bottom - top + 1);
}

void drawFlanger(Painter& p) {
    sectionTitle(p, "Flanger", 424, 574, 289);
    const int sliders[] = {32, 33, 34, 35};
    const char* names[] = {"Rate", "Dpth", "Freq", "Feed"};
    for (int i = 0; i < 4; ++i) {
        const ControlPlace& s = controlFor(sliders[i], K::VSlider);
        captionAbove(p, names[i], s, s.y - 3);
    }
    const ControlPlace& random = controlFor(36, K::Toggle);
    captionRightOf(p, "Rnd", random, random.y + random.h / 2.0);
    const ControlPlace& mix = controlFor(22, K::Knob);
    captionRightOf(p, "Amt", mix, mix.y + 10.5);
    const ControlPlace& volume = controlFor(63, K::Knob);
    captionRightOf(p, "Vol", volume, volume.y + 10.5);
}
} // namespace

void drawBackground(Image& image) {
    Painter p(image);
    p.fill(0, 0, kBackgroundWidth, kBackgroundHeight, palette::face);
    drawCheek(p, 0, kPlateLeft, 0x5eed1u);
    drawCheek(p, kPlateRight + 1, kBackgroundWidth - kPlateRight - 1, 0x5eed2u);
    drawTopStrip(p);
    p.hline(kPlateLeft, kPlateRight, kHeaderBottom + 1, palette::faceLight);
    drawStatusStrip(p);
    for (double y : {97.0, 452.0})
        for (double x : {43.5, 585.5}) drawScrew(p, x, y);
    drawOscillators(p);
    drawFilterAndMod(p);
    drawDelay(p);
    drawEnvelopes(p);
    drawUnisonAndChorus(p);
    drawProcessor(p);
    drawFlanger(p);
    drawFileButtonPlate(p);
}

} // namespace artwork
