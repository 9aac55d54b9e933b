// Replaying a display list of about 2,000 primitives — a busy construction
// picture — into a 1022 x 691 antialiased image.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <memory>

#include "bench/qt_application.h"
#include "draw/canvas.h"
#include "draw/qt/painter_backend.h"
#include "draw/qt/qt_fonts.h"
#include "draw/recording_canvas.h"

namespace {

// 2,000 primitives in the mix of a construction picture: traced curve
// segments, link lines, joint and point circles, sectors and labels.
pm::DisplayList busyPicture() {
  pm::RecordingCanvas c(pm::qtFontMetrics());
  double px = 500, py = 400;
  for (int i = 0; i < 2000; ++i) {
    const double t = i * 0.0314;
    const double x = 511 + 300 * std::cos(t) * std::sin(0.7 * t);
    const double y = 385 + 250 * std::sin(1.3 * t);
    const pm::Rgb colour = pm::rgb((i * 37) % 256, (i * 91) % 256, (i * 53) % 256);
    switch (i % 10) {
      case 0:
      case 1:
      case 2:
      case 3:  // traced curve
        c.setLineWidth(1);
        c.line(px, py, x, y, colour);
        break;
      case 4:
      case 5:  // link lines
        c.setLineWidth(4);
        c.line(x, y, 1022 - x, 771 - y, colour);
        break;
      case 6:  // joint circle
        c.setLineWidth(4);
        c.setFillStyle(pm::kFillSolid);
        c.setFillColour(pm::rgb(255, 255, 255));
        c.circle(x, y, 6, colour);
        break;
      case 7:  // angle sector
        c.setLineWidth(1);
        c.setFillStyle(pm::kFillSolid);
        c.setFillColour(pm::rgb(50, 255, 50));
        c.arc(x, y, 30, colour, -0.3, -1.2);
        break;
      case 8:  // hatched circle
        c.setFillStyle(pm::kFillCross);
        c.setFillColour(colour);
        c.circle(x, y, 20, colour);
        break;
      case 9:  // label
        c.setFont("Areal", 14);
        c.setTextPosition(x, y);
        c.print(U"P12", true);
        break;
    }
    px = x;
    py = y;
  }
  return c.list();
}

void BM_ReplayDisplayList(benchmark::State& state) {
  pm::bench::ensureQtApplication();
  const pm::DisplayList list = busyPicture();
  QImage image(pm::kPictureWidth, pm::kPictureHeight, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    pm::paintDisplayList(painter, list, QRectF(0, 0, image.width(), image.height()));
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["primitives"] = static_cast<double>(list.size());
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(list.size()));
}
BENCHMARK(BM_ReplayDisplayList)->Unit(benchmark::kMillisecond);

}  // namespace
