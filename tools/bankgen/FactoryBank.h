#pragma once

#include "ProgramDesign.h"

#include "storage/BankImage.h"

#include <string>
#include <vector>

namespace bankgen {

// The eight families of the factory bank, in program order.
std::vector<Family> factoryFamilies();

// One family each; defined in a file of its own.
Family basses();
Family leads();
Family pads();
Family keysAndPlucks();
Family voices();
Family organsAndEnsembles();
Family textures();
Family effectsAndPercussion();

// The bank image of the designs: every program starts from the defaults.
// Problems (unknown keys, long names, values outside 0..1, not 64 programs)
// are appended to `errors`; the image is usable only when there are none.
grelmond::BankImage buildBank(const std::vector<Family>& families, std::vector<std::string>& errors);

} // namespace bankgen
