#include "VoiceRig.h"

#include <gtest/gtest.h>

#include <cmath>

// A fixed patch through every stage of the voice (three shapes, vibrato,
// "5 Vox A", the filter with envelope and resonance, a release). Recorded
// figures: a change here means the voice sounds different.
TEST(VoiceSnapshot, FixedPatchRendersAsRecorded) {
    VoiceRig rig;
    const float shapes[3] = {0.5f, 0.35f, 1.0f}, coarse[3] = {0.5f, 0.5f, 0.75f}, fine[3] = {0.45f, 0.5f, 0.55f};
    for (int k = 0; k < 3; ++k) {
        rig.set(4 * k + 0, shapes[k]);
        rig.set(4 * k + 1, coarse[k]);
        rig.set(4 * k + 2, fine[k]);
        rig.set(4 * k + 3, 0.8f);
    }
    rig.set(12, 0.6f);
    rig.setFunction(4);
    rig.set(58, 0.8f);
    rig.set(39, 0.0f);
    rig.envelopes(5, 20, 0.6f, 30);
    rig.input.cutoff = 0.3f;
    rig.input.resonance = 0.6f;
    rig.input.envAmount = 0.5f;

    grelmond::Voice* v = rig.start(60, 100);
    v->setModWheel(0.4f);
    auto held = rig.render(v, 11025);
    v->noteOff(100);
    auto released = rig.render(v, 11025);

    double energy = 0.0;
    for (float s : held.left) energy += double(s) * s;
    for (float s : released.left) energy += double(s) * s;
    const float picks[] = {held.left[1000], held.left[5000], held.left[10000], released.left[3000], released.left[9000]};
    const double recordedEnergy = 0.466291681;
    const float recorded[] = {-0.00365470932f, -0.00242039422f, -6.80972662e-05f, 0.00994272996f, 0.00187877635f};
    EXPECT_NEAR(energy, recordedEnergy, recordedEnergy * 1e-5);
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(picks[i], recorded[i], 1e-6f) << i;
}
