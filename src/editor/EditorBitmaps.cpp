#include "editor/EditorBitmaps.h"

#include "editor/EditorLayout.h"
#include "gui/GuiBitmap.h"

#include <iterator>

namespace grelmond {

static_assert(std::size(editor::kControlBitmaps) == 12);

EditorBitmaps::~EditorBitmaps() { releaseAll(); }

int EditorBitmaps::slotOf(int resourceId)
{
    for (size_t i = 0; i < std::size(editor::kControlBitmaps); ++i)
        if (editor::kControlBitmaps[i] == resourceId)
            return int(i);
    return -1;
}

void EditorBitmaps::loadAll()
{
    for (size_t i = 0; i < bitmaps_.size(); ++i)
        if (bitmaps_[i] == nullptr)
            bitmaps_[i] = new GuiBitmap(editor::kControlBitmaps[i]);
}

void EditorBitmaps::releaseAll()
{
    for (GuiBitmap*& bitmap : bitmaps_) {
        if (bitmap != nullptr)
            bitmap->release();
        bitmap = nullptr;
    }
}

GuiBitmap* EditorBitmaps::get(int resourceId) const
{
    const int slot = slotOf(resourceId);
    return slot >= 0 ? bitmaps_[size_t(slot)] : nullptr;
}

} // namespace grelmond
