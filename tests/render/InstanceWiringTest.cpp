#include "formats/vst2/SynthPlugin.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace grelmond;

namespace {

vst::VstIntPtr quietHost(vst::AEffect*, vst::VstInt32 opcode, vst::VstInt32, vst::VstIntPtr, void*, float)
{
    return opcode == vst::audioMasterVersion ? 2400 : 0;
}

void renderChunk(SynthPlugin& plugin)
{
    std::vector<float> left(441), right(441);
    float* outputs[2] = {left.data(), right.data()};
    plugin.processReplacing(nullptr, outputs, 441);
}

} // namespace

TEST(InstanceWiring, EnsembleCopiesFollowTheOscillatorCount)
{
    auto plugin = std::make_unique<SynthPlugin>(quietHost);
    plugin->setParameter(28, 1.0f);
    plugin->setParameter(29, 1.0f);
    renderChunk(*plugin);
    const Ensemble& ensemble = plugin->renderer().loop().ensemble();
    ASSERT_EQ(ensemble.tapCount(), 10);
    EXPECT_NEAR(ensemble.ratio(0), 1.016f, 1e-6f);
    EXPECT_NEAR(ensemble.ratio(5), 0.992f, 1e-6f);
    plugin->setParameter(28, 0.0f);
    renderChunk(*plugin);
    EXPECT_EQ(ensemble.tapCount(), 0);
}

TEST(InstanceWiring, KeyDepthGlidesAtTheGlideParameter)
{
    for (auto [glide, first] : {std::pair{0.0f, 1.0f}, std::pair{0.5f, 0.25f}, std::pair{1.0f, 0.0f}}) {
        auto plugin = std::make_unique<SynthPlugin>(quietHost);
        plugin->setParameter(24, glide);
        EXPECT_EQ(plugin->renderer().keyDepth().value(), 1.0f);
        renderChunk(*plugin);
        EXPECT_FLOAT_EQ(plugin->renderer().keyDepth().value(), first) << glide;
    }
}
