// The LV2 build's run() at 44.1 kHz in blocks of 512: the same patch and held
// voices as BM_Voder, so the two formats' figures compare directly. The ports
// are moved only before the first block, as a host does without automation.

#include "params/InitProgram.h"
#include "storage/ProgramFiles.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <lv2/atom/forge.h>
#include <lv2/core/lv2.h>
#include <lv2/midi/midi.h>
#include <lv2/urid/urid.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string>& uriTable() {
  static std::vector<std::string> uris;
  return uris;
}

LV2_URID mapUri(LV2_URID_Map_Handle, const char* uri) {
  auto& uris = uriTable();
  for (std::size_t k = 0; k < uris.size(); ++k)
    if (uris[k] == uri)
      return static_cast<LV2_URID>(k + 1);
  uris.emplace_back(uri);
  return static_cast<LV2_URID>(uris.size());
}

const LV2_Descriptor* descriptor() {
  static void* library = dlopen(GRELMOND_LV2_BUNDLE "/Grelmond.so", RTLD_NOW | RTLD_LOCAL);
  const auto entry =
      library != nullptr ? reinterpret_cast<LV2_Descriptor_Function>(dlsym(library, "lv2_descriptor")) : nullptr;
  return entry != nullptr ? entry(0) : nullptr;
}

// The Voder patch of RenderBench with every effect on, over program 1 as the
// VST 2 instance there starts with it.
void setPorts(float* ports) {
  grelmond::ProgramBank programs;
  if (grelmond::ProgramFiles::loadBankFile(programs, GRELMOND_LV2_BUNDLE "/GrelmondDefault.grb",
                                           grelmond::InitProgram()))
    for (int p = 0; p < 64; ++p)
      ports[p] = programs.program(0)->value(p);
  for (int osc = 0; osc < 3; ++osc)
    ports[osc * 4 + 3] = 0.8f;
  const std::pair<int, float> values[] = {{57, 11.5f / 25.1f}, {58, 1.0f}, {61, 1.0f}, {28, 1.0f}, {29, 1.0f},
                                          {22, 0.6f},          {31, 1.0f}, {41, 1.0f}, {50, 0.5f}, {54, 0.5f},
                                          {51, 0.5f},          {55, 0.5f}};
  for (const auto& [index, value] : values)
    ports[index] = value;
}

void BM_Lv2Voder(benchmark::State& state) {
  const LV2_Descriptor* d = descriptor();
  LV2_URID_Map map{nullptr, mapUri};
  const LV2_Feature mapFeature{LV2_URID__map, &map};
  const LV2_Feature* features[] = {&mapFeature, nullptr};
  LV2_Handle handle = d != nullptr ? d->instantiate(d, 44100.0, GRELMOND_LV2_BUNDLE, features) : nullptr;
  if (handle == nullptr) {
    state.SkipWithError("cannot load the LV2 build");
    return;
  }
  std::vector<float> ports(64, 0.0f), left(512), right(512);
  std::vector<uint64_t> events(4096), notify(4096);
  for (uint32_t p = 0; p < 64; ++p)
    d->connect_port(handle, p, &ports[p]);
  d->connect_port(handle, 64, events.data());
  d->connect_port(handle, 65, left.data());
  d->connect_port(handle, 66, right.data());
  d->connect_port(handle, 67, notify.data());
  d->activate(handle);
  setPorts(ports.data());

  LV2_Atom_Forge forge;
  lv2_atom_forge_init(&forge, &map);
  // The frame must outlive every forge call that uses it: one per block, here.
  LV2_Atom_Forge_Frame frame;
  auto startBlock = [&] {
    lv2_atom_forge_set_buffer(&forge, reinterpret_cast<uint8_t*>(events.data()), events.size() * 8);
    lv2_atom_forge_sequence_head(&forge, &frame, 0);
  };
  startBlock();
  for (int i = 0; i < state.range(0); ++i) {
    const uint8_t on[3] = {0x90, static_cast<uint8_t>(40 + i % 80), 100};
    lv2_atom_forge_frame_time(&forge, 0);
    lv2_atom_forge_atom(&forge, 3, map.map(nullptr, LV2_MIDI__MidiEvent));
    lv2_atom_forge_write(&forge, on, 3);
  }
  lv2_atom_forge_pop(&forge, &frame);
  auto* notifyAtom = reinterpret_cast<LV2_Atom*>(notify.data());
  auto runBlock = [&] {
    notifyAtom->size = static_cast<uint32_t>(notify.size() * 8 - sizeof(LV2_Atom));
    d->run(handle, 512);
    startBlock();
    lv2_atom_forge_pop(&forge, &frame);
  };
  for (int i = 0; i < 20; ++i) // past the attacks and the ensemble's first pass
    runBlock();
  for (auto _ : state) {
    runBlock();
    benchmark::DoNotOptimize(left.data());
  }
  state.counters["realtime"] = benchmark::Counter(512.0 / 44100.0, benchmark::Counter::kIsIterationInvariantRate);
  d->cleanup(handle);
}

BENCHMARK(BM_Lv2Voder)->ArgName("voices")->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMicrosecond);

} // namespace
