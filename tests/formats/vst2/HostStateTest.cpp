// What a host saves of an instance and gives back: parameter values read
// with getParameter, and the bank or one program as a chunk.
#include "PluginLoader.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace vst;
using testsupport::PluginInstance;
using testsupport::PluginLoader;
using testsupport::ScriptedHost;

namespace {

// Slots the bank file keeps no value for.
bool isUnusedSlot(int index) { return index == 25 || index == 26 || index == 27 || index == 38 || index == 48; }

using ProgramValues = std::array<float, 64>;

struct Snapshot {
    std::vector<ProgramValues> values;
    std::vector<std::string> names;
    VstIntPtr current = 0;
    bool operator==(const Snapshot&) const = default;
};

std::string chunkOf(PluginInstance& plugin, bool preset)
{
    void* data = nullptr;
    const VstIntPtr size = plugin.dispatch(effGetChunk, preset ? 1 : 0, 0, &data);
    return size > 0 && data != nullptr ? std::string(static_cast<const char*>(data), size) : std::string();
}

VstIntPtr setChunk(PluginInstance& plugin, const std::string& chunk, bool preset)
{
    std::vector<char> bytes(chunk.begin(), chunk.end()); // the host's copy, gone after the call
    return plugin.dispatch(effSetChunk, preset ? 1 : 0, static_cast<VstIntPtr>(bytes.size()),
                           bytes.empty() ? static_cast<void*>(&bytes) : bytes.data());
}

ProgramValues liveValues(PluginInstance& plugin)
{
    ProgramValues v{};
    for (int i = 0; i < 64; ++i)
        v[i] = plugin.getParameter(i);
    return v;
}

std::string storedName(PluginInstance& plugin, int index)
{
    char text[256] = {};
    plugin.dispatch(effGetProgramNameIndexed, index, 0, text);
    return text;
}

// Every program's values and name, read by selecting each one; the current
// program is selected again afterwards.
Snapshot snapshotOf(PluginInstance& plugin)
{
    Snapshot s;
    s.current = plugin.dispatch(effGetProgram);
    for (int p = 0; p < 64; ++p) {
        plugin.dispatch(effSetProgram, 0, p);
        s.values.push_back(liveValues(plugin));
        s.names.push_back(storedName(plugin, p));
    }
    plugin.dispatch(effSetProgram, 0, s.current);
    return s;
}

// Values on the bank file's grid of three decimals, different per program.
void editProgram(PluginInstance& plugin, int program, int seed)
{
    plugin.dispatch(effSetProgram, 0, program);
    for (int i = 0; i < 64; ++i)
        if (!isUnusedSlot(i))
            plugin.setParameter(i, static_cast<float>((seed * 37 + i * 113) % 1001) / 1000.0f);
}

class HostState : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(loader.loaded()) << loader.error();
        plugin = loader.create(&host);
        other = loader.create(&otherHost);
        ASSERT_NE(plugin, nullptr);
        ASSERT_NE(other, nullptr);
    }

    // The session of the bank round trip: programs 5 and 9 edited, 5
    // renamed, the cutoff set by automation, 9 current.
    void editSession()
    {
        editProgram(*plugin, 5, 1);
        char name[] = "Edited five";
        plugin->dispatch(effSetProgramName, 0, 0, name);
        editProgram(*plugin, 9, 2);
        plugin->setParameter(46, 0.85f);
        plugin->dispatch(effSetProgram, 0, 9);
    }

    PluginLoader loader;
    ScriptedHost host;
    ScriptedHost otherHost;
    std::unique_ptr<PluginInstance> plugin;
    std::unique_ptr<PluginInstance> other;
};

TEST_F(HostState, EveryParameterReadsBackAsSet)
{
    const float sweep[] = {0.0f, 1e-7f, 0.001f, 0.1f, 0.123456f, 0.25f, 1.0f / 3.0f, 0.5f, 0.85f, 0.999999f, 1.0f};
    for (int i = 0; i < 64; ++i)
        for (float v : sweep) {
            plugin->setParameter(i, v);
            ASSERT_EQ(plugin->getParameter(i), v) << "parameter " << i;
        }
    // Rate and cutoff still show and sound curved.
    plugin->setParameter(42, 0.5f);
    plugin->setParameter(46, 0.5f);
    EXPECT_EQ(plugin->parameterDisplay(42), "0.015348");
    EXPECT_EQ(plugin->parameterDisplay(46), "0.015348");
}

