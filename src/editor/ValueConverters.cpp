#include "editor/ValueConverters.h"

#include <cstdio>

namespace grelmond {

namespace {
constexpr float kDelayLineSamples = 48000.0f; // at full time, counted at 44.1 kHz
constexpr float kDelayReferenceRate = 44100.0f;

constexpr const char* kFunctionNames[] = {
    " 1 Flanging",       " 2 PitchMod Hi",   " 3 PitchMod Lo",    " 4 Ring Mod",       " 5 Vox A",
    " 6 Vox B",          " 7 Vox C",         " 8 BP Mod",         " 9 BP Crazy",       "10 BP Dist",
    "11 Noise",          "12 Voder 1",       "13 Voder 2",        "14 Voder 3",        "15 Voder 4",
    "16 Chaos (4th Osc)", "17 Chaos (Osc 1)", "18 Chaos (All Osc)", "19 Waveshaping 1", "20 Waveshaping 2",
    "21 Filter Bank 1",  "22 Filter Bank 2", "23 Filter Bank 3",  "24 Filter Bank 4",  "25 Phaser 1",
    "26 Phaser 2",
};
constexpr int kFunctionCount = sizeof kFunctionNames / sizeof kFunctionNames[0];

void writeNumber(char* text, int n) { std::snprintf(text, kValueTextSize, "%d", n); }
} // namespace

void detuneText(float v, char* text) { writeNumber(text, static_cast<int>(v * 100.0f + 0.1f)); }

void unisonText(float v, int soundingOscillators, char* text)
{
    writeNumber(text, (static_cast<int>(v * 10.0f + 0.1f) + 1) * soundingOscillators);
}

void delayTimeText(float v, float sampleRate, char* text)
{
    if (!(sampleRate > 0.0f)) {
        text[0] = '\0'; // no rate yet: no time to show
        return;
    }
    // The delay lasts as long at every rate.
    std::snprintf(text, kValueTextSize, "%1.2f", kDelayLineSamples * v / kDelayReferenceRate);
}

void noteValueText(float v, char* text)
{
    const char* note = v >= 0.875f  ? " 1"
                       : v >= 0.75f  ? "/2"
                       : v >= 0.625f ? "/4"
                       : v >= 0.5f   ? "/8"
                       : v >= 0.375f ? "/16"
                       : v >= 0.25f  ? "/32"
                       : v >= 0.125f ? "/64"
                                     : "/128";
    std::snprintf(text, kValueTextSize, "%s", note);
}

void percentText(float v, char* text) { writeNumber(text, static_cast<int>(v * 100.0f)); }

void functionNameText(float v, char* text)
{
    const float scaled = v * 25.1f;
    const int index = scaled > -1.0f && scaled < float(kFunctionCount) ? static_cast<int>(scaled) : -1;
    text[0] = '\0';
    if (index >= 0 && index < kFunctionCount)
        std::snprintf(text, kValueTextSize, "%s", kFunctionNames[index]);
}

void programNumberText(float v, char* text)
{
    text[0] = '\0';
    for (int i = 1; i <= 64; ++i)
        if (v == float(i - 1) / 64.0f) {
            writeNumber(text, i);
            return;
        }
}

} // namespace grelmond
