// The library's bitmap resources as bytes: a bare bitmap, info header first.
#include "gui/BitmapResources.h"

#include "platform/win32/ModuleHandle.h"

namespace grelmond {

BitmapResource findBitmapResource(int id)
{
    HMODULE module = platform::moduleHandle();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2)); // RT_BITMAP
    if (found == nullptr)
        return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr)
        return {};
    return {static_cast<const uint8_t*>(bytes), size_t(SizeofResource(module, found))};
}

} // namespace grelmond
