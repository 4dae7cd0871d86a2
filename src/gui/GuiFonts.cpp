#include "gui/GuiFonts.h"

namespace grelmond {

namespace {
// "Arial" resolves through fontconfig to a metric-compatible face.
constexpr GuiFontSpec kFonts[kFontCount] = {
    {"Arial", 12, true, false},  {"Arial", 18, false, false}, {"Arial", 14, false, false},
    {"Arial", 12, false, false}, {"Arial", 11, false, false}, {"Arial", 10, false, false},
    {"Arial", 9, false, false},  {"Symbol", 13, false, true},
};
} // namespace

const GuiFontSpec& fontSpec(int id)
{
    if (id < 0 || id >= kFontCount)
        id = 0;
    return kFonts[id];
}

} // namespace grelmond
