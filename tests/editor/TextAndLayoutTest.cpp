#include <gtest/gtest.h>

#include "editor/EditorLayout.h"
#include "editor/ProgramSteps.h"
#include "editor/ValueConverters.h"

#include <set>
#include <string>

namespace {

using namespace grelmond;
using namespace grelmond::editor;

template <typename F>
std::string textOf(F convert, float v)
{
    char text[kValueTextSize] = {};
    convert(v, text);
    return text;
}

TEST(ValueConverters, ShowTheDisplayedQuantities)
{
    EXPECT_EQ(textOf(functionNameText, 1.0f), "26 Phaser 2");
    EXPECT_EQ(textOf(functionNameText, 0.96f), "25 Phaser 1");
    EXPECT_EQ(textOf(functionNameText, 0.0f), " 1 Flanging");
    EXPECT_EQ(textOf(functionNameText, 1.1f), "");

    char text[kValueTextSize];
    unisonText(0.5f, 3, text);
    EXPECT_STREQ(text, "18");
    unisonText(0.5f, 1, text);
    EXPECT_STREQ(text, "6");
    delayTimeText(0.5f, 48000.0f, text);
    EXPECT_STREQ(text, "0.50");
    delayTimeText(0.5f, 0.0f, text);
    EXPECT_STREQ(text, "");

    EXPECT_EQ(textOf(noteValueText, 0.5f), "/8");
    EXPECT_EQ(textOf(noteValueText, 0.7f), "/4");
    EXPECT_EQ(textOf(noteValueText, 1.0f), " 1");
    EXPECT_EQ(textOf(noteValueText, 0.0f), "/128");
    EXPECT_EQ(textOf(detuneText, 0.29f), "29");
    EXPECT_EQ(textOf(percentText, 0.999f), "99");

    EXPECT_EQ(textOf(programNumberText, 0.0f), "1");
    EXPECT_EQ(textOf(programNumberText, 63.0f / 64.0f), "64");
    EXPECT_EQ(textOf(programNumberText, 0.3f), "");
}

TEST(ProgramSteps, StopAtTheEndsAndFallBackToTheFirstProgram)
{
    EXPECT_EQ(previousProgramPosition(0.0f), 0.0f);
    EXPECT_EQ(previousProgramPosition(5.0f / 64.0f), 4.0f / 64.0f);
    EXPECT_EQ(nextProgramPosition(63.0f / 64.0f), 63.0f / 64.0f);
    EXPECT_EQ(nextProgramPosition(62.0f / 64.0f), 63.0f / 64.0f);
    EXPECT_EQ(nextProgramPosition(0.3f), 0.0f);
    EXPECT_EQ(previousProgramPosition(0.3f), 0.0f);
    EXPECT_EQ(programIndexOf(63.0f / 64.0f), 63);
    EXPECT_EQ(programIndexOf(7.0f), 63);
    EXPECT_EQ(programIndexOf(-1.0f), 0);
}

bool overlap(const GuiRect& a, const GuiRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(EditorLayout, EveryBoundParameterHasOneControlAndNothingOverlaps)
{
    const auto layout = controlLayout();
    std::multiset<int> controlled;
    std::set<int> displayed;
    for (const ControlSpec& spec : layout) {
        EXPECT_GE(spec.rect.left, 0);
        EXPECT_GE(spec.rect.top, 0);
        EXPECT_LE(spec.rect.right, kWidth);
        EXPECT_LE(spec.rect.bottom, kHeight);
        if (spec.kind == ControlKind::ValueDisplay)
            displayed.insert(spec.tag);
        else if (spec.tag >= 0 && spec.tag < 64)
            controlled.insert(spec.tag);
    }
    for (int p = 0; p < 64; ++p) {
        const bool unbound = p == 25 || p == 26 || p == 27 || p == 38 || p == 48;
        EXPECT_EQ(controlled.count(p), unbound ? 0u : 1u) << p;
    }
    EXPECT_EQ(displayed, (std::set<int>{28, 29, 49, 50, 51, 53, 54, 55, 57}));
    EXPECT_EQ(layout.size(), 78u);

    for (size_t i = 0; i < layout.size(); ++i)
        for (size_t j = i + 1; j < layout.size(); ++j)
            EXPECT_FALSE(overlap(layout[i].rect, layout[j].rect)) << layout[i].tag << " and " << layout[j].tag;
}

} // namespace
