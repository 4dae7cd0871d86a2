#include "formats/vst3/Utf16Text.h"

namespace grelmond::vst3 {

void copyToString128(const char* text, Steinberg::Vst::String128 out)
{
    int i = 0;
    if (text != nullptr)
        for (; i < 127 && text[i] != '\0'; ++i)
            out[i] = static_cast<Steinberg::Vst::TChar>(static_cast<unsigned char>(text[i]));
    out[i] = 0;
}

std::string fromUtf16(const Steinberg::Vst::TChar* text)
{
    std::string out;
    if (text == nullptr)
        return out;
    for (int i = 0; i < 128 && text[i] != 0; ++i)
        out += text[i] <= 0xFF ? static_cast<char>(text[i]) : '?';
    return out;
}

} // namespace grelmond::vst3
