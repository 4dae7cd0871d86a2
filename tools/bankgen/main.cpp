// bankgen: writes the factory bank from the designs in this folder, and lists
// its programs for the demo and the preset document.
//   bankgen OUT.grb     write the bank file
//   bankgen --list      number, name and family of every program
//   bankgen --presets   the preset list as Markdown

#include "FactoryBank.h"

#include "storage/BankWriter.h"

#include <cstdio>
#include <string>

namespace {

int usage()
{
    std::fputs("usage: bankgen OUT.grb | --list | --presets\n", stderr);
    return 2;
}

void printList(const std::vector<bankgen::Family>& families)
{
    int number = 1;
    for (const auto& family : families) {
        for (const auto& design : family.programs)
            std::printf("%2d  %-23s  %s\n", number++, design.name, family.name);
    }
}

void printPresets(const std::vector<bankgen::Family>& families)
{
    std::puts("# Factory programs\n");
    std::puts("The 64 programs of the bank that Grelmond loads at start-up (`GrelmondDefault.grb`),");
    std::puts("eight families of eight. Numbers are the program numbers a host shows (1 to 64).\n");
    std::puts("Every program plays at concert pitch: A4, MIDI note 69, sounds at 440 Hz (within 3 cents),");
    std::puts("as in the rest of a session; the lowest oscillator of a program plays the key's pitch and");
    std::puts("the others sit at their intervals above it. The programs are also even in loudness: a");
    std::puts("four-note chord held at velocity 100 reaches about -20 LUFS (momentary, ITU-R BS.1770),");
    std::puts("with peaks below -1 dBFS, so that switching programs keeps the level.");
    int number = 1;
    for (const auto& family : families) {
        std::printf("\n## %s\n\n", family.name);
        for (const auto& design : family.programs)
            std::printf("%d. **%s**: %s\n", number++, design.name, design.description);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return usage();
    const std::string arg = argv[1];
    const auto families = bankgen::factoryFamilies();
    std::vector<std::string> errors;
    const grelmond::BankImage image = bankgen::buildBank(families, errors);
    for (const auto& e : errors)
        std::fprintf(stderr, "bankgen: %s\n", e.c_str());
    if (!errors.empty())
        return 1;
    if (arg == "--list") {
        printList(families);
        return 0;
    }
    if (arg == "--presets") {
        printPresets(families);
        return 0;
    }
    if (arg.rfind("--", 0) == 0)
        return usage();
    if (!grelmond::writeBank(arg, image)) {
        std::fprintf(stderr, "bankgen: cannot write %s\n", arg.c_str());
        return 1;
    }
    return 0;
}
