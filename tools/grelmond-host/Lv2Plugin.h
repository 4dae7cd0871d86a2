#pragma once

// One LV2 plug-in played the way a host plays it, through lilv: the bundle
// loaded into its own world, an instance with the URID features, its control
// ports held by this host, one atom sequence of events per block in, two
// audio outputs and the notify sequence out. It offers a worker
// (work:schedule) that works only when asked: what run() schedules waits
// for runWorker().

#include "Lv2EventBuffer.h"
#include "UridMap.h"

#include <lilv/lilv.h>
#include <lv2/worker/worker.h>

#include <map>
#include <string>
#include <vector>

namespace host {

// The properties a plug-in's state interface stored: key URI → type URI and bytes.
struct Lv2StateValue {
    std::string type;
    std::string bytes;
};
using Lv2StateRecord = std::map<std::string, Lv2StateValue>;

class Lv2Plugin {
public:
    Lv2Plugin();
    ~Lv2Plugin();
    Lv2Plugin(const Lv2Plugin&) = delete;
    Lv2Plugin& operator=(const Lv2Plugin&) = delete;

    // The first plug-in of the bundle folder, instantiated and activated at the
    // rate for blocks of up to maxBlock frames. On failure error() says why.
    bool load(const std::string& bundle, double sampleRate, int maxBlock);
    const std::string& error() const { return error_; }
    std::string uri() const;

    int numPorts() const { return static_cast<int>(controls_.size()); }
    int portIndex(const std::string& symbol) const; // -1 when there is none
    std::string portSymbol(int index) const;
    bool isControlInput(int index) const;
    // The value the host holds for a control port (out of range: ignored, 0).
    void setPort(int index, float value);
    float port(int index) const;

    // Whether instances get the worker feature (before load(); on by default).
    void offerWorker(bool offer) { offerWorker_ = offer; }
    // Does the work run() scheduled, on this thread, then hands each answer to
    // the plug-in's work_response and calls its end_run. Returns how many
    // requests were worked.
    int runWorker();

    // The block's events; cleared after every run.
    Lv2EventBuffer& events() { return events_; }
    // Runs frames (at most maxBlock) into left() and right().
    void run(int frames);
    const float* left() const { return left_.data(); }
    const float* right() const { return right_.data(); }
    // The notify port's sequence from the last run.
    const LV2_Atom_Sequence* notify() const;

    // The bundle's presets, sorted by URI, and applying one as hosts do (its port values).
    std::vector<std::string> presetUris() const;
    bool applyPreset(const std::string& uri);

    // The whole state as a host saves it in a session (Turtle text), and back.
    std::string saveSessionState();
    bool restoreSessionState(const std::string& text);
    // The plug-in's state interface called directly: save gives what it stored,
    // restore its status (LV2_STATE_SUCCESS, 0, when accepted).
    bool saveState(Lv2StateRecord& record);
    int restoreState(const Lv2StateRecord& record);

    UridMap& urids() { return urids_; }
    LV2_Handle handle() const;
    const void* extensionData(const char* uri) const;

private:
    void unload();
    bool findPlugin(const std::string& bundle);
    void connectPorts();
    static LV2_Worker_Status schedule(LV2_Worker_Schedule_Handle handle, uint32_t size, const void* data);
    static LV2_Worker_Status respond(LV2_Worker_Respond_Handle handle, uint32_t size, const void* data);

    UridMap urids_;
    LilvWorld* world_ = nullptr;
    const LilvPlugin* plugin_ = nullptr;
    LilvInstance* instance_ = nullptr;
    std::string error_;
    double sampleRate_ = 44100.0;
    int maxBlock_ = 0;
    std::vector<float> controls_; // one per port; only control ports use theirs
    std::vector<float> left_, right_;
    Lv2EventBuffer events_{urids_};
    std::vector<std::uint64_t> notify_;
    std::vector<const LV2_Feature*> features_;
    LV2_Feature mapFeature_{}, unmapFeature_{}, scheduleFeature_{};
    LV2_Worker_Schedule schedule_{};
    bool offerWorker_ = true;
    // Requests as [size][bytes], kept within a capacity reserved up front so
    // that scheduling never allocates.
    std::vector<std::uint8_t> requests_;
    std::vector<std::vector<std::uint8_t>> responses_;
};

} // namespace host
