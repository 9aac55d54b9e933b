// planimove_soak [--events N] [--seed S] [--max-frames N] [--no-time-limit]
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "soak/soak.h"

int main(int argc, char** argv) {
  pm::soak::Options options;
#if defined(__SANITIZE_ADDRESS__)
  options.checkTime = false;  // sanitizers slow every command several times over
#endif
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--events" && hasValue) options.events = std::stol(argv[++i]);
    else if (a == "--seed" && hasValue) options.seed = std::stoull(argv[++i]);
    else if (a == "--max-frames" && hasValue) options.maxFrames = std::stoi(argv[++i]);
    else if (a == "--no-time-limit") options.checkTime = false;
    else {
      std::fprintf(stderr, "planimove_soak: unknown argument %s\n", a.c_str());
      return 2;
    }
  }
  const pm::soak::Report r = pm::soak::run(options, std::cerr);
  std::printf("soak: %ld events, %ld commands, %ld restarts, %ld runs stopped at the frame limit\n",
              r.events, r.commands, r.restarts, r.framesStopped);
  std::printf("soak: slowest command %.2f ms (%s)\n", r.slowestMs, r.slowestEvent.c_str());
  if (!r.failure.empty()) {
    std::printf("soak: FAILED at %s\n", r.failure.c_str());
    return 1;
  }
  return 0;
}
