// planimove-icons: draws the program icons from the emblem.
//   planimove-icons OUTPUT_FOLDER
// writes planimove-SIZE.png and rautenwerk-SIZE.png for sizes 48, 128, 192, 256
// and 512 (the last two of them the browser page needs to be installable).
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <string>

#include "draw/qt/painter_backend.h"
#include "draw/qt/qt_fonts.h"
#include "draw/recording_canvas.h"
#include "shell/form1.h"
#include "shell/host.h"

namespace {

// The emblem as the program draws it, with its top-left corner at (100, 100).
pm::DisplayList emblem() {
  pm::RecordingCanvas canvas;
  pm::QuietHost host;
  pm::Form1 form(canvas, host, pm::planimoveEdition());
  form.logo("100100");
  return canvas.list();
}

// A four-bar sketch under the emblem: frame, crank, coupler, rocker and joints.
void drawFourBar(QPainter& p, double size, const QColor& accent) {
  const double s = size / 256.0;
  const QPointF X(60 * s, 215 * s), Y(200 * s, 215 * s), A(85 * s, 160 * s), B(185 * s, 140 * s);
  p.setPen(QPen(QColor(90, 90, 90), 6 * s, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(X, Y);
  p.setPen(QPen(accent, 9 * s, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(X, A);
  p.drawLine(A, B);
  p.drawLine(Y, B);
  p.setPen(QPen(Qt::black, 3 * s));
  p.setBrush(Qt::white);
  for (const QPointF& c : {X, Y, A, B}) p.drawEllipse(c, 9 * s, 9 * s);
}

QImage icon(const pm::DisplayList& logo, int size, const QColor& accent) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath plate;
  plate.addRoundedRect(QRectF(1, 1, size - 2, size - 2), size * 0.12, size * 0.12);
  p.fillPath(plate, QColor(250, 250, 245));
  p.setPen(QPen(accent, std::max(1.0, size / 64.0)));
  p.drawPath(plate);
  // Emblem (161 x 58 drawing units) across the upper part of the icon.
  const double scale = size * 0.86 / 161.0;
  const double left = size * 0.07, top = size * 0.08;
  const QRectF target(left - 100 * scale, top - (100 - 40) * scale, 1022 * scale, 691 * scale);
  p.save();
  p.setClipRect(QRectF(0, 0, left + 158 * scale, size * 0.55));  // the plate's right edge
  pm::paintDisplayList(p, logo, target);
  p.restore();
  drawFourBar(p, size, accent);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: planimove-icons OUTPUT_FOLDER\n");
    return 2;
  }
  pm::installFontSubstitutions();
  const pm::DisplayList logo = emblem();
  const QString folder = QString::fromLocal8Bit(argv[1]);
  for (int size : {48, 128, 192, 256, 512}) {
    const bool ok =
        icon(logo, size, QColor(30, 60, 160)).save(folder + QString("/planimove-%1.png").arg(size)) &&
        icon(logo, size, QColor(150, 40, 30)).save(folder + QString("/rautenwerk-%1.png").arg(size));
    if (!ok) {
      std::fprintf(stderr, "planimove-icons: cannot write into %s\n", argv[1]);
      return 1;
    }
  }
  return 0;
}
