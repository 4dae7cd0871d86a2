#pragma once

#include "render/RenderSettings.h"

namespace grelmond {

// What the render loop needs from its plug-in instance. Called on the audio
// thread only, once per chunk.
class RenderClient {
public:
    virtual void readSettings(RenderSettings& settings) = 0;
    // The host's tempo in BPM; false when the host gives no tempo.
    virtual bool hostTempo(double& tempo) = 0;
    // Removes finished voices, then lets every voice add its sound for the chunk
    // into the two buffers from index 0.
    virtual void renderVoices(float* left, float* right, const VoiceChunk& chunk) = 0;
    // Clears the recursive filter state of every voice after the voices' sum
    // ran away.
    virtual void clearVoiceFilters() = 0;

protected:
    ~RenderClient() = default;
};

} // namespace grelmond
