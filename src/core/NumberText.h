#pragma once

// The 8-character number texts of parameter displays. Every function writes at
// most 8 visible characters plus a terminator (9 bytes) into `text`; a null
// `text` writes nothing.

#include <cstdint>

namespace grelmond {

constexpr int kNumberTextSize = 9;

// Truncates, never rounds: 0.7f gives "0.699999".
void float2string(float value, char* text);
void long2string(std::int32_t value, char* text);
void dB2string(float value, char* text);
void Hz2string(float samples, float sampleRate, char* text);
void ms2string(float samples, float sampleRate, char* text);

} // namespace grelmond
