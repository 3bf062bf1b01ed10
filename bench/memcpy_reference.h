// The yardstick of the conversion benchmarks: a memcpy of the same number of
// bytes as the display receives.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace krgfx {

inline void memcpyOf(benchmark::State& state, size_t bytes) {
  std::vector<uint8_t> from(bytes), to(bytes);
  std::mt19937 random(8);
  for (uint8_t& byte : from) byte = static_cast<uint8_t>(random());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}

}  // namespace krgfx
