#include "core/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace grelmond {

namespace {

constexpr int kPositions = 8;
constexpr const char* kHuge = " Huge!  ";

void writeFixed(const char* fixed, char* text)
{
    std::memcpy(text, fixed, kPositions);
    text[kPositions] = '\0';
}

char digitOf(double v)
{
    return static_cast<char>('0' + static_cast<int>(std::fmod(v, 10.0)));
}

} // namespace

void float2string(float value, char* text)
{
    if (text == nullptr)
        return;
    if (std::isnan(value)) {
        writeFixed("  NaN   ", text);
        return;
    }
    const bool negative = value < 0.0f;
    const double magnitude = std::fabs(static_cast<double>(value));
    // The point always takes a position (and the sign one more), so only 7 (or 6)
    // integer digits fit; larger values would lose their leading digits.
    if (magnitude >= (negative ? 1e6 : 1e7)) {
        writeFixed(kHuge, text);
        return;
    }

    // Integer digits are produced least significant first into the tail of `digits`.
    char digits[kPositions + 1];
    int end = kPositions;
    int used = negative ? 2 : 1; // sign and point
    double integer = std::floor(magnitude);
    do {
        digits[--end] = digitOf(integer);
        integer /= 10.0;
        ++used;
    } while (integer >= 1.0 && used < kPositions);

    int pos = 0;
    if (negative)
        text[pos++] = '-';
    for (int i = end; i < kPositions; ++i)
        text[pos++] = digits[i];
    text[pos++] = '.';

    const int fractionDigits = kPositions - used;
    double fraction = std::fmod(magnitude, 1.0) * std::pow(10.0, fractionDigits);
    for (int i = fractionDigits - 1; i >= 0; --i) {
        if (fraction <= 0.0) {
            text[pos + i] = '0';
        } else {
            text[pos + i] = digitOf(fraction);
            fraction /= 10.0;
        }
    }
    text[pos + fractionDigits] = '\0';
}

void long2string(std::int32_t value, char* text)
{
    if (text == nullptr)
        return;
    // "%7d" of a value below -9999999 needs more than 8 characters.
    if (value >= 100000000 || value <= -10000000) {
        writeFixed(kHuge, text);
        return;
    }
    char wide[16];
    std::snprintf(wide, sizeof wide, "%7d", static_cast<int>(value));
    std::memcpy(text, wide, kPositions);
    text[kPositions] = '\0';
}

void dB2string(float value, char* text)
{
    if (text == nullptr)
        return;
    if (!(value > 0.0f)) {
        writeFixed("  -oo   ", text);
        return;
    }
    float2string(20.0f * std::log10(value), text);
}

void Hz2string(float samples, float sampleRate, char* text)
{
    float2string(samples == 0.0f ? 0.0f : sampleRate / samples, text);
}

void ms2string(float samples, float sampleRate, char* text)
{
    float2string(sampleRate == 0.0f ? 0.0f : samples * 1000.0f / sampleRate, text);
}

} // namespace grelmond
