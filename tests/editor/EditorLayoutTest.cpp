#include <gtest/gtest.h>

#include "editor/EditorLayout.h"

#include <set>

namespace {

using namespace grelmond::editor;

TEST(EditorLayout, EveryBoundParameterHasOneControlInsideTheWindowAndNothingOverlaps)
{
    const auto layout = controlLayout();
    std::multiset<int> controlled;
    std::set<int> displayed;
    for (const ControlSpec& entry : layout) {
        EXPECT_TRUE(entry.rect.left >= 0 && entry.rect.top >= 0 && entry.rect.right <= kWidth &&
                    entry.rect.bottom <= kHeight)
            << entry.tag;
        if (entry.kind == ControlKind::ValueDisplay)
            displayed.insert(entry.tag);
        else if (entry.tag >= 0 && entry.tag < 64)
            controlled.insert(entry.tag);
    }
    for (int p = 0; p < 64; ++p) {
        const bool unbound = p == 25 || p == 26 || p == 27 || p == 38 || p == 48;
        EXPECT_EQ(controlled.count(p), unbound ? 0u : 1u) << p;
    }
    EXPECT_EQ(displayed, (std::set<int>{28, 29, 49, 50, 51, 53, 54, 55, 57}));

    for (size_t i = 0; i < layout.size(); ++i)
        for (size_t j = i + 1; j < layout.size(); ++j) {
            const auto& a = layout[i].rect;
            const auto& b = layout[j].rect;
            EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
                << layout[i].tag << " and " << layout[j].tag;
        }
}

} // namespace
