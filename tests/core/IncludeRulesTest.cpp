// The layers of src/ include only downwards, and no plug-in format's
// declarations leak out of its adapter in src/formats.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Include {
    std::string file;
    std::string target; // as written between the quotes or brackets
};

std::vector<Include> includesUnder(const fs::path& root)
{
    static const std::regex line(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])");
    std::vector<Include> found;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp"))
            continue;
        std::ifstream in(entry.path());
        std::string text;
        std::smatch match;
        while (std::getline(in, text))
            if (std::regex_search(text, match, line))
                found.push_back({fs::relative(entry.path(), root).generic_string(), match[1]});
    }
    return found;
}

std::string topFolder(const std::string& path) { return path.substr(0, path.find('/')); }

bool isFormatHeader(const std::string& target)
{
    for (const char* prefix : {"formats/", "pluginterfaces/", "public.sdk/", "base/source/", "lv2/", "lv2.h"})
        if (target.rfind(prefix, 0) == 0)
            return true;
    return false;
}

const fs::path kSource = fs::path(GRELMOND_SOURCE_DIR) / "src";

} // namespace

TEST(IncludeRules, FormatHeadersStayInsideTheirAdapters)
{
    const std::vector<Include> includes = includesUnder(kSource);
    ASSERT_FALSE(includes.empty());
    for (const Include& include : includes)
        if (topFolder(include.file) != "formats") {
            EXPECT_FALSE(isFormatHeader(include.target)) << include.file << " includes " << include.target;
        }
}

TEST(IncludeRules, LayersIncludeOnlyDownwards)
{
    // Each layer and the project folders it may include; folders not named
    // here (formats, new ones) are held only to the format rule above.
    const std::map<std::string, std::set<std::string>> allowed{
        {"editor", {"editor", "core", "gui", "params", "platform"}},
        {"core", {"core", "render", "engine", "params", "platform", "storage"}},
        {"gui", {"gui", "platform"}},
        {"render", {"render", "engine", "params", "platform", "storage"}},
        {"engine", {"engine", "params", "platform"}},
        {"storage", {"storage", "params", "platform"}},
        {"params", {"params", "platform"}},
        {"platform", {"platform"}},
    };
    std::set<std::string> projectFolders;
    for (const auto& entry : fs::directory_iterator(kSource))
        if (entry.is_directory())
            projectFolders.insert(entry.path().filename().string());
    for (const Include& include : includesUnder(kSource)) {
        const auto layer = allowed.find(topFolder(include.file));
        const std::string target = topFolder(include.target);
        if (layer == allowed.end() || include.target.find('/') == std::string::npos || !projectFolders.count(target))
            continue;
        EXPECT_TRUE(layer->second.count(target)) << include.file << " includes " << include.target;
    }
}
