#include "platform/BundleFolder.h"

namespace grelmond::platform {

std::string dataFolderForLibrary(const std::string& libraryFolder)
{
    const auto archStart = libraryFolder.find_last_of("/\\");
    if (archStart == std::string::npos || archStart + 1 == libraryFolder.size())
        return libraryFolder;
    const std::string contents = libraryFolder.substr(0, archStart);
    const auto contentsStart = contents.find_last_of("/\\");
    const std::string name = contents.substr(contentsStart == std::string::npos ? 0 : contentsStart + 1);
    if (name != "Contents")
        return libraryFolder;
    return contents + libraryFolder[archStart] + "Resources";
}

} // namespace grelmond::platform
