#pragma once

namespace grelmond {

// Program positions are program index / 64. The editor's arrows step them
// without wrapping; a position that is no exact multiple of 1/64 steps to 0.
float previousProgramPosition(float position);
float nextProgramPosition(float position);
// The program index of a position.
int programIndexOf(float position);

} // namespace grelmond