// A host saves what it reads and sets it again on reload: three rounds of
// that must leave the values where they were.
TEST_F(HostState, SavingAndRestoringThroughParametersIsStable)
{
    plugin->setParameter(46, 0.85f);
    plugin->setParameter(42, 0.3f);
    for (int round = 0; round < 3; ++round) {
        const ProgramValues saved = liveValues(*plugin);
        for (int i = 0; i < 64; ++i)
            other->setParameter(i, saved[i]);
        for (int i = 0; i < 64; ++i)
            plugin->setParameter(i, other->getParameter(i));
    }
    EXPECT_EQ(plugin->getParameter(46), 0.85f);
    EXPECT_EQ(plugin->getParameter(42), 0.3f);
    EXPECT_EQ(other->parameterDisplay(46), plugin->parameterDisplay(46));
}

TEST_F(HostState, BankChunkBringsBackEveryProgramNameAndTheCurrentProgram)
{
    editSession();
    const Snapshot before = snapshotOf(*plugin);
    const std::string chunk = chunkOf(*plugin, false);
    ASSERT_FALSE(chunk.empty());
    EXPECT_EQ(chunk.rfind("<bank product=\"grelmond\" version=\"1.1\">\n", 0), 0u);
    EXPECT_NE(chunk.find("<patch name=\"Edited five\" number=\"6\">"), std::string::npos);
    EXPECT_TRUE(chunk.ends_with("</bank>\n<current program=\"9\"/>\n")) << chunk.substr(chunk.size() - 60);

    EXPECT_EQ(setChunk(*other, chunk, false), 1);
    EXPECT_EQ(other->dispatch(effGetProgram), 9);
    EXPECT_EQ(other->programName(), plugin->programName());
    EXPECT_EQ(liveValues(*other), before.values[9]) << "the saved current program is live";
    EXPECT_EQ(other->getParameter(46), 0.85f);
    const Snapshot after = snapshotOf(*other);
    for (int p = 0; p < 64; ++p) {
        EXPECT_EQ(after.names[p], before.names[p]) << p;
        for (int i = 0; i < 64; ++i)
            if (!isUnusedSlot(i))
                EXPECT_EQ(after.values[p][i], before.values[p][i]) << "program " << p << " parameter " << i;
    }
    EXPECT_EQ(after.current, 9);
    // Read back and written again, the chunk is the same text.
    EXPECT_EQ(chunkOf(*other, false), chunk);
}

TEST_F(HostState, ProgramChunkReplacesOnlyTheCurrentProgram)
{
    editProgram(*plugin, 9, 3);
    char name[] = "Preset & <more>";
    plugin->dispatch(effSetProgramName, 0, 0, name);
    const ProgramValues edited = liveValues(*plugin);
    const std::string chunk = chunkOf(*plugin, true);
    ASSERT_FALSE(chunk.empty());
    EXPECT_EQ(chunk.find("number=\"0\""), chunk.find("number=\""));

    other->dispatch(effSetProgram, 0, 3);
    const Snapshot before = snapshotOf(*other);
    EXPECT_EQ(setChunk(*other, chunk, true), 1);
    EXPECT_EQ(other->dispatch(effGetProgram), 3);
    EXPECT_EQ(other->programName(), "Preset & <more>");
    EXPECT_EQ(liveValues(*other), edited);
    const Snapshot after = snapshotOf(*other);
    for (int p = 0; p < 64; ++p)
        if (p != 3) {
            EXPECT_EQ(after.values[p], before.values[p]) << p;
            EXPECT_EQ(after.names[p], before.names[p]) << p;
        }
}

TEST_F(HostState, RefusedChunksChangeNothing)
{
    editSession();
    const std::string bank = chunkOf(*plugin, false);
    const std::string patch = chunkOf(*plugin, true);
    other->dispatch(effSetProgram, 0, 4);
    other->setParameter(7, 0.25f);
    const Snapshot before = snapshotOf(*other);
    const std::string beforeChunk = chunkOf(*other, false);

    std::vector<std::string> bad{"", std::string(1, '\0'), "<bank", bank.substr(0, bank.size() - 1),
                                 bank.substr(0, bank.rfind("<current")), patch.substr(0, patch.size() / 2)};
    for (std::size_t cut = 0; cut < bank.size(); cut += 97)
        bad.push_back(bank.substr(0, cut));
    std::mt19937 random(12);
    for (int n = 0; n < 20; ++n) {
        std::string noise(1 + random() % 5000, '\0');
        for (char& c : noise)
            c = static_cast<char>(random());
        bad.push_back(noise);
    }
    std::string huge(10 << 20, ' ');
    huge.replace(0, bank.size(), bank);
    bad.push_back(huge);
    std::string wrongProgram = bank;
    wrongProgram.replace(wrongProgram.rfind("\"9\""), 3, "\"64\"");
    bad.push_back(wrongProgram);

    for (const std::string& chunk : bad) {
        ASSERT_EQ(setChunk(*other, chunk, false), 0) << chunk.size();
        ASSERT_EQ(chunkOf(*other, false), beforeChunk) << chunk.size();
    }
    for (std::size_t cut = 0; cut + 1 < patch.size(); cut += 97)
        ASSERT_EQ(setChunk(*other, patch.substr(0, cut), true), 0) << cut;
    EXPECT_EQ(setChunk(*other, huge, true), 0);
    EXPECT_EQ(other->dispatch(effSetChunk, 0, 100, nullptr), 0);
    EXPECT_EQ(other->dispatch(effGetChunk, 0, 0, nullptr), 0);
    EXPECT_EQ(snapshotOf(*other), before);
}

