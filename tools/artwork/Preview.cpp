#include "Preview.h"

#include "ArtworkSet.h"
#include "PanelLayout.h"
#include "Painter.h"

#include <cmath>
#include <map>
#include <memory>

namespace artwork {

namespace {
using K = ControlKind;

// Copies a w x h block; keyed copies leave pure white pixels out.
void blit(const Image& src, int sx, int sy, int w, int h, Painter& dst, int dx, int dy, bool keyed) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int r, g, b;
            src.pixel(sx + x, sy + y, r, g, b);
            if (keyed && r == 255 && g == 255 && b == 255) continue;
            dst.fill(dx + x, dy + y, 1, 1, Rgb{r, g, b});
        }
}

std::string sampleText(const ControlPlace& c) {
    switch (c.tag) {
    case 29: return "50";
    case 28: return "18";
    case 49: return "/8";
    case 53: return "0.50";
    case 57: return " 1 Flanging";
    case 72: return "Init";
    case 73: return "mybank.grb";
    case 64: return "Loaded the bank.";
    case -1: return "1";
    default: return "50";
    }
}

void drawText(Painter& p, const ControlPlace& c) {
    const bool status = c.tag == 64;
    p.fill(c.x, c.y, c.w, c.h, status ? palette::statusWell : palette::face);
    const bool small = c.kind == K::TextField || c.tag == 57 || c.tag == -1;
    TextStyle style{small ? 10.0 : 11.0, false, status ? palette::statusText : palette::displayText, 0};
    const int baseline = c.y + static_cast<int>(std::lround(c.h / 2.0 + 3.5));
    cairo_save(p.cr());
    cairo_rectangle(p.cr(), c.x, c.y, c.w, c.h);
    cairo_clip(p.cr());
    if (c.tag == 64 || c.tag == 73) p.text(sampleText(c), c.x + 1, baseline, style);
    else p.text(sampleText(c), c.x + c.w / 2.0, baseline, style, Align::Centre);
    cairo_restore(p.cr());
}
} // namespace

bool writePreview(const std::string& path) {
    std::map<int, std::unique_ptr<Image>> art;
    for (const Resource& r : editorResources()) art[r.id] = render(r);

    Image panel(art[213]->width(), art[213]->height());
    Painter p(panel);
    blit(*art[213], 0, 0, panel.width(), panel.height(), p, 0, 0, false);
    for (const ControlPlace& c : panelControls()) {
        switch (c.kind) {
        case K::Knob: {
            const int frame = c.value > 0 ? static_cast<int>(c.value * 91) : 0;
            blit(*art[226], 0, frame * 27, c.w, c.h, p, c.x, c.y, false);
            break;
        }
        case K::WaveSwitch: {
            int frame = 0;
            while (frame < 3 && !(c.value < (frame + 1) / 3.0f)) ++frame;
            blit(*art[227], 0, frame * 26, c.w, c.h, p, c.x, c.y, false);
            break;
        }
        case K::Toggle:
            blit(*art[222], 0, c.value != 0 ? 16 : 0, c.w, c.h, p, c.x, c.y, false);
            break;
        case K::Button:
            blit(*art[c.bitmap], 0, 0, c.w, c.h, p, c.x, c.y, false);
            break;
        case K::HSlider: {
            blit(*art[216], 0, 0, c.w, c.h, p, c.x, c.y, false);
            const int left = static_cast<int>((c.w - 11) * c.value);
            blit(*art[217], 0, 0, 11, 11, p, c.x + left, c.y, true);
            break;
        }
        case K::VSlider: {
            blit(*art[219], 0, 0, c.w, c.h, p, c.x, c.y, false);
            const int top = static_cast<int>((c.h - 11) * (1 - c.value));
            blit(*art[218], 0, 0, 11, 11, p, c.x, c.y + top, true);
            break;
        }
        case K::Display:
        case K::TextField:
            drawText(p, c);
            break;
        }
    }
    cairo_surface_flush(panel.surface());
    return cairo_surface_write_to_png(panel.surface(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace artwork
