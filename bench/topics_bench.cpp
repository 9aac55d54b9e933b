// Rebuild time of every topic: key code 5 to a finished display list
// ("Rebuild/type/group/topic"), the same plus rastering the picture into a
// 1022 x 691 antialiased image ("RebuildRaster/type/group/topic"), and the
// raster alone of the finished picture on large screens
// ("Raster<W>x<H>@<ratio>/type/group/topic": a drawing area of W x H at that
// device-pixel ratio, so 960x540@2 and 1920x1080@1 both fill 1920 x 1080 pixels).
//   planimove_bench --benchmark_filter='^Rebuild'
//   planimove_bench --benchmark_filter='^Raster'
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>
#include <QSize>
#include <string>

#include "bench/qt_application.h"
#include "draw/qt/painter_backend.h"
#include "draw/qt/qt_fonts.h"
#include "draw/recording_canvas.h"
#include "shell/form1.h"
#include "shell/host.h"

namespace {

// Topics of each group 1 … 10 (group 3 includes its common part as topic 9).
constexpr int kTopics[] = {0, 6, 6, 9, 7, 7, 7, 8, 8, 7, 8};

struct Program {
  pm::RecordingCanvas canvas{pm::qtFontMetrics()};
  pm::QuietHost host;
  pm::Form1 form{canvas, host, pm::planimoveEdition()};
  Program(int type, int group, int topic) {
    host.x = 500;  // a cursor inside the picture
    host.y = 400;
    form.Form_Activate();
    form.st.qtx = 0;  // no explanatory pictures: the construction alone
    form.st.mn0 = type;
    form.st.mn1 = group;
    form.st.mn2 = topic;
    form.Form_KeyDown(pm::kKeyRebuild, 0);
  }
};

void rebuild(benchmark::State& state, int type, int group, int topic, bool raster) {
  pm::bench::ensureQtApplication();
  Program p(type, group, topic);
  for (auto _ : state) {
    p.form.Form_KeyDown(pm::kKeyRebuild, 0);
    if (raster) {
      QImage image = pm::renderImage(p.canvas.list(), nullptr);
      benchmark::DoNotOptimize(image.constBits());
    }
    benchmark::DoNotOptimize(p.canvas.list().data());
  }
  state.counters["primitives"] = static_cast<double>(p.canvas.list().size());
}

// Rastering the picture of the topic, without rebuilding it, as the window
// paints a frame: into the same image (its backing store) every time, of the
// drawing-area size at a device-pixel ratio, background included.
void raster(benchmark::State& state, int type, int group, int topic, QSize size, double dpr) {
  pm::bench::ensureQtApplication();
  Program p(type, group, topic);
  const pm::DisplayList list = p.canvas.list();
  QImage image(size * dpr, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(dpr);
  {
    // The first frame at a size fills the glyph and stamp caches.
    QPainter painter(&image);
    pm::paintDrawingArea(painter, list, nullptr, QRectF(QPointF(0, 0), QSizeF(size)),
                         pm::rgb(255, 255, 255));
  }
  for (auto _ : state) {
    QPainter painter(&image);
    pm::paintDrawingArea(painter, list, nullptr, QRectF(QPointF(0, 0), QSizeF(size)),
                         pm::rgb(255, 255, 255));
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["primitives"] = static_cast<double>(list.size());
}

struct Screen {
  const char* name;
  QSize size;
  double dpr;
};
constexpr Screen kScreens[] = {{"Raster1920x1080@1", {1920, 1080}, 1},
                               {"Raster960x540@2", {960, 540}, 2},
                               {"Raster3840x2160@1", {3840, 2160}, 1},
                               {"Raster1920x1080@2", {1920, 1080}, 2}};

const bool registered = [] {
  for (int type = 1; type <= 8; ++type)
    for (int group = 1; group <= 10; ++group)
      for (int topic = 1; topic <= kTopics[group]; ++topic) {
        const std::string id = "/" + std::to_string(type) + "/" + std::to_string(group) + "/" +
                               std::to_string(topic);
        benchmark::RegisterBenchmark(("Rebuild" + id).c_str(), rebuild, type, group, topic, false)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.05);
        benchmark::RegisterBenchmark(("RebuildRaster" + id).c_str(), rebuild, type, group, topic, true)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.05);
        for (const Screen& screen : kScreens)
          benchmark::RegisterBenchmark((screen.name + id).c_str(), raster, type, group, topic,
                                       screen.size, screen.dpr)
              ->Unit(benchmark::kMillisecond)
              ->MinTime(0.02);
      }
  return true;
}();

}  // namespace