// Random automation of every parameter, the unused ones included, comes back
// bit for bit in another instance; a stepped parameter keeps its step.
TEST_F(HostState, ChunksCarryEveryValueExactly)
{
    std::mt19937 random(3);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int program : {2, 33, 9}) {
        plugin->dispatch(effSetProgram, 0, program);
        for (int i = 0; i < 64; ++i)
            plugin->setParameter(i, unit(random));
    }
    plugin->setParameter(57, 0.39845f);
    const std::string shown = plugin->parameterDisplay(57);
    const Snapshot before = snapshotOf(*plugin);

    EXPECT_EQ(setChunk(*other, chunkOf(*plugin, false), false), 1);
    const Snapshot after = snapshotOf(*other);
    for (int p = 0; p < 64; ++p)
        for (int i = 0; i < 64; ++i)
            ASSERT_EQ(std::bit_cast<uint32_t>(after.values[p][i]), std::bit_cast<uint32_t>(before.values[p][i]))
                << "program " << p << " parameter " << i;
    EXPECT_EQ(after.current, 9);
    EXPECT_EQ(other->getParameter(57), 0.39845f);
    EXPECT_EQ(other->parameterDisplay(57), shown);

    // The program chunk is as exact.
    other->dispatch(effSetProgram, 0, 4);
    EXPECT_EQ(setChunk(*other, chunkOf(*plugin, true), true), 1);
    EXPECT_EQ(liveValues(*other), before.values[9]);
}

// The buffer handed out stays the plug-in's and unchanged until the next request.
TEST_F(HostState, ChunkMemoryLastsUntilTheNextRequest)
{
    void* first = nullptr;
    const VstIntPtr size = plugin->dispatch(effGetChunk, 0, 0, &first);
    ASSERT_GT(size, 0);
    const std::string copy(static_cast<const char*>(first), size);
    plugin->setParameter(3, 0.123f);
    plugin->dispatch(effSetProgram, 0, 17);
    EXPECT_EQ(std::string(static_cast<const char*>(first), size), copy);
    EXPECT_EQ(setChunk(*plugin, copy, false), 1);
    EXPECT_EQ(plugin->dispatch(effGetProgram), 0);
}

// Hosts that call only processReplacing hear what process adds.
TEST_F(HostState, ProcessAndProcessReplacingRenderTheSameSignal)
{
    for (auto* p : {plugin.get(), other.get()}) {
        p->dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        p->dispatch(effMainsChanged, 0, 1);
        VstMidiEvent note{};
        note.type = kVstMidiType;
        note.byteSize = sizeof note;
        note.midiData[0] = static_cast<char>(0x90);
        note.midiData[1] = 60;
        note.midiData[2] = 100;
        VstEvents events{};
        events.numEvents = 1;
        events.events[0] = reinterpret_cast<VstEvent*>(&note);
        p->dispatch(effProcessEvents, 0, 0, &events);
    }
    std::vector<float> a(2 * 512, 0.0f), b(2 * 512, 7.0f);
    float* outA[] = {a.data(), a.data() + 512};
    float* outB[] = {b.data(), b.data() + 512};
    double energy = 0.0;
    for (int block = 0; block < 40; ++block) {
        std::fill(a.begin(), a.end(), 0.0f);
        plugin->effect()->process(plugin->effect(), nullptr, outA, 512);
        other->effect()->processReplacing(other->effect(), nullptr, outB, 512);
        ASSERT_EQ(a, b) << block;
        for (float s : a)
            energy += s * s;
    }
    EXPECT_GT(energy, 1.0);
}

} // namespace
