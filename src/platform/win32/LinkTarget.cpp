#include "platform/win32/LinkTarget.h"

namespace grelmond::platform {

std::string linkTargetPath(const std::string& linkPath, std::string stored, bool relative)
{
    if (stored.rfind("\\??\\", 0) == 0)
        stored.erase(0, 4);
    if (!relative)
        return stored;
    const std::size_t slash = linkPath.find_last_of("\\/");
    return slash == std::string::npos ? stored : linkPath.substr(0, slash + 1) + stored;
}

} // namespace grelmond::platform
