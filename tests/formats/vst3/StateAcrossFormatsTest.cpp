#include "FormatComparison.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

// The VST 3 state is the VST 2 chunk: after any automation both builds save
// the same bytes, each restores the other's, and a restored instance plays
// the same samples as the one that saved.

using namespace vst3test;

namespace {

// Random values for every parameter, at random block starts.
std::string randomAutomation(unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    std::string list;
    char item[64];
    for (int i = 0; i < 160; ++i) {
        const int block = static_cast<int>(random() % 80);
        std::snprintf(item, sizeof item, "%s%.17g:%d:%.9g", list.empty() ? "" : ",", block * 512 / 44100.0,
                      static_cast<int>(random() % 64), value(random));
        list += item;
    }
    return list;
}

const std::string kNotes = "--notes 0:57:100:0.6,0.2:64:90:0.5,0.4:69:110:0.4 --seconds 1 --tempo 100";

} // namespace

TEST(StateAcrossFormats, BothFormatsSaveTheSameExactStateAfterRandomAutomation)
{
    const std::string v2 = tempPath("random.v2state"), v3 = tempPath("random.v3state");
    const std::string args = kNotes + " --program 7 --automate " + randomAutomation(11);
    ASSERT_EQ(render(args + " --save-state " + v2, vst2Path()).status, 0);
    ASSERT_EQ(render(args + " --save-state " + v3, vst3Path()).status, 0);
    const std::vector<char> a = readBytes(v2), b = readBytes(v3);
    ASSERT_GT(a.size(), 10000u);
    EXPECT_EQ(a, b);

    // A round trip through the VST 3 build gives back the very bytes.
    const std::string again = tempPath("again.v3state");
    ASSERT_EQ(runHost("--bench --seconds 0.01 --load-state " + v2 + " --save-state " + again, vst3Path()), 0);
    EXPECT_EQ(readBytes(again), a);
    for (const std::string& f : {v2, v3, again})
        std::remove(f.c_str());
}

TEST(StateAcrossFormats, EitherFormatRestoresTheOthersStateToTheSameSound)
{
    const std::string saved = tempPath("saved.state");
    ASSERT_EQ(render(kNotes + " --program 12 --automate " + randomAutomation(5) + " --save-state " + saved,
                     vst2Path())
                  .status,
              0);
    const std::string replay = kNotes + " --load-state " + saved;
    const Render vst2 = render(replay, vst2Path());
    const Render vst3 = render(replay, vst3Path());
    ASSERT_EQ(vst2.status, 0) << vst2.output;
    ASSERT_EQ(vst3.status, 0) << vst3.output;
    EXPECT_EQ(firstDifference(vst2, vst3), "");

    // And back: the VST 3 build's state restores in VST 2.
    const std::string fromVst3 = tempPath("from-vst3.state");
    ASSERT_EQ(render(replay + " --save-state " + fromVst3, vst3Path()).status, 0);
    const Render back = render(kNotes + " --load-state " + fromVst3, vst2Path());
    EXPECT_EQ(firstDifference(vst2, back), "");
    std::remove(saved.c_str());
    std::remove(fromVst3.c_str());
}

TEST(StateAcrossFormats, ThreeDecimalChunksOfEarlierBuildsLoadAsInVst2)
{
    // Saved by a VST 2 build whose chunks carried three decimals.
    const std::string old = std::string(GRELMOND_SOURCE_DIR) + "/tests/formats/vst3/data/three-decimal-chunk.state";
    const std::string replay = kNotes + " --load-state " + old;
    const Render vst2 = render(replay, vst2Path());
    const Render vst3 = render(replay, vst3Path());
    ASSERT_EQ(vst2.status, 0) << vst2.output;
    ASSERT_EQ(vst3.status, 0) << vst3.output;
    EXPECT_EQ(firstDifference(vst2, vst3), "");
}
