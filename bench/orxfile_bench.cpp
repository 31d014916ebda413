// ORXFile bit and byte throughput: fields of common widths and single
// bytes through the cursor, with the 16384-byte buffer that sound and raw
// frame files use. The file lives in memory-backed storage where there is
// some, so the figures are the library's cost, not the disk's.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "orxutil/orxutil.h"

namespace {

constexpr int32_t kBufferSize = 16384;
constexpr uint64_t kFileBytes = 4u << 20;

std::string scratch_name(const char* what) {
  const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return std::string(dir) + "/glint-bench-" + what + "-" + std::to_string(getpid());
}

// A file of random bytes to read fields from.
const std::string& source_file() {
  static const std::string name = [] {
    std::string n = scratch_name("source");
    std::vector<uint8_t> data(kFileBytes);
    std::mt19937 rng(1);
    for (auto& v : data) v = static_cast<uint8_t>(rng());
    ORXFile* f = ORXFileCreate(kBufferSize, n.c_str());
    ORXFilePutNB(f, data.data(), static_cast<uint32_t>(data.size()));
    ORXFileClose(f);
    std::atexit([] { std::remove(scratch_name("source").c_str()); });
    return n;
  }();
  return name;
}

void report(benchmark::State& state, uint64_t bits) {
  state.SetBytesProcessed(static_cast<int64_t>(bits / 8));
  state.counters["bits/s"] =
      benchmark::Counter(static_cast<double>(bits), benchmark::Counter::kIsRate);
}

void BM_GetBits(benchmark::State& state) {
  const auto width = static_cast<uint32_t>(state.range(0));
  ORXFile* f = ORXFileOpen(kBufferSize, source_file().c_str(), ORXFILE_READ);
  const uint64_t fields_per_pass = (kFileBytes * 8 - 64) / width;
  uint64_t bits = 0;
  uint32_t sink = 0;
  for (auto _ : state) {
    for (uint64_t i = 0; i < fields_per_pass; i += 1) sink += ORXFileGetBits(f, width);
    ORXFileSetPos(f, 0);
    bits += fields_per_pass * width;
  }
  benchmark::DoNotOptimize(sink);
  report(state, bits);
  ORXFileClose(f);
}

void BM_PutBits(benchmark::State& state) {
  const auto width = static_cast<uint32_t>(state.range(0));
  std::string name = scratch_name("put");
  ORXFile* f = ORXFileCreate(kBufferSize, name.c_str());
  const uint64_t fields_per_pass = kFileBytes * 8 / width;
  uint64_t bits = 0;
  uint32_t value = 0x9E3779B9;
  for (auto _ : state) {
    for (uint64_t i = 0; i < fields_per_pass; i += 1) {
      ORXFilePutBits(f, value, width);
      value = value * 1664525u + 1013904223u;
    }
    ORXFileSetPos(f, 0);
    bits += fields_per_pass * width;
  }
  report(state, bits);
  ORXFileClose(f);
  std::remove(name.c_str());
}

void BM_Get8(benchmark::State& state) {
  ORXFile* f = ORXFileOpen(kBufferSize, source_file().c_str(), ORXFILE_READ);
  uint32_t sink = 0;
  for (auto _ : state) {
    for (uint64_t i = 0; i < kFileBytes; ++i) sink += ORXFileGet8(f);
    ORXFileSetPos(f, 0);
  }
  benchmark::DoNotOptimize(sink);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
  ORXFileClose(f);
}

void BM_Put8(benchmark::State& state) {
  std::string name = scratch_name("put8");
  ORXFile* f = ORXFileCreate(kBufferSize, name.c_str());
  for (auto _ : state) {
    for (uint64_t i = 0; i < kFileBytes; ++i) ORXFilePut8(f, static_cast<uint32_t>(i));
    ORXFileSetPos(f, 0);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
  ORXFileClose(f);
  std::remove(name.c_str());
}

BENCHMARK(BM_GetBits)
    ->Arg(1)
    ->Arg(5)
    ->Arg(8)
    ->Arg(13)
    ->Arg(16)
    ->Arg(32)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PutBits)
    ->Arg(1)
    ->Arg(5)
    ->Arg(8)
    ->Arg(13)
    ->Arg(16)
    ->Arg(32)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Get8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Put8)->Unit(benchmark::kMillisecond);

}  // namespace
