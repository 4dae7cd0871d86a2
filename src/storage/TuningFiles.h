#pragma once

#include "storage/RememberedFolder.h"

#include <optional>
#include <string>

namespace grelmond {

// Reads scale and keyboard-mapping files named as banks and patches are: a
// full path is used as given and its folder remembered, a bare name is looked
// for in the remembered folder and then among the tunings shipped in the
// installation folder. User-interface thread only.
class TuningFiles {
public:
    static constexpr const char* kShippedFolder = "tunings";

    explicit TuningFiles(std::string installFolder);

    // The file's text, or nothing when no regular file can be read under the
    // name. A file larger than the readers accept comes back one byte too
    // long, so that the reader refuses it for its size.
    std::optional<std::string> read(const char* name) const;

private:
    RememberedFolder remembered_;
    std::string installFolder_;
};

} // namespace grelmond
