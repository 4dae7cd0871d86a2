// libFuzzer target: any bytes read as a scale, as a keyboard mapping and as a
// tuning message must neither crash nor give a note a pitch that is not a
// finite number within the table's limits; a refused read changes nothing.
#include "params/TuningTable.h"
#include "render/TuningSysex.h"
#include "storage/KeyboardMapping.h"
#include "storage/ScalaScale.h"
#include "storage/ScalaTuning.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

using namespace grelmond;

namespace {

void checkTable(const TuningTable& t) {
  for (int note = 0; note < TuningTable::kNotes; ++note) {
    const float d = t.deviation(note);
    if (!std::isfinite(d) || std::fabs(d) > TuningTable::kMaxDeviation) std::abort();
    if (!t.mapped(note) && d != 0.0f) std::abort();
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  ScalaScale scale = ScalaScale::equalTemperament();
  const bool scaleRead = ScalaScale::parse(text, scale).ok();
  if (!scaleRead && scale.size() != 12) std::abort();
  TuningTable fromScale;
  ScalaTuning::build(scale, KeyboardMapping::standard(), fromScale);
  checkTable(fromScale);

  KeyboardMapping mapping = KeyboardMapping::standard();
  const bool mappingRead = KeyboardMapping::parse(text, mapping).ok();
  if (!mappingRead && mapping.referenceKey() != 60) std::abort();
  TuningTable fromMapping;
  ScalaTuning::build(ScalaScale::equalTemperament(), mapping, fromMapping);
  checkTable(fromMapping);

  TuningTable retuned;
  if (!TuningSysex::apply(data, size, retuned) && !retuned.isEqualTemperament()) std::abort();
  checkTable(retuned);
  return 0;
}
