#pragma once

#include <string>

namespace grelmond::platform {

// The data folder for a library in LIBRARY_FOLDER: a library inside a bundle
// (".../Name.vst3/Contents/<arch>") keeps its data in Contents/Resources;
// any other library keeps it beside itself. Either separator is accepted.
std::string dataFolderForLibrary(const std::string& libraryFolder);

} // namespace grelmond::platform
