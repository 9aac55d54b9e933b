// Time of one complete rebuild (key code 5 to a finished display list) of the
// standard picture for the mechanism types 1 … 8, and of one full-revolution run.
#include <benchmark/benchmark.h>

#include "draw/recording_canvas.h"
#include "shell/form1.h"
#include "shell/host.h"

namespace {

struct Program {
  pm::RecordingCanvas canvas;
  pm::QuietHost host;
  pm::Form1 form{canvas, host, pm::planimoveEdition()};
  explicit Program(double type) {
    form.Form_Activate();
    form.st.mn0 = type;
    form.st.mn2 = 1;  // group 1, topic 1: the standard picture
    form.Form_KeyDown(pm::kKeyRebuild, 0);
  }
};

void BM_Rebuild(benchmark::State& state) {
  Program p(static_cast<double>(state.range(0)));
  for (auto _ : state) {
    p.form.Form_KeyDown(pm::kKeyRebuild, 0);
    benchmark::DoNotOptimize(p.canvas.list().data());
  }
}
BENCHMARK(BM_Rebuild)->DenseRange(1, 8)->Unit(benchmark::kMicrosecond);

void BM_FullRevolution(benchmark::State& state) {
  Program p(static_cast<double>(state.range(0)));
  for (auto _ : state) {
    p.form.Form_KeyDown('1', 0);
    benchmark::DoNotOptimize(p.canvas.list().data());
  }
}
BENCHMARK(BM_FullRevolution)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
