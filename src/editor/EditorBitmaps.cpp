#include "editor/EditorBitmaps.h"

#include "editor/EditorLayout.h"
#include "gui/GuiBitmap.h"
#include "gui/ScaledBitmap.h"

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

void EditorBitmaps::loadAll(double scale)
{
    if (scale != scale_)
        releaseAll();
    scale_ = scale;
    for (size_t i = 0; i < bitmaps_.size(); ++i)
        if (bitmaps_[i] == nullptr)
            bitmaps_[i] = ScaledBitmap::load(editor::kControlBitmaps[i], scale,
                                             editor::framesOf(editor::kControlBitmaps[i]));
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
