// Cost of the values panel's lines, which the window asks for after every
// command and every frame of a run ("values/<case>").
//   planimove_bench --benchmark_filter='^values'
#include <benchmark/benchmark.h>

#include "draw/recording_canvas.h"
#include "kinematics/measured_values.h"
#include "shell/form1.h"
#include "shell/host.h"

namespace {

void values(benchmark::State& state, int type, int group, int topic) {
  pm::RecordingCanvas canvas;
  pm::QuietHost host;
  pm::Form1 form{canvas, host, pm::planimoveEdition()};
  form.Form_Activate();
  form.st.qtx = 0;
  form.st.mn0 = type;
  form.st.mn1 = group;
  form.st.mn2 = topic;
  form.Form_KeyDown(pm::kKeyRebuild, 0);
  for (auto _ : state) {
    auto lines = pm::measuredValues(form);
    benchmark::DoNotOptimize(lines.data());
  }
}

BENCHMARK_CAPTURE(values, type1_group1_topic1, 1, 1, 1);
BENCHMARK_CAPTURE(values, type8_group1_topic1, 8, 1, 1);
BENCHMARK_CAPTURE(values, type1_group8_topic1, 1, 8, 1);
BENCHMARK_CAPTURE(values, type1_group10_topic7, 1, 10, 7);

}  // namespace
