#include "../engine/VoiceRig.h"

#include "engine/DenormalOffset.h"
#include "params/TuningTable.h"
#include "render/VoicePool.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace grelmond;

// Tuned voices in SIMD lanes give the voice-by-voice samples bit for bit,
// also when the table changes under sounding notes.
TEST(TunedVoices, BatchedPathMatchesTheScalarPathUnderATuningAndARetune)
{
    for (SimdPath path : {SimdPath::Sse2, SimdPath::Avx2}) {
        if (!simdPathAvailable(path))
            continue;
        TuningTable table;
        for (int note = 0; note < 128; ++note)
            table.set(note, (note - 60) * (12.0 / 19.0 - 1.0));
        std::unique_ptr<VoiceRig> rig[2];
        VoicePool pool[2];
        for (int s = 0; s < 2; ++s) {
            rig[s] = std::make_unique<VoiceRig>(48000);
            const float shapes[3] = {0.5f, 0.35f, 1.0f}, fine[3] = {0.45f, 0.5f, 0.55f};
            for (int k = 0; k < 3; ++k) {
                rig[s]->set(4 * k + 0, shapes[k]);
                rig[s]->set(4 * k + 2, fine[k]);
                rig[s]->set(4 * k + 3, 0.8f);
            }
            rig[s]->set(39, 0.0f);
            rig[s]->input.cutoff = 0.4f;
            rig[s]->input.resonance = 0.7f;
            rig[s]->input.tuning = &table;
            pool[s].attach(rig[s]->engine.store(), nullptr);
            pool[s].setSimdPath(s == 0 ? SimdPath::Scalar : path);
            for (int v = 0; v < 12; ++v)
                pool[s].start(100, 36 + 7 * v, v * 13, 0.0f);
        }
        const int frames = 480;
        for (int c = 0; c < 20; ++c) {
            if (c == 8)
                table.set(50, 3.25); // a retune of one sounding note
            std::vector<float> out[2][2];
            const float offset = DenormalOffset::before(0);
            for (int s = 0; s < 2; ++s) {
                out[s][0].assign(frames, offset);
                out[s][1].assign(frames, offset);
                pool[s].renderAll(out[s][0].data(), out[s][1].data(), rig[s]->input);
            }
            ASSERT_EQ(out[0][0], out[1][0]) << simdPathName(path) << " chunk " << c;
            ASSERT_EQ(out[0][1], out[1][1]) << simdPathName(path) << " chunk " << c;
        }
    }
}
