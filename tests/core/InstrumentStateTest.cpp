// The host state of the instrument core: exact values, old three-decimal
// states, refusals.
#include "core/Instrument.h"
#include "storage/BankWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace grelmond;

namespace {

using Bits = std::array<uint32_t, 64>;
constexpr int kUnused[] = {25, 26, 27, 38, 48};

// Every value of every program as stored, bit for bit, and every name.
struct Stored {
    std::vector<Bits> values;
    std::vector<std::string> names;
    int current = 0;
    bool operator==(const Stored&) const = default;
};

Stored storedOf(Instrument& instrument)
{
    Stored s;
    for (int p = 0; p < Instrument::kNumPrograms; ++p) {
        Bits bits{};
        for (int i = 0; i < 64; ++i)
            bits[i] = std::bit_cast<uint32_t>(instrument.programs().program(p)->value(i));
        s.values.push_back(bits);
        char name[64] = {};
        instrument.programName(p, name);
        s.names.push_back(name);
    }
    s.current = instrument.currentProgram();
    return s;
}

// Random values in 0..1, with the awkward ones mixed in: both zeros, the
// smallest and largest floats below 1, stepped parameters just off a step.
float awkwardValue(std::mt19937& random)
{
    static const float special[] = {0.0f, -0.0f, 1.0f, std::numeric_limits<float>::denorm_min(),
                                    std::numeric_limits<float>::min(), std::nextafter(1.0f, 0.0f), 0.39845f,
                                    1.0f / 3.0f};
    if (random() % 4 == 0)
        return special[random() % std::size(special)];
    return std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
}

// Host automation over several programs, every parameter (the unused ones
// too), ending on a program whose values are all set by automation.
void automate(Instrument& instrument, uint32_t seed)
{
    std::mt19937 random(seed);
    for (int program : {3, 17, 63, 40}) {
        instrument.selectProgram(program);
        for (int i = 0; i < 64; ++i)
            instrument.setParameter(i, awkwardValue(random));
    }
}

std::vector<float> renderNotes(Instrument& instrument)
{
    const InstrumentEvent notes[] = {{0, 0x90, 57, 100}, {9, 0x90, 64, 90}, {300, 0xB0, 1, 80}};
    const InstrumentEvent offs[] = {{5, 0x80, 57, 0}, {7, 0x80, 64, 0}};
    std::vector<float> out;
    std::vector<float> left(512), right(512);
    for (int block = 0; block < 40; ++block) {
        if (block == 0)
            instrument.handleEvents(notes, 3);
        if (block == 25)
            instrument.handleEvents(offs, 2);
        instrument.render(left.data(), right.data(), 512);
        out.insert(out.end(), left.begin(), left.end());
        out.insert(out.end(), right.begin(), right.end());
    }
    return out;
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

} // namespace

TEST(InstrumentState, RandomAutomationComesBackBitExactAndRendersTheSameSamples)
{
    for (uint32_t seed : {1u, 2u, 3u}) {
        auto original = std::make_unique<Instrument>();
        automate(*original, seed);
        std::string state;
        ASSERT_TRUE(original->saveState(Instrument::StateScope::Bank, state));

        auto restored = std::make_unique<Instrument>();
        ASSERT_TRUE(restored->loadState(Instrument::StateScope::Bank, state.data(), state.size()));
        EXPECT_EQ(storedOf(*restored), storedOf(*original)) << "seed " << seed;
        for (int i = 0; i < 64; ++i)
            ASSERT_EQ(std::bit_cast<uint32_t>(restored->parameter(i)), std::bit_cast<uint32_t>(original->parameter(i)))
                << "live parameter " << i;
        std::string again;
        ASSERT_TRUE(restored->saveState(Instrument::StateScope::Bank, again));
        EXPECT_EQ(again, state);
        EXPECT_TRUE(sameBits(renderNotes(*restored), renderNotes(*original))) << "seed " << seed;
    }
}

TEST(InstrumentState, ProgramScopeIsExactAndTouchesOnlyTheCurrentProgram)
{
    auto original = std::make_unique<Instrument>();
    automate(*original, 7);
    std::string state;
    ASSERT_TRUE(original->saveState(Instrument::StateScope::Program, state));
    EXPECT_EQ(state.find("<current"), std::string::npos);

    auto restored = std::make_unique<Instrument>();
    restored->selectProgram(12);
    const Stored before = storedOf(*restored);
    ASSERT_TRUE(restored->loadState(Instrument::StateScope::Program, state.data(), state.size()));
    const Stored after = storedOf(*restored);
    for (int p = 0; p < 64; ++p)
        if (p != 12) {
            EXPECT_EQ(after.values[p], before.values[p]) << p;
        }
    EXPECT_EQ(after.values[12], storedOf(*original).values[40]);
}

// The text stays in the bank format's shape: every value readable, the five
// unused slots each under the repeated key, shortest texts.
TEST(InstrumentState, StateTextIsReadableAndShortest)
{
    Instrument instrument;
    instrument.selectProgram(0);
    instrument.setParameter(57, 0.39845f);
    instrument.setParameter(25, 0.7f);
    instrument.setParameter(48, -0.0f);
    std::string state;
    ASSERT_TRUE(instrument.saveState(Instrument::StateScope::Bank, state));
    EXPECT_EQ(state.rfind("<bank product=\"grelmond\" version=\"1.1\">\n", 0), 0u);
    EXPECT_NE(state.find(">0.39845</p>"), std::string::npos);
    EXPECT_NE(state.find("<p i=\"not used\">0.7</p>"), std::string::npos);
    EXPECT_TRUE(state.ends_with("</bank>\n<current program=\"0\"/>\n"));
    std::size_t unusedLines = 0;
    for (std::size_t at = state.find("\"not used\""); at != std::string::npos; at = state.find("\"not used\"", at + 1))
        ++unusedLines;
    EXPECT_EQ(unusedLines, 5u * 64u);
}

// A state written with three decimals (the bank file's writer, as earlier
// builds wrote it) loads as it always did: values read as the text says, the
// five unused slots as the file reader takes them (only the first of them,
// to 0).
TEST(InstrumentState, ThreeDecimalStatesLoadAsBefore)
{
    auto source = std::make_unique<Instrument>();
    automate(*source, 11);
    BankImage image;
    fillImage(source->programs(), image);
    const std::string old = formatBank(image) + "<current program=\"40\"/>\n";

    auto target = std::make_unique<Instrument>();
    for (int p = 0; p < 64; ++p)
        for (int i : kUnused)
            target->programs().program(p)->setValue(i, 0.5f);
    ASSERT_TRUE(target->loadState(Instrument::StateScope::Bank, old.data(), old.size()));
    EXPECT_EQ(target->currentProgram(), 40);
    for (int p = 0; p < 64; ++p)
        for (int i = 0; i < 64; ++i) {
            const float had = source->programs().program(p)->value(i);
            const float got = target->programs().program(p)->value(i);
            if (i == 25)
                EXPECT_EQ(got, 0.0f);
            else if (i == 26 || i == 27 || i == 38 || i == 48)
                EXPECT_EQ(got, 0.5f) << "program " << p << " slot " << i;
            else
                EXPECT_NEAR(got, had, 0.0005f + 1e-6f) << "program " << p << " parameter " << i;
        }
    // 0.39845 on a three-decimal grid is 0.398: that is what old states hold.
    const std::string stepped = "<bank product=\"grelmond\" version=\"1.0\">\n<patch name=\"x\" number=\"1\">\n"
                                "\t<p i=\"proc function\">0.398</p>\n</patch>\n</bank>\n<current program=\"0\"/>\n";
    ASSERT_TRUE(target->loadState(Instrument::StateScope::Bank, stepped.data(), stepped.size()));
    EXPECT_EQ(target->parameter(57), 0.398f);
}

TEST(InstrumentState, BadStatesAreRefusedAndChangeNothing)
{
    auto source = std::make_unique<Instrument>();
    automate(*source, 5);
    std::string bank, patch;
    ASSERT_TRUE(source->saveState(Instrument::StateScope::Bank, bank));
    ASSERT_TRUE(source->saveState(Instrument::StateScope::Program, patch));

    auto target = std::make_unique<Instrument>();
    target->selectProgram(9);
    target->setParameter(7, 0.25f);
    const Stored before = storedOf(*target);

    using Scope = Instrument::StateScope;
    EXPECT_FALSE(target->loadState(Scope::Bank, nullptr, 100));
    EXPECT_FALSE(target->loadState(Scope::Bank, bank.data(), 0));
    std::string oversized = bank;
    oversized.insert(0, Instrument::kMaxStateBytes, ' ');
    EXPECT_FALSE(target->loadState(Scope::Bank, oversized.data(), oversized.size()));
    EXPECT_FALSE(target->loadState(Scope::Program, oversized.data(), oversized.size()));
    for (std::size_t cut = 0; cut < bank.size(); cut += 131)
        ASSERT_FALSE(target->loadState(Scope::Bank, bank.data(), cut)) << cut;
    for (std::size_t cut = 0; cut + 1 < patch.size(); cut += 53)
        ASSERT_FALSE(target->loadState(Scope::Program, patch.data(), cut)) << cut;
    std::string badProgram = bank;
    badProgram.replace(badProgram.rfind("\"40\""), 4, "\"-1\"");
    EXPECT_FALSE(target->loadState(Scope::Bank, badProgram.data(), badProgram.size()));
    EXPECT_EQ(storedOf(*target), before);
}

// Values outside 0..1 or not numbers never reach a program from a state.
TEST(InstrumentState, OutOfRangeNumbersAreHeldToTheParameterRange)
{
    Instrument instrument;
    const std::string state = "<bank product=\"grelmond\" version=\"1.1\">\n<patch name=\"x\" number=\"1\">\n"
                              "\t<p i=\"proc function\">nan</p>\n\t<p i=\"volume\">7</p>\n"
                              "\t<p i=\"osc1 vol\">-1e9</p>\n\t<p i=\"osc2 vol\">-0</p>\n"
                              "</patch>\n</bank>\n<current program=\"0\"/>\n";
    ASSERT_TRUE(instrument.loadState(Instrument::StateScope::Bank, state.data(), state.size()));
    const Program& p = *instrument.programs().program(0);
    EXPECT_EQ(p.value(57), 0.0f);
    EXPECT_EQ(p.value(63), 1.0f);
    EXPECT_EQ(std::bit_cast<uint32_t>(p.value(3)), 0u);
}

// A bank state as earlier builds saved it (three decimals, nine for the
// oscillator shapes, "0.0" for every unused slot) loads as it always did.
TEST(InstrumentState, EarlierBuildsStateFixtureLoads)
{
    std::ifstream in(std::string(GRELMOND_SOURCE_DIR) + "/tests/core/data/three-decimal-state.txt", std::ios::binary);
    const std::string old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(old.size(), 100000u);

    Instrument instrument;
    const float unusedBefore = instrument.programs().program(2)->value(26);
    ASSERT_TRUE(instrument.loadState(Instrument::StateScope::Bank, old.data(), old.size()));
    EXPECT_EQ(instrument.currentProgram(), 9);
    char name[Instrument::kProgramNameSize] = {};
    instrument.programName(9, name);
    EXPECT_STREQ(name, "Old session");
    EXPECT_EQ(instrument.parameter(46), 0.85f);
    EXPECT_EQ(instrument.parameter(0), 0.123456791f);
    const Program& two = *instrument.programs().program(2);
    EXPECT_EQ(two.value(57), 0.398f);
    EXPECT_EQ(two.value(25), 0.0f);
    EXPECT_EQ(two.value(26), unusedBefore);
}
