// What run() must never do: allocate, let a NaN or infinity out, or let one
// instance disturb another.
#include "CountingAllocator.h"
#include "Lv2Performance.h"
#include "Lv2TestPaths.h"
#include "ScopedEnv.h"
#include "TempFolder.h"

#include "formats/lv2/FileMessages.h"

#include <gtest/gtest.h>
#include <lv2/atom/util.h>
#include <lv2/core/lv2.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <dlfcn.h>
#include <limits>
#include <new>



namespace {

void play(host::Lv2Plugin& plugin, int blocks) {
  const unsigned char notes[][3] = {{0x90, 60, 100}, {0xE0, 0, 90}, {0xB0, 1, 90}, {0xB0, 64, 127},
                                    {0xC0, 44, 0},   {0x80, 60, 0}, {0x90, 20, 90}, {0xB0, 123, 0}};
  for (int b = 0; b < blocks; ++b) {
    plugin.setPort(46, 0.1f + 0.01f * static_cast<float>(b % 50));
    plugin.events().addPosition(0, b * 256, 48000.0, 90.0 + b % 3);
    const auto& message = notes[b % 8];
    plugin.events().addMidi(static_cast<uint32_t>(b % 256), message, (message[0] & 0xF0) == 0xC0 ? 2 : 3);
    // A tuning change for note 60, a few cents off each time.
    const unsigned char retune[] = {0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, 60, 60, static_cast<unsigned char>(b % 100), 0x00, 0xF7};
    if (b % 4 == 1)
      plugin.events().addMidi(255, retune, sizeof retune);
    plugin.run(256);
  }
}

TEST(Lv2RealTime, RunNeverAllocates) {
  host::Lv2Plugin plugin;
  ASSERT_TRUE(plugin.load(lv2Bundle(), 48000.0, 256)) << plugin.error();
  play(plugin, 64); // the first blocks may set up what rendering keeps

  const long probe = allocationCount();
  auto* counted = new std::vector<float>(8);
  delete counted;
  ASSERT_GT(allocationCount(), probe) << "the counting hook is not in place";
  const long before = allocationCount();
  play(plugin, 400);
  EXPECT_EQ(allocationCount() - before, 0);
}

TEST(Lv2RealTime, WildPortValuesNeverReachTheOutputAsNanOrInfinity) {
  host::Lv2Plugin plugin;
  ASSERT_TRUE(plugin.load(lv2Bundle(), 44100.0, 256)) << plugin.error();
  const float wild[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                        -std::numeric_limits<float>::infinity(), -5.0f, 1e30f, 1.0f, 0.0f};
  int nonFinite = 0;
  for (int b = 0; b < 200; ++b) {
    for (int p = 0; p < 64; ++p)
      plugin.setPort(p, wild[(p + b) % 7]);
    const unsigned char on[3] = {0x90, static_cast<unsigned char>(40 + b % 40), 127};
    plugin.events().addMidi(0, on, 3);
    plugin.run(256);
    for (int k = 0; k < 256; ++k)
      nonFinite += !std::isfinite(plugin.left()[k]) + !std::isfinite(plugin.right()[k]);
  }
  EXPECT_EQ(nonFinite, 0);
}

// The editor's file commands: run() passes them to the worker, or refuses
// them without one, and later writes the answers, all without allocating.
TEST(Lv2RealTime, FileCommandsLeaveRunAllocationFree) {
  TempFolder install;
  ScopedEnv installPath("GRELMOND_INSTALL_PATH", install.path().c_str());
  install.write("bank.grb", "<bank product=\"grelmond\" version=\"1.0\">\n<patch name=\"A\" number=\"1\">"
                            "<p i=\"volume\">0.25</p></patch>\n</bank>\n");
  for (const bool worker : {true, false}) {
    SCOPED_TRACE(worker);
    host::Lv2Plugin plugin;
    plugin.offerWorker(worker);
    ASSERT_TRUE(plugin.load(lv2Bundle(), 48000.0, 256)) << plugin.error();
    play(plugin, 64);
    const grelmond::lv2::FileMessages messages(*plugin.urids().mapFeature());
    using grelmond::FileCommand;
    const std::pair<FileCommand, std::string> commands[] = {
        {FileCommand::LoadBank, install.file("bank.grb")}, {FileCommand::SaveBank, "saved.grb"},
        {FileCommand::LoadPatch, "bank.grb"},              {FileCommand::SavePatch, "saved.grp"},
        {FileCommand::LoadTuning, "equal"},                {FileCommand::LoadBank, "absent.grb"}};
    std::vector<std::vector<uint64_t>> atoms;
    for (const auto& [command, name] : commands) {
      atoms.emplace_back(256);
      LV2_Atom_Forge forge;
      lv2_atom_forge_init(&forge, plugin.urids().mapFeature());
      lv2_atom_forge_set_buffer(&forge, reinterpret_cast<uint8_t*>(atoms.back().data()), 256 * sizeof(uint64_t));
      ASSERT_TRUE(messages.writeCommand(forge, command, name.c_str()));
    }
    long inRun = 0;
    auto countedRun = [&] {
      const long before = allocationCount();
      plugin.run(256);
      inRun += allocationCount() - before;
    };
    int answers = 0;
    for (int round = 0; round < 10; ++round) {
      for (const auto& atom : atoms)
        plugin.events().addAtom(0, reinterpret_cast<const LV2_Atom*>(atom.data()));
      countedRun();
      LV2_ATOM_SEQUENCE_FOREACH (plugin.notify(), event)
        answers += messages.readAnswer(&event->body).has_value();
      plugin.runWorker(); // allocates as it likes: it is no audio thread
      countedRun();
      LV2_ATOM_SEQUENCE_FOREACH (plugin.notify(), event)
        answers += messages.readAnswer(&event->body).has_value();
    }
    EXPECT_EQ(inRun, 0);
    EXPECT_EQ(answers, 10 * 6) << "every command is answered";
  }
}

// Two instances at different rates, interleaved, each sound as it does alone.
TEST(Lv2RealTime, InstancesAreIndependent) {
  const Lv2Performance performance = Lv2Performance::standard();
  host::Lv2Plugin alone;
  ASSERT_TRUE(alone.load(lv2Bundle(), 96000.0, Lv2Performance::kBlock));
  const std::vector<float> expected = performance.playLv2(alone, 96000.0, 0.6);

  host::Lv2Plugin first, second;
  ASSERT_TRUE(first.load(lv2Bundle(), 96000.0, Lv2Performance::kBlock));
  ASSERT_TRUE(second.load(lv2Bundle(), 22050.0, Lv2Performance::kBlock));
  play(second, 10);
  // Between every block of the first instance, the second renders one of its own.
  const std::vector<float> got = performance.playLv2(first, 96000.0, 0.6, [&] { play(second, 1); });
  EXPECT_EQ(got, expected);
}

// A host without urid:map gets no instance, and an instance with ports left
// unconnected runs without touching them.
TEST(Lv2RealTime, MissingFeaturesAndPortsAreHandled) {
  void* library = dlopen((lv2Bundle() + "/Grelmond.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  const auto entry = reinterpret_cast<LV2_Descriptor_Function>(dlsym(library, "lv2_descriptor"));
  ASSERT_NE(entry, nullptr);
  const LV2_Descriptor* descriptor = entry(0);
  ASSERT_NE(descriptor, nullptr);
  EXPECT_EQ(entry(1), nullptr);
  EXPECT_STREQ(descriptor->URI, "urn:zavr:grelmond");
  const LV2_Feature* none[] = {nullptr};
  EXPECT_EQ(descriptor->instantiate(descriptor, 48000.0, lv2Bundle().c_str(), none), nullptr);
  EXPECT_EQ(descriptor->instantiate(descriptor, 48000.0, lv2Bundle().c_str(), nullptr), nullptr);

  host::UridMap urids;
  const LV2_Feature map{LV2_URID__map, urids.mapFeature()};
  const LV2_Feature* features[] = {&map, nullptr};
  EXPECT_EQ(descriptor->instantiate(descriptor, 0.0, lv2Bundle().c_str(), features), nullptr);
  LV2_Handle handle = descriptor->instantiate(descriptor, 48000.0, lv2Bundle().c_str(), features);
  ASSERT_NE(handle, nullptr);
  descriptor->activate(handle);
  descriptor->run(handle, 256); // nothing connected
  float left[64] = {}, right[64] = {};
  descriptor->connect_port(handle, 65, left);
  descriptor->connect_port(handle, 66, right);
  descriptor->connect_port(handle, 999, left); // no such port: ignored
  descriptor->run(handle, 64);
  descriptor->run(handle, 0);
  descriptor->cleanup(handle);
  dlclose(library);
}

} // namespace
