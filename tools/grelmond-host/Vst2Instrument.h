#pragma once

// A VST 2 library as an Instrument: the AEffect calls behind each operation.

#include "Instrument.h"
#include "LoadedPlugin.h"

namespace host {

class Vst2Instrument final : public Instrument {
public:
    bool load(const std::string& path, float sampleRate, int blockSize, std::string& error);
    LoadedPlugin& plugin() { return plugin_; }

    std::string format() const override { return "VST 2"; }
    int programCount() const override;
    int parameterCount() const override;
    std::string programName(int program) const override { return plugin_.programName(program); }
    int program() const override;
    void selectProgram(int program) override;
    std::string parameterName(int index) const override;
    std::string parameterDisplay(int index) const override;
    std::string parameterLabel(int index) const override;
    float parameter(int index) const override;
    void setParameter(int index, float value) override;

    bool saveState(std::vector<char>& bytes) override;
    bool loadState(const std::vector<char>& bytes) override;

    void startProcessing() override { plugin_.resume(); }
    void stopProcessing() override { plugin_.suspend(); }
    void process(const std::vector<BlockMidi>& midi, const std::vector<BlockParameter>& params,
                 const BlockTransport& transport, float* left, float* right, int frames, bool accumulate) override;

    bool editorSize(int& width, int& height) override;
    bool openEditor(void* parent) override;
    void idleEditor() override { plugin_.dispatch(vst::effEditIdle); }
    std::pair<int, int> takeEditorSizeRequest() override { return plugin_.takeWindowSizeRequest(); }
    void closeEditor() override { plugin_.dispatch(vst::effEditClose); }

    ~Vst2Instrument() override { plugin_.setTimeInfo(nullptr); }

private:
    void updateTimeInfo(const BlockTransport& transport);
    void sendEvents(const std::vector<BlockMidi>& midi);

    LoadedPlugin plugin_;
    vst::VstTimeInfo timeInfo_{};
    std::vector<vst::VstMidiEvent> events_;
    std::vector<unsigned char> eventsStorage_;
};

} // namespace host
