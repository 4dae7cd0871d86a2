#pragma once

// The state text of the one plug-in in an Ardour session, where Ardour 7 keeps
// it for each format: VST 2 the chunk, base64 in the snapshot; VST 3 a preset
// image (the component's and the controller's streams), base64 in the
// snapshot; LV2 a Turtle file in the session's plugins folder that the
// snapshot names.

#include <string>
#include <string_view>

namespace ardourtest {

enum class PluginFormat { Vst2, Vst3, Lv2 };

class SessionPluginState {
public:
    SessionPluginState(std::string sessionFolder, PluginFormat format);

    // The state in snapshot; empty when none can be read.
    std::string read(const std::string& snapshot) const;
    // Snapshot `to` written as a copy of `from` whose plug-in holds state
    // instead; false when `from` holds no state that reads.
    bool write(const std::string& from, const std::string& to, const std::string& state) const;

private:
    std::string snapshotPath(const std::string& snapshot) const;
    std::string lv2StateFile(std::string_view session, const std::string& stateDir) const;
    std::string readLv2(std::string_view session) const;
    bool writeLv2(std::string& session, const std::string& state) const;

    std::string folder_;
    PluginFormat format_;
};

} // namespace ardourtest
