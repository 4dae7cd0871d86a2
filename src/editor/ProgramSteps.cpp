#include "editor/ProgramSteps.h"

namespace grelmond {

namespace {
constexpr int kPrograms = 64;
float positionOf(int index) { return float(index) / float(kPrograms); }
} // namespace

float previousProgramPosition(float position)
{
    for (int b = 1; b < kPrograms; ++b)
        if (position == positionOf(b))
            return positionOf(b - 1);
    return 0.0f;
}

float nextProgramPosition(float position)
{
    if (position == positionOf(kPrograms - 1))
        return position;
    for (int b = 0; b < kPrograms - 1; ++b)
        if (position == positionOf(b))
            return positionOf(b + 1);
    return 0.0f;
}

int programIndexOf(float position)
{
    const float scaled = position * float(kPrograms) + 0.1f;
    if (!(scaled >= 0.0f))
        return 0;
    return scaled < float(kPrograms) ? static_cast<int>(scaled) : kPrograms - 1;
}

} // namespace grelmond
