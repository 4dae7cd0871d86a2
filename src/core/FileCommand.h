#pragma once

#include <cstdint>

namespace grelmond {

// What the editor's file buttons ask of the instrument. The numbers travel
// between processes (the LV2 editor's messages), so they never change.
enum class FileCommand : int32_t { LoadBank = 0, SaveBank = 1, LoadPatch = 2, SavePatch = 3, LoadTuning = 4 };

inline bool isFileCommand(int32_t number) { return number >= 0 && number <= 4; }
inline bool isLoad(FileCommand command) { return command == FileCommand::LoadBank || command == FileCommand::LoadPatch; }

// The status line's text for a bank or patch command's outcome (a tuning's
// text comes from the tuning itself).
const char* fileStatus(FileCommand command, bool done);

} // namespace grelmond
