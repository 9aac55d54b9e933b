// The integer number sequence behind the exercises: the same seed gives the
// same numbers on every platform and compiler (the window, planimove-render
// and the browser page's WebAssembly), which the standard library's
// distributions do not promise.
#pragma once

#include <cstdint>

namespace pm {

class SeedSequence {
 public:
  explicit SeedSequence(std::uint64_t seed) : state_(seed) {}

  // The next 64 bits (SplitMix64).
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // A whole number from lo to hi, both included (lo <= hi), by scaling the
  // upper 32 bits: the bias of at most one part in 2^32 / (hi - lo + 1) does
  // not matter here.
  int between(int lo, int hi) {
    const std::uint64_t range = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo) + 1;
    return lo + static_cast<int>(((next() >> 32) * range) >> 32);
  }

  // +1 or -1.
  int sign() { return between(0, 1) == 0 ? 1 : -1; }

 private:
  std::uint64_t state_;
};

}  // namespace pm
