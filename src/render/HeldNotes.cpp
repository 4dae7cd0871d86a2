#include "render/HeldNotes.h"

namespace grelmond {

void HeldNotes::hold(Voice* voice)
{
    if (voice == nullptr)
        return;
    for (int i = 0; i < count_; ++i)
        if (entries_[i] == voice)
            return;
    if (count_ == kCapacity)
        compact();
    if (count_ < kCapacity)
        entries_[count_++] = voice;
}

void HeldNotes::forget(const Voice* voice)
{
    for (int i = 0; i < count_; ++i)
        if (entries_[i] == voice)
            entries_[i] = nullptr;
}

void HeldNotes::compact()
{
    int kept = 0;
    for (int i = 0; i < count_; ++i)
        if (entries_[i] != nullptr)
            entries_[kept++] = entries_[i];
    count_ = kept;
}

} // namespace grelmond
