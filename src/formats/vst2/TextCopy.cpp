#include "formats/vst2/TextCopy.h"

namespace grelmond {

void copyText(char* dest, const char* src, std::size_t capacity)
{
    if (dest == nullptr || capacity == 0)
        return;
    std::size_t n = 0;
    if (src != nullptr)
        for (; n + 1 < capacity && src[n] != '\0'; ++n)
            dest[n] = src[n];
    dest[n] = '\0';
}

} // namespace grelmond
