#pragma once

#include <array>

namespace grelmond {

class GuiBitmap;

// The control pictures an open editor holds: loaded when the window opens,
// each only if not already held at the same scale, and released when it
// closes. UI thread only.
class EditorBitmaps {
public:
    EditorBitmaps() = default;
    ~EditorBitmaps();
    EditorBitmaps(const EditorBitmaps&) = delete;
    EditorBitmaps& operator=(const EditorBitmaps&) = delete;

    void loadAll(double scale = 1.0);
    void releaseAll();
    // Null for an id that is not a control picture or is not held.
    GuiBitmap* get(int resourceId) const;

private:
    static int slotOf(int resourceId);

    std::array<GuiBitmap*, 12> bitmaps_{};
    double scale_ = 1.0;
};

} // namespace grelmond
