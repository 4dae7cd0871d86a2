#pragma once

#include <string>

namespace snapshot {

struct SnapshotRequest {
    int program = 1; // 1-64, as the editor numbers programs
    double scale = 1.0; // 1 to 2: the editor's zoom
    std::string bankPath; // empty: the plug-in's default bank
    std::string outPath;
};

// Builds a plug-in instance, opens its editor without a screen and writes
// what the window would show as a PNG. False, with `error` set, on failure.
bool writeEditorSnapshot(const SnapshotRequest& request, std::string& error);

} // namespace snapshot
