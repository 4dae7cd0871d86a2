#include "UridMap.h"

namespace host {

UridMap::UridMap()
{
    map_.handle = this;
    map_.map = [](LV2_URID_Map_Handle handle, const char* uri) { return static_cast<UridMap*>(handle)->map(uri); };
    unmap_.handle = this;
    unmap_.unmap = [](LV2_URID_Unmap_Handle handle, LV2_URID urid) {
        return static_cast<UridMap*>(handle)->unmap(urid);
    };
}

LV2_URID UridMap::map(const char* uri)
{
    if (uri == nullptr)
        return 0;
    for (std::size_t k = 0; k < uris_.size(); ++k)
        if (uris_[k] == uri)
            return static_cast<LV2_URID>(k + 1);
    uris_.emplace_back(uri);
    return static_cast<LV2_URID>(uris_.size());
}

const char* UridMap::unmap(LV2_URID urid) const
{
    return urid >= 1 && urid <= uris_.size() ? uris_[urid - 1].c_str() : nullptr;
}

} // namespace host
