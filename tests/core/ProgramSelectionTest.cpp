// The audio thread's share of program selection: other threads selecting
// without pause never keep it applying for more than one pass per block.
#include "core/ProgramSelection.h"

#include <gtest/gtest.h>

#include <vector>

using grelmond::ProgramSelection;

namespace {

// Another thread's selection arriving while a pass runs: the flag is taken,
// so it only posts.
void postFromElsewhere(ProgramSelection& selection, int32_t index)
{
    selection.select(index, [](int32_t, auto&&) { ADD_FAILURE() << "applied while another pass runs"; });
}

} // namespace

TEST(ProgramSelection, AudioThreadAppliesOnePassPerBlockThroughAStorm)
{
    ProgramSelection selection;
    std::vector<int32_t> applied;
    int storm = 50;
    auto apply = [&](int32_t index, auto&& superseded) {
        applied.push_back(index);
        EXPECT_FALSE(superseded()) << "an audio pass is never cut short";
        if (storm-- > 0)
            postFromElsewhere(selection, 10 + storm % 7);
    };
    selection.selectOnce(3, apply);
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0], 3);
    for (int block = 0; block < 100; ++block) {
        const std::size_t before = applied.size();
        selection.resume(apply);
        EXPECT_LE(applied.size(), before + 1) << "block " << block;
    }
    EXPECT_EQ(applied.size(), 51u) << "the first pass, then one per block: 50 while the storm lasts, the last newest";
    EXPECT_EQ(applied.back(), selection.current());
    EXPECT_EQ(selection.boundedPasses(), 51u);
}

TEST(ProgramSelection, OtherThreadsTakeUpWhatTheAudioThreadLeft)
{
    ProgramSelection selection;
    std::vector<int32_t> applied;
    bool posted = false;
    auto audio = [&](int32_t index, auto&&) {
        applied.push_back(index);
        if (!posted) {
            posted = true;
            postFromElsewhere(selection, 9);
        }
    };
    selection.selectOnce(4, audio);
    // The next selection made elsewhere applies itself, and with it the one left.
    selection.select(11, [&](int32_t index, auto&&) { applied.push_back(index); });
    EXPECT_EQ(applied, (std::vector<int32_t>{4, 11}));
    selection.resume(audio); // nothing newer: the audio thread has nothing to do
    EXPECT_EQ(applied.size(), 2u);
    EXPECT_EQ(selection.current(), 11);
}
