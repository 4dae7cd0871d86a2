#include <gtest/gtest.h>

#include "EditorHarness.h"

#include <atomic>
#include <random>
#include <thread>

namespace editortest {
namespace {

// A host automating on its audio thread while the user opens and closes the
// editor: the notifications must never touch controls being built or torn down.
TEST(EditorStress, OpenAndCloseWhileAnotherThreadSetsParametersAndPrograms)
{
    EditorHarness h;
    vst::AEffect* effect = h.effect();
    std::atomic<bool> stop{false};
    std::atomic<int> changes{0};
    std::thread automation([&] {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> index(0, 80); // a few beyond the parameters too
        std::uniform_real_distribution<float> value(-0.1f, 1.1f);
        while (!stop.load()) {
            const int i = index(random);
            if (i == 80)
                effect->dispatcher(effect, vst::effSetProgram, 0, random() % 64, nullptr, 0.0f);
            else
                effect->setParameter(effect, i, value(random));
            changes.fetch_add(1);
        }
    });
    for (int round = 0; round < 200; ++round) {
        ASSERT_EQ(h.editor->open(nullptr), 1);
        h.idle();
        h.idle();
        h.close();
    }
    stop.store(true);
    automation.join();
    EXPECT_GT(changes.load(), 200);

    // Quiet again: the open editor shows what the host reads.
    h.open();
    h.idle();
    for (int index : {0, 1, 30, 57, 63})
        EXPECT_FLOAT_EQ(h.control(index)->getValue(), h.plugin->getParameter(index)) << index;
}

} // namespace
} // namespace editortest
