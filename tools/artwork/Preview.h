#pragma once

#include <string>

namespace artwork {

// Writes a PNG of the editor as it opens: the background with every control
// drawn from its bitmap at its default value, and sample display texts.
bool writePreview(const std::string& path);

} // namespace artwork
