#include "FactoryBank.h"

#include "params/InitProgram.h"
#include "params/ParameterList.h"

#include <cstring>

namespace bankgen {

namespace {

// Parameter of a bank key; -1 for keys that name no single parameter.
int parameterOfKey(const char* key)
{
    if (std::strcmp(key, "not used") == 0)
        return -1;
    for (grelmond::ParameterId i = 0; i < grelmond::kNumParameters; ++i) {
        if (std::strcmp(grelmond::parameterInfo(i).bankKey, key) == 0)
            return i;
    }
    return -1;
}

void applyDesign(const ProgramDesign& design, grelmond::Program& program, std::vector<std::string>& errors)
{
    const std::string who = std::string("\"") + design.name + "\": ";
    if (std::strlen(design.name) > 23)
        errors.push_back(who + "name longer than 23 characters");
    Settings all = design.settings + Settings{{"volume", design.volume}};
    for (const Setting& s : all) {
        const int index = parameterOfKey(s.key);
        if (index < 0)
            errors.push_back(who + "no parameter with the key \"" + s.key + "\"");
        else if (!(s.value >= 0.0f && s.value <= 1.0f))
            errors.push_back(who + "\"" + s.key + "\" outside 0..1");
        else
            program.setValue(index, s.value);
    }
    program.setName(design.name);
}

} // namespace

std::vector<Family> factoryFamilies()
{
    return {basses(), leads(), pads(), keysAndPlucks(), voices(), organsAndEnsembles(), textures(),
            effectsAndPercussion()};
}

grelmond::BankImage buildBank(const std::vector<Family>& families, std::vector<std::string>& errors)
{
    grelmond::BankImage image;
    int k = 0;
    for (const Family& family : families) {
        for (const ProgramDesign& design : family.programs) {
            grelmond::InitProgram program;
            applyDesign(design, program, errors);
            if (k < grelmond::kBankPatches)
                image.entries[k].fillFrom(program);
            ++k;
        }
    }
    if (k != grelmond::kBankPatches)
        errors.push_back("the designs hold " + std::to_string(k) + " programs, a bank holds 64");
    return image;
}

} // namespace bankgen
