#pragma once

#include <cstddef>
#include <cstdint>

namespace grelmond {

// The BMP files compiled into the library, found by resource id.
struct BitmapResource {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

// An empty resource when the id is unknown. Defined by the generated resource table.
BitmapResource findBitmapResource(int id);

} // namespace grelmond
