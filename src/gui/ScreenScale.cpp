#include "gui/ScreenScale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace grelmond {

double ScreenScale::fromDpi(double dpi)
{
    if (!(dpi > 0))
        return 1.0;
    return std::clamp(std::round(dpi / 96.0 * 4.0) / 4.0, 1.0, 2.0);
}

double ScreenScale::fromSettings(const char* gdkScale, const char* resources)
{
    if (gdkScale != nullptr && *gdkScale != '\0') {
        const int whole = std::atoi(gdkScale);
        if (whole >= 1)
            return std::min(double(whole), 2.0);
    }
    if (resources == nullptr)
        return 1.0;
    for (const char* line = resources; line != nullptr && *line != '\0';) {
        if (std::strncmp(line, "Xft.dpi:", 8) == 0)
            return fromDpi(std::atof(line + 8));
        line = std::strchr(line, '\n');
        if (line != nullptr)
            ++line;
    }
    return 1.0;
}

} // namespace grelmond
