// A sound output for the tests: each track's device plays its ring by a
// virtual clock that only the test moves, keeps every byte it played, and
// reports running dry when it wanted more than was waiting. Installed in
// place of whatever table the process has, for one test at a time.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "glinter/glint_track.h"
#include "glinter/sound_hook.h"

namespace glint::test {

struct FakeDevice {
  glinter::GlintTrack* track = nullptr;
  std::vector<uint8_t> played;  // every byte taken, in order
  uint64_t position = 0;        // bytes played since the last reset
  uint64_t credit = 0;          // byte rate x elapsed ms not yet turned into bytes
  uint64_t last_ms = 0;
  std::vector<uint8_t> queue;  // taken from the ring, not yet played
  bool running = true;
  int resets = 0, stops = 0, starts = 0;
};

struct FakeSound {
  uint64_t now_ms = 0;
  bool stalled = false;  // the device takes nothing while the clock runs
  uint64_t lookahead_ms = 0;  // how far ahead of playing the device takes bytes
  bool refuse_open = false;
  bool refuse_start = false;
  std::vector<FakeDevice*> devices;
  std::vector<std::vector<uint8_t>> closed;  // what closed devices played
  const glinter::SoundSystem* previous = nullptr;

  static FakeSound*& current() {
    static FakeSound* fake = nullptr;
    return fake;
  }
  static FakeDevice* device(glinter::GlintTrack* track) {
    return static_cast<FakeDevice*>(track->device);
  }

  static void play(FakeDevice& d) {
    FakeSound& fake = *current();
    const uint64_t elapsed = fake.now_ms - d.last_ms;
    d.last_ms = fake.now_ms;
    if (!d.running || fake.stalled) return;
    d.credit += elapsed * d.track->byte_rate;
    uint64_t want = d.credit / 1000;
    const uint64_t align = d.track->block_align;
    want -= want % align;
    if (want == 0) return;
    d.credit -= want * 1000;
    // Fill the device's queue to what it plays now plus its lookahead.
    uint64_t fill = want + fake.lookahead_ms * d.track->byte_rate / 1000;
    fill -= fill % align;
    if (fill > d.queue.size()) {
      const uint64_t waiting = glinter::track_waiting(*d.track);
      uint64_t more = std::min<uint64_t>(fill - d.queue.size(), waiting - waiting % align);
      const size_t at = d.queue.size();
      d.queue.resize(at + more);
      more = glinter::track_take(*d.track, std::span<uint8_t>(d.queue.data() + at, more));
      d.queue.resize(at + more);
    }
    const uint64_t take = std::min<uint64_t>(want, d.queue.size());
    d.played.insert(d.played.end(), d.queue.begin(), d.queue.begin() + take);
    d.queue.erase(d.queue.begin(), d.queue.begin() + take);
    d.position += take;
    if (take < want) {
      d.credit = 0;  // the device played silence meanwhile
      d.track->ran_dry.store(true);
    }
  }
  static void service() {
    for (FakeDevice* d : current()->devices) play(*d);
  }

  static constexpr glinter::SoundSystem kTable{
      [](glinter::GlintTrack* track, uint32_t) {
        FakeSound& fake = *current();
        if (fake.refuse_open) return false;
        auto* d = new FakeDevice;
        d->track = track;
        d->last_ms = fake.now_ms;
        track->device = d;
        fake.devices.push_back(d);
        return true;
      },
      [](glinter::GlintTrack* track) {
        FakeSound& fake = *current();
        FakeDevice* d = device(track);
        std::erase(fake.devices, d);
        fake.closed.push_back(std::move(d->played));
        delete d;
        track->device = nullptr;
      },
      [](glinter::GlintTrack* track) {
        play(*device(track));
        return device(track)->position;
      },
      [](glinter::GlintTrack* track) {
        FakeDevice* d = device(track);
        ++d->resets;
        d->position = 0;
        d->queue.clear();
        d->credit = 0;
      },
      [](glinter::GlintTrack* track) {
        FakeDevice* d = device(track);
        play(*d);
        ++d->stops;
        d->running = false;
        d->queue.clear();  // what the device held is dropped
      },
      [](glinter::GlintTrack* track) {
        FakeDevice* d = device(track);
        if (current()->refuse_start) return false;
        ++d->starts;
        d->running = true;
        d->last_ms = current()->now_ms;
        return true;
      },
      service};

  FakeSound() {
    current() = this;
    previous = glinter::replace_sound_system_for_tests(&kTable);
  }
  ~FakeSound() {
    glinter::replace_sound_system_for_tests(previous);
    current() = nullptr;
  }
  FakeSound(const FakeSound&) = delete;
  FakeSound& operator=(const FakeSound&) = delete;

  void advance(uint64_t ms) { now_ms += ms; }
  FakeDevice& first() { return *devices.at(0); }
};

}  // namespace glint::test
