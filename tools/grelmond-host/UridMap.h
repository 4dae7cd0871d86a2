#pragma once

// The host's URI ↔ number table, handed to LV2 plug-ins as the urid:map and
// urid:unmap features. One per host; not for use from several threads.

#include <lv2/urid/urid.h>

#include <string>
#include <vector>

namespace host {

class UridMap {
public:
    UridMap();
    UridMap(const UridMap&) = delete;
    UridMap& operator=(const UridMap&) = delete;

    LV2_URID map(const char* uri);
    const char* unmap(LV2_URID urid) const;

    LV2_URID_Map* mapFeature() { return &map_; }
    LV2_URID_Unmap* unmapFeature() { return &unmap_; }

private:
    std::vector<std::string> uris_; // URID n is uris_[n - 1]
    LV2_URID_Map map_;
    LV2_URID_Unmap unmap_;
};

} // namespace host
