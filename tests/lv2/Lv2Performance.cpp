#include "Lv2Performance.h"

#include <algorithm>
#include <cmath>

namespace {

int64_t frameOf(double seconds, double rate) { return std::llround(seconds * rate); }

bool dueIn(double seconds, double rate, int64_t start, int frames) {
  const int64_t frame = frameOf(seconds, rate);
  return frame >= start && frame < start + frames;
}

} // namespace

Lv2Performance Lv2Performance::standard() {
  Lv2Performance p;
  p.add(0.0, 0xC0, 44).add(0.0, 0x90, 60, 100).add(0.05, 0x90, 64, 90).add(0.1, 0x90, 20, 80);
  for (int k = 0; k <= 10; ++k)
    p.add(0.12 + k * 0.01, 0xE0, 0, static_cast<unsigned char>(64 + k * 5));
  p.add(0.2, 0xB0, 1, 100).add(0.3, 0xB0, 64, 127).add(0.4, 0x80, 60).add(0.4, 0x80, 64);
  p.add(0.45, 0x90, 48, 110).add(0.55, 0x80, 48).add(0.7, 0xB0, 64, 0).add(0.8, 0xC0, 12);
  p.add(0.82, 0x90, 67, 100).add(0.95, 0x80, 67).add(1.0, 0x90, 55, 120).add(1.1, 0x80, 55);
  for (int k = 0; k <= 20; ++k)
    p.move(0.1 + k * 0.025, 46, 0.2f + k * 0.03f);
  p.move(0.06, 52, 1.0f).move(0.9, 63, 0.35f).move(1.0, 46, 0.6f);
  const auto byTime = [](const auto& a, const auto& b) { return a.seconds < b.seconds; };
  std::stable_sort(p.events_.begin(), p.events_.end(), byTime);
  std::stable_sort(p.moves_.begin(), p.moves_.end(), byTime);
  return p;
}

Lv2Performance& Lv2Performance::add(double seconds, unsigned char status, unsigned char data1, unsigned char data2) {
  events_.push_back({seconds, {status, data1, data2}});
  return *this;
}

Lv2Performance& Lv2Performance::move(double seconds, int parameter, float value) {
  moves_.push_back({seconds, parameter, value});
  return *this;
}

void Lv2Performance::playVst2(testsupport::PluginPlayer& player, double seconds) const {
  const double rate = player.sampleRate();
  vst::VstTimeInfo time{};
  time.sampleRate = rate;
  time.tempo = kTempo;
  time.flags = vst::kVstTempoValid;
  player.host().timeInfo = &time;
  const int64_t total = frameOf(seconds, rate);
  for (int64_t start = 0; start < total; start += kBlock) {
    const int frames = static_cast<int>(std::min<int64_t>(kBlock, total - start));
    for (const auto& m : moves_)
      if (dueIn(m.seconds, rate, start, frames))
        player.set(m.parameter, m.value);
    std::vector<testsupport::MidiMessage> midi;
    for (const auto& e : events_)
      if (dueIn(e.seconds, rate, start, frames))
        midi.push_back({static_cast<int>(frameOf(e.seconds, rate) - start), e.bytes[0], e.bytes[1], e.bytes[2]});
    if (!midi.empty())
      player.events(midi);
    player.render(frames, kBlock);
  }
  player.host().timeInfo = nullptr;
}

std::vector<float> Lv2Performance::playLv2(host::Lv2Plugin& plugin, double rate, double seconds,
                                           const std::function<void()>& betweenBlocks) const {
  std::vector<float> left, right;
  const int64_t total = frameOf(seconds, rate);
  for (int64_t start = 0; start < total; start += kBlock) {
    const int frames = static_cast<int>(std::min<int64_t>(kBlock, total - start));
    for (const auto& m : moves_)
      if (dueIn(m.seconds, rate, start, frames))
        plugin.setPort(m.parameter, m.value);
    plugin.events().addPosition(0, start, rate, kTempo);
    for (const auto& e : events_)
      if (dueIn(e.seconds, rate, start, frames)) {
        const uint32_t size = (e.bytes[0] & 0xF0) == 0xC0 ? 2 : 3;
        plugin.events().addMidi(static_cast<uint32_t>(frameOf(e.seconds, rate) - start), e.bytes, size);
      }
    plugin.run(frames);
    left.insert(left.end(), plugin.left(), plugin.left() + frames);
    right.insert(right.end(), plugin.right(), plugin.right() + frames);
    if (betweenBlocks)
      betweenBlocks();
  }
  left.insert(left.end(), right.begin(), right.end());
  return left;
}
