#include "platform/Paths.h"

namespace grelmond::platform {

namespace {
bool isSeparator(char c) { return c == '\\' || c == '/'; }
} // namespace

std::string joinPath(std::string_view folder, std::string_view name)
{
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder);
    path.push_back('\\');
    path.append(name);
    return path;
}

// A drive letter ("C:...") or a network share ("\\server\...").
bool isFullPath(std::string_view name)
{
    return (name.size() >= 2 && name[1] == ':') || (name.size() >= 2 && isSeparator(name[0]) && isSeparator(name[1]));
}

// There is no home shorthand on Windows.
std::string expandHome(std::string_view name) { return std::string(name); }

bool directoryOf(std::string_view path, std::string& out)
{
    for (std::size_t k = path.size(); k-- > 1;) {
        if (isSeparator(path[k])) {
            out.assign(path.substr(0, k));
            return true;
        }
    }
    return false;
}

} // namespace grelmond::platform
