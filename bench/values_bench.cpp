// Cost of the values panel's lines, which the window asks for after every
// command and every frame of a run ("values/<case>"), and of the diagrams
// over the crank angle, whose whole table is computed as often ("table/<case>",
// within 2 ms) and drawn on their sheet ("diagrams/<case>").
//   planimove_bench --benchmark_filter='^(values|table|diagrams)'
#include <benchmark/benchmark.h>

#include "diagrams/diagram_sheet.h"
#include "diagrams/motion_of_form.h"
#include "draw/recording_canvas.h"
#include "kinematics/measured_values.h"
#include "shell/form1.h"
#include "shell/host.h"

namespace {

// A form showing type `type` in topic `topic` of group `group`.
struct Shown {
  pm::RecordingCanvas canvas;
  pm::QuietHost host;
  pm::Form1 form{canvas, host, pm::planimoveEdition()};
  Shown(int type, int group, int topic) {
    form.Form_Activate();
    form.st.qtx = 0;
    form.st.mn0 = type;
    form.st.mn1 = group;
    form.st.mn2 = topic;
    form.Form_KeyDown(pm::kKeyRebuild, 0);
  }
};

void values(benchmark::State& state, int type, int group, int topic) {
  Shown s(type, group, topic);
  for (auto _ : state) {
    auto lines = pm::measuredValues(s.form);
    benchmark::DoNotOptimize(lines.data());
  }
}

void table(benchmark::State& state, int type, int group, int topic) {
  Shown s(type, group, topic);
  for (auto _ : state) {
    auto shown = pm::shownMotionTable(s.form);
    benchmark::DoNotOptimize(shown.table->rows.data());
  }
}

// The sheet at the size the window gives it at 1366×768.
void diagrams(benchmark::State& state, int type, int group, int topic) {
  Shown s(type, group, topic);
  const pm::ShownTable shown = pm::shownMotionTable(s.form);
  pm::RecordingCanvas sheet;
  for (auto _ : state) {
    pm::drawDiagrams(sheet, shown, {380, 740});
    benchmark::DoNotOptimize(sheet.list().data());
  }
}

BENCHMARK_CAPTURE(values, type1_group1_topic1, 1, 1, 1);
BENCHMARK_CAPTURE(values, type8_group1_topic1, 8, 1, 1);
BENCHMARK_CAPTURE(values, type1_group8_topic1, 1, 8, 1);
BENCHMARK_CAPTURE(values, type1_group10_topic7, 1, 10, 7);
BENCHMARK_CAPTURE(table, type1_crank_rocker, 1, 1, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(table, type3_double_rocker, 3, 1, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(table, type8_slider_crank, 8, 1, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(table, type1_six_bar_watt_ab, 1, 8, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(diagrams, type1_crank_rocker, 1, 1, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(diagrams, type1_six_bar_watt_ab, 1, 8, 2)->Unit(benchmark::kMicrosecond);

}  // namespace
