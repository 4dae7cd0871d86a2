#pragma once

#include "params/TuningTable.h"
#include "storage/KeyboardMapping.h"
#include "storage/ScalaScale.h"

namespace grelmond {

// The tuning table a scale plays through a keyboard mapping.
namespace ScalaTuning {

// Every key's deviation from equal temperament; unmapped keys and keys outside
// the mapping's range are silent. Refused (table unchanged) when the mapping
// leaves its reference key without a degree.
ScalaStatus build(const ScalaScale& scale, const KeyboardMapping& mapping, TuningTable& table);

} // namespace ScalaTuning

} // namespace grelmond
