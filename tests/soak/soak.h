// Random-input soak of the core: events of every kind against both editions,
// with the program's invariants checked after every command.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

namespace pm::soak {

struct Options {
  long events = 100000;
  std::uint64_t seed = 1;
  int maxFrames = 400;        // frames a run or demonstration may take before it is stopped
  bool checkTime = true;      // commands other than runs must take under 50 ms of CPU time
  double timeLimitMs = 50;
};

struct Report {
  long events = 0;
  long commands = 0;
  long restarts = 0;          // Esc/End ended the program; a new one was started
  long framesStopped = 0;     // runs stopped at the frame limit
  double slowestMs = 0;
  std::string slowestEvent;
  std::string failure;        // empty when every invariant held
};

Report run(const Options& options, std::ostream& log);

}  // namespace pm::soak
