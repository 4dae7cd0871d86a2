#pragma once

#include "Image.h"

#include <memory>
#include <vector>

namespace artwork {

// One bitmap resource of the editor: its id, size, frame count and picture.
struct Resource {
    int id;
    int width, height;
    int frames;
    void (*draw)(Image&);
};

const std::vector<Resource>& editorResources();

// Draws one resource at its size times scale (1 or 2).
std::unique_ptr<Image> render(const Resource& resource, int scale = 1);

} // namespace artwork
