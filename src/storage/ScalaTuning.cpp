#include "storage/ScalaTuning.h"

namespace grelmond {

namespace ScalaTuning {

ScalaStatus build(const ScalaScale& scale, const KeyboardMapping& mapping, TuningTable& table) {
    const int size = scale.size();
    const long long referenceDegree = mapping.patternDegree(mapping.referenceKey(), size);
    if (referenceDegree == KeyboardMapping::kNoDegree) return {ScalaError::unmappedReference, 0};
    const double referenceCents = scale.degreeCents(referenceDegree);
    const double referencePitch = mapping.referencePitch();
    TuningTable built;
    for (int key = 0; key < TuningTable::kNotes; ++key) {
        const long long degree = mapping.degree(key, size);
        if (degree == KeyboardMapping::kNoDegree) {
            built.unmap(key);
            continue;
        }
        const double pitch = referencePitch + (scale.degreeCents(degree) - referenceCents) / 100.0;
        built.set(key, pitch - static_cast<double>(key));
    }
    table = built;
    return {};
}

} // namespace ScalaTuning

} // namespace grelmond
