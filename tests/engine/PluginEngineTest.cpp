#include "engine/Envelope.h"
#include "formats/vst2/SynthPlugin.h"
#include "engine/Waveform.h"

#include <gtest/gtest.h>

namespace {

vst::VstIntPtr quietHost(vst::AEffect*, vst::VstInt32 opcode, vst::VstInt32, vst::VstIntPtr, void*, float) {
    return opcode == vst::audioMasterVersion ? 2400 : 0;
}

} // namespace

// The plug-in's parameters reach its own engine, and its waveforms come from
// the installation folder.
TEST(PluginEngine, ParametersDriveTheEnvelopesAndWaveformsAreLoaded) {
    grelmond::SynthPlugin a(quietHost), b(quietHost);
    a.setParameter(59, 1.0f);
    a.setParameter(15, 0.0f);
    a.setParameter(20, 0.25f);
    EXPECT_EQ(a.engine().amplitudeEnvelope()->attack(), 2993);
    EXPECT_EQ(a.engine().filterEnvelope()->decay(), 0);
    EXPECT_FLOAT_EQ(a.engine().procEnvelope()->sustain(), 0.25f);
    EXPECT_NE(b.engine().amplitudeEnvelope()->attack(), 2993);

    EXPECT_EQ(a.engine().waveforms().at(0)->samples()[1], 332);
    int nonZero = 0;
    for (int i = 0; i < 1000; ++i) nonZero += a.engine().waveforms().at(8)->samples()[i] != 0;
    EXPECT_GT(nonZero, 900);
}
