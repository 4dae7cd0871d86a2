#pragma once

// Texts between the instrument's 8-bit strings and the interface's UTF-16.

#include "pluginterfaces/vst/vsttypes.h"

#include <string>

namespace grelmond::vst3 {

// Copies text into a 128-unit field, cut to fit and always terminated.
void copyToString128(const char* text, Steinberg::Vst::String128 out);
// Up to the terminator or 128 units; units above 0xFF become '?'.
std::string fromUtf16(const Steinberg::Vst::TChar* text);

} // namespace grelmond::vst3
