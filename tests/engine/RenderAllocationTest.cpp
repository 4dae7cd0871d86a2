#include "CountingAllocator.h"
#include "VoiceRig.h"
#include "render/VoicePool.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

TEST(RenderPath, StartingRenderingAndEndingVoicesNeverAllocates) {
    VoiceRig rig;
    for (int k = 0; k < 3; ++k) rig.set(4 * k + 3, 1.0f);
    rig.set(39, 0.0f);
    rig.set(30, 1.0f);
    std::vector<float> left(441), right(441);
    grelmond::SampleStore& store = *rig.engine.store();

    long probe = allocationCount();
    auto* counted = new std::vector<float>(8);
    delete counted;
    ASSERT_GT(allocationCount(), probe) << "the counting hook is not in place";

    long before = allocationCount();
    for (int f = 0; f < 26; ++f) {
        rig.setFunction(f);
        grelmond::Voice* v = store.createVoice(100, 60 + f, 10);
        for (int chunk = 0; chunk < 20; ++chunk) {
            if (chunk == 10) v->noteOff(0);
            v->render(left.data(), right.data(), rig.input);
        }
        store.destroyVoice(v);
    }
    EXPECT_EQ(allocationCount() - before, 0);
}

TEST(RenderPath, TheBatchedPoolNeverAllocates) {
    VoiceRig rig;
    for (int k = 0; k < 3; ++k) rig.set(4 * k + 3, 1.0f);
    rig.set(39, 0.0f);
    rig.envelopes(0, 0, 1.0f, 5);
    std::vector<float> left(441), right(441);
    for (grelmond::SimdPath path : {grelmond::SimdPath::Sse2, grelmond::SimdPath::Avx2}) {
        if (!grelmond::simdPathAvailable(path)) continue;
        auto pool = std::make_unique<grelmond::VoicePool>();
        pool->attach(rig.engine.store(), nullptr);
        pool->setSimdPath(path);
        long before = allocationCount();
        for (int f = 0; f < 26; f += 5) {
            rig.setFunction(f);
            for (int v = 0; v < 13; ++v) pool->start(100, 40 + v, v * 30, 0.0f);
            for (int chunk = 0; chunk < 12; ++chunk) {
                if (chunk == 6) pool->releaseAll(0);
                pool->renderAll(left.data(), right.data(), rig.input);
                pool->removeFinished();
            }
            pool->clear();
        }
        EXPECT_EQ(allocationCount() - before, 0) << grelmond::simdPathName(path);
    }
}
