#include "storage/TuningFiles.h"

#include "platform/Paths.h"
#include "platform/RegularFile.h"
#include "storage/ScalaText.h"

#include <cstdio>

namespace grelmond {

namespace {

std::optional<std::string> readText(const std::string& path) {
    std::FILE* f = platform::openRegularFile(path);
    if (f == nullptr) return std::nullopt;
    std::string text(ScalaText::kMaxBytes + 1, '\0');
    const std::size_t n = std::fread(text.data(), 1, text.size(), f);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return std::nullopt;
    text.resize(n);
    return text;
}

} // namespace

TuningFiles::TuningFiles(std::string installFolder)
    : remembered_(installFolder), installFolder_(std::move(installFolder)) {}

std::optional<std::string> TuningFiles::read(const char* name) const {
    if (name == nullptr || *name == '\0') return std::nullopt;
    const bool bare = !platform::isFullPath(name);
    if (const auto path = remembered_.resolve(name, RememberedFolder::Use::Load))
        if (auto text = readText(*path)) return text;
    if (!bare) return std::nullopt;
    return readText(platform::joinPath(platform::joinPath(installFolder_, kShippedFolder), name));
}

} // namespace grelmond
