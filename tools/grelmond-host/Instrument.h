#pragma once

// What the host's commands need from a loaded instrument, whatever its plug-in
// format: programs, parameters, state, processing and the editor. Each format's
// loader implements it (Vst2Instrument, Vst3Plugin).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace host {

// A short MIDI message at a frame of the block being processed.
struct BlockMidi {
    int frame = 0;
    unsigned char bytes[3] = {0, 0, 0};
};

// A parameter value (0..1) set at a frame of the block being processed.
struct BlockParameter {
    int frame = 0;
    int index = 0;
    float value = 0.0f;
};

struct BlockTransport {
    double tempo = 0.0;           // 0: the host reports no time information
    std::int64_t position = 0;    // frames since the start
};

class Instrument {
public:
    virtual ~Instrument() = default;

    virtual std::string format() const = 0; // "VST 2", "VST 3"
    virtual int programCount() const = 0;
    virtual int parameterCount() const = 0;
    virtual std::string programName(int program) const = 0;
    virtual int program() const = 0;
    virtual void selectProgram(int program) = 0;
    virtual std::string parameterName(int index) const = 0;
    virtual std::string parameterDisplay(int index) const = 0;
    virtual std::string parameterLabel(int index) const = 0;
    virtual float parameter(int index) const = 0;
    // Outside processing, as a host's user interface sets it.
    virtual void setParameter(int index, float value) = 0;

    // The whole instance as the host saves it in a session; false when refused.
    virtual bool saveState(std::vector<char>& bytes) = 0;
    virtual bool loadState(const std::vector<char>& bytes) = 0;

    virtual void startProcessing() = 0;
    virtual void stopProcessing() = 0;
    // One block: events and parameter changes sorted by frame, outputs cleared
    // by the caller (accumulate adds into them where the format can).
    virtual void process(const std::vector<BlockMidi>& midi, const std::vector<BlockParameter>& params,
                         const BlockTransport& transport, float* left, float* right, int frames,
                         bool accumulate) = 0;

    // The editor in a native parent window (an X window id or an HWND).
    virtual bool editorSize(int& width, int& height) = 0;
    virtual bool openEditor(void* parent) = 0;
    virtual void idleEditor() = 0;
    virtual void closeEditor() = 0;
    // A new editor size the plug-in asked its window for since the last call
    // (a zoom change); 0 × 0 when none.
    virtual std::pair<int, int> takeEditorSizeRequest() { return {0, 0}; }
    // Formats whose editor asks for a size and waits for the window to take it
    // call `resize` then (false: refused); the others leave it to takeEditorSizeRequest.
    virtual void setEditorWindowResizer(std::function<bool(int width, int height)> resize) { (void)resize; }
};

// Loads PATH by its kind (a ".vst3" bundle or a VST 2 library) and prepares it
// for the rate and block size; null with `error` set on failure.
std::unique_ptr<Instrument> openInstrument(const std::string& path, float sampleRate, int blockSize,
                                           std::string& error);
bool isVst3Path(const std::string& path);

} // namespace host
