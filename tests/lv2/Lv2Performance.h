#pragma once

// One fixed performance played block by block into both builds, as hosts
// play them: the block's parameter moves first (VST 2 setParameter, LV2
// ports), then its MIDI at frame offsets, with the transport's tempo.

#include "Lv2Plugin.h"
#include "PluginPlayer.h"

#include <cstdint>
#include <functional>
#include <vector>

struct PerformanceEvent {
  double seconds;
  unsigned char bytes[3];
};

struct PerformanceMove {
  double seconds;
  int parameter;
  float value;
};

class Lv2Performance {
public:
  static constexpr int kBlock = 256;
  static constexpr double kTempo = 100.0;

  // Notes, pitch bend, mod wheel, sustain, a program change, and moves of the
  // cutoff, a delay's tempo sync and the main volume.
  static Lv2Performance standard();
  Lv2Performance& add(double seconds, unsigned char status, unsigned char data1, unsigned char data2 = 0);
  Lv2Performance& move(double seconds, int parameter, float value);

  void playVst2(testsupport::PluginPlayer& player, double seconds) const;
  // The rendered channels, left then right.
  // betweenBlocks runs after every block (another instance's turn, for instance).
  std::vector<float> playLv2(host::Lv2Plugin& plugin, double sampleRate, double seconds,
                             const std::function<void()>& betweenBlocks = {}) const;

private:
  std::vector<PerformanceEvent> events_; // in time order
  std::vector<PerformanceMove> moves_;   // in time order
};
