// The QPainter backend: replays display lists onto widgets, images and SVG.
#include "draw/qt/painter_backend.h"

#include <QtCore/QBuffer>
#include <QtCore/QRegularExpression>
#include <QtGui/QBrush>
#include <QtGui/QFontMetricsF>
#include <QtGui/QPainter>
#include <QtGui/QPaintEngine>
#include <QtGui/QPainterPath>
#include <QtGui/QPen>
#include <QtSvg/QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <climits>
#include <fstream>
#include <iterator>
#include <numbers>
#include <vector>

#include "draw/canvas.h"
#include "draw/qt/banded_fill.h"
#include "draw/qt/dot_stamps.h"
#include "draw/qt/primitive_style.h"
#include "draw/qt/qt_fonts.h"
#include "shell/atomic_file.h"

namespace pm {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kRadToDeg = 180 / std::numbers::pi;
// Coordinates beyond this are not drawable in any useful way; such primitives
// (possible only in lists read from elsewhere) are skipped.
constexpr double kMaxCoordinate = 1e7;

// The transforms a display list is painted with: drawing units onto the
// painter's coordinates (user) and onto device pixels (device), and the world
// transform under which painter coordinates are device pixels (inDevice).
struct Transforms {
  bool raster = false;
  QTransform user, device, inDevice;
  DotStamps* stamps = nullptr;  // where the painter rasters
  QRectF frame;                 // the drawing units the list spans
};

bool drawable(double v) { return std::isfinite(v) && std::fabs(v) <= kMaxCoordinate; }

bool drawable(const Primitive& p) {
  using K = Primitive::Kind;
  if (!drawable(p.x1) || !drawable(p.y1) || !std::isfinite(p.width)) return false;
  switch (p.kind) {
    case K::Line:
    case K::Box:
    case K::FilledBox:
      return drawable(p.x2) && drawable(p.y2);
    case K::Circle:
      return drawable(p.r);
    case K::Arc:
      return drawable(p.r) && std::isfinite(p.start) && std::isfinite(p.end);
    case K::Text:
      return std::isfinite(p.size) && p.size > 0;
    case K::Point:
      return true;
  }
  return false;
}

double reduced(double angle) {
  angle = std::fabs(angle);
  return angle > kTwoPi ? std::fmod(angle, kTwoPi) : angle;
}

QPointF onCircle(const QPointF& c, double r, double angle) {
  // Screen angles run counterclockwise as seen, with y growing downward.
  return {c.x() + r * std::cos(angle), c.y() - r * std::sin(angle)};
}

// Wide lines have round ends. Qt strokes round caps as curved outlines, which
// is several times slower than a flat-capped line plus a disc at each end.
void paintLine(QPainter& painter, const Primitive& p, const Transforms& t) {
  QPen pen = outlinePen(p);
  const QPointF a(p.x1, p.y1), b(p.x2, p.y2);
  if (pen.widthF() <= 1) {
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    painter.drawLine(a, b);
    return;
  }
  pen.setCapStyle(Qt::FlatCap);
  painter.setPen(pen);
  painter.drawLine(a, b);
  const double r = pen.widthF() / 2;
  if (t.stamps != nullptr && DotStamps::suitsDisc(r, t.device)) {
    // The ends are small discs of one colour: stamps, as for small circles.
    painter.setWorldTransform(t.inDevice);
    t.stamps->drawDisc(painter, a, r, p.colour, t.device);
    if (b != a) t.stamps->drawDisc(painter, b, r, p.colour, t.device);
    painter.setWorldTransform(t.user);
    return;
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(pen.color());
  painter.drawEllipse(a, r, r);
  if (b != a) painter.drawEllipse(b, r, r);
}

// A circle so large that the whole user scale lies inside it (the slider
// presets give links of 99999 units) shows nothing of its curve: inside the
// picture only its radius lines and its fill can appear. Drawing it with a
// radius just beyond the farthest corner of the picture shows exactly the
// same, without flattening a curve hundreds of pictures long.
double visibleRadius(const Primitive& p, const QRectF& frame) {
  const double r = std::fabs(p.r);
  double farthest = 0;
  for (const double x : {frame.left(), frame.right()})
    for (const double y : {frame.top(), frame.bottom()})
      farthest = std::max(farthest, std::hypot(x - p.x1, y - p.y1));
  const double margin = p.width + 16;
  return farthest + margin < r ? farthest + margin : r;
}

// The path filled with brush and outlined with pen, as QPainter::drawPath
// draws it. A large outline on the raster engine is filled in bands of device
// rows instead (see banded_fill.h): the same pixels, without walking the whole
// outline once for every band of the rasteriser.
void drawFigure(QPainter& painter, const QPainterPath& path, const QPen& pen, const QBrush& brush,
                const Transforms& t) {
  const double half = pen.widthF() / 2;
  const QRectF bounds = t.device.mapRect(path.controlPointRect().adjusted(-half, -half, half, half));
  if (!t.raster || t.device.type() > QTransform::TxScale || !worthBanding(bounds)) {
    painter.setPen(pen);
    painter.setBrush(brush);
    painter.drawPath(path);
    return;
  }
  if (brush.style() != Qt::NoBrush) painter.fillPath(path, brush);
  const QPainterPath outline = QPainterPathStroker(pen).createStroke(path);
  painter.setWorldTransform(t.inDevice);
  fillInBands(painter, outline, t.device, pen.brush());
  painter.setWorldTransform(t.user);
}

// Pieces of a circle as screen angles: [first, first + sweep].
struct Piece {
  double first, sweep;
};
using Pieces = std::vector<Piece>;

// The picture grown by a margin for the line width: what lies outside it
// cannot show.
QRectF grownPicture(double lineWidth, const QRectF& frame) {
  const double margin = lineWidth + 16;
  return frame.adjusted(-margin, -margin, margin, margin);
}

// The angles at which the circle about c with radius r lies in the rectangle,
// as pieces in [0, 2π); one piece [0, 2π] when all of it does.
Pieces anglesInside(const QPointF& c, double r, const QRectF& rect) {
  std::vector<double> cuts{0};
  cuts.reserve(9);
  for (const double x : {rect.left(), rect.right()}) {
    const double v = (x - c.x()) / r;
    if (std::fabs(v) < 1) {
      const double a = std::acos(v);
      cuts.push_back(a);
      cuts.push_back(kTwoPi - a);
    }
  }
  for (const double y : {rect.top(), rect.bottom()}) {
    const double v = (c.y() - y) / r;  // screen angles: y grows downward
    if (std::fabs(v) < 1) {
      const double a = std::asin(v);
      cuts.push_back(a < 0 ? a + kTwoPi : a);
      cuts.push_back(std::numbers::pi - a);
    }
  }
  std::sort(cuts.begin(), cuts.end());
  Pieces inside;
  for (std::size_t i = 0; i < cuts.size(); ++i) {
    const double a = cuts[i], b = i + 1 < cuts.size() ? cuts[i + 1] : kTwoPi;
    if (b <= a) continue;
    const double mid = (a + b) / 2;
    if (!rect.contains(QPointF(c.x() + r * std::cos(mid), c.y() - r * std::sin(mid)))) continue;
    if (!inside.empty() && inside.back().first + inside.back().sweep == a)
      inside.back().sweep = b - inside.back().first;
    else
      inside.push_back({a, b - a});
  }
  return inside;
}

// The cone from c that holds the rectangle, for a c outside it: what a
// filled sector about c can show lies inside it.
Pieces coneOf(const QPointF& c, const QRectF& rect) {
  const double middle = std::atan2(-(rect.center().y() - c.y()), rect.center().x() - c.x());
  double lo = 0, hi = 0;
  for (const QPointF& corner : {rect.topLeft(), rect.topRight(), rect.bottomLeft(), rect.bottomRight()}) {
    const double d = std::remainder(std::atan2(-(corner.y() - c.y()), corner.x() - c.x()) - middle, kTwoPi);
    lo = std::min(lo, d);
    hi = std::max(hi, d);
  }
  double first = std::fmod(middle + lo, kTwoPi);
  if (first < 0) first += kTwoPi;
  return {{first, hi - lo}};
}

// The parts of the arc [start, start + sweep] that lie within the pieces.
Pieces within(double start, double sweep, const Pieces& window) {
  Pieces out;
  for (const Piece& w : window) {
    for (int turn = -1; turn <= 1; ++turn) {
      const double a = std::max(start, w.first + turn * kTwoPi);
      const double b = std::min(start + sweep, w.first + w.sweep + turn * kTwoPi);
      if (b > a) out.push_back({a, b - a});
    }
  }
  std::sort(out.begin(), out.end(), [](const Piece& x, const Piece& y) { return x.first < y.first; });
  // An arc that runs through angle 0 meets the window there in two parts that
  // touch; they are one piece, or a closed sector would gain a radius line at
  // angle 0 and an open arc two caps.
  Pieces merged;
  for (const Piece& piece : out) {
    if (!merged.empty() && std::fabs(merged.back().first + merged.back().sweep - piece.first) < 1e-9)
      merged.back().sweep = piece.first + piece.sweep - merged.back().first;
    else
      merged.push_back(piece);
  }
  return merged;
}

// What of a circle can show: the pieces inside the picture for a curve alone;
// for a filled figure, whose fill reaches the centre, the cone holding the
// picture when the centre lies outside it. Circles inside the picture, and
// filled ones about a centre in it, are drawn whole (one piece [0, 2π]).
Pieces visibleAngles(const QPointF& c, double r, double lineWidth, bool filled, const QRectF& frame) {
  const QRectF picture = grownPicture(lineWidth, frame);
  if (QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r).intersected(picture) ==
      QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r))
    return {{0, kTwoPi}};
  if (!filled) return anglesInside(c, r, picture);
  if (picture.contains(c)) return {{0, kTwoPi}};
  return coneOf(c, picture);
}

// An arc, open or with its radius lines, or a closed filled sector. Only the
// pieces that can show are drawn: a circle far larger than the picture
// (slider links of 99999 units, the inflection circle of a nearly straight
// path) would otherwise be flattened whole, which costs up to hundreds of
// milliseconds at high resolution. Cut ends lie outside the picture, so
// radius lines to them could not show either.
void paintArc(QPainter& painter, const Primitive& p, const Transforms& t) {
  const QPointF c(p.x1, p.y1);
  const double r = visibleRadius(p, t.frame);
  const double start = reduced(p.start);
  const double sweep = arcSweep(p);  // through 0 when end < start
  const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
  const bool closed = p.edgeStart && p.edgeEnd;
  const bool edges = p.edgeStart || p.edgeEnd;
  const Pieces pieces = within(start, sweep, visibleAngles(c, r, outlineWidth(p), edges, t.frame));

  QPainterPath path;
  for (const Piece& piece : pieces) {
    const double a = piece.first, length = piece.sweep;
    if (closed || (p.edgeStart && a == start)) {
      path.moveTo(c);
      path.lineTo(onCircle(c, r, a));
    } else {
      path.moveTo(onCircle(c, r, a));
    }
    path.arcTo(box, a * kRadToDeg, length * kRadToDeg);
    if (closed || (p.edgeEnd && a + length == start + sweep)) path.lineTo(c);
    if (closed) path.closeSubpath();
  }
  drawFigure(painter, path, outlinePen(p),
             closed ? fillBrush(p.fillStyle, p.fillColour) : QBrush(Qt::NoBrush), t);
}

// A full circle; one that reaches beyond the picture is drawn as the pieces
// that can show (a filled one as the sector of the cone that holds the picture).
void paintClippedCircle(QPainter& painter, const Primitive& p, const Transforms& t) {
  const QPointF c(p.x1, p.y1);
  const double r = visibleRadius(p, t.frame);
  const bool filled = fillBrush(p.fillStyle, p.fillColour).style() != Qt::NoBrush;
  const Pieces pieces = visibleAngles(c, r, outlineWidth(p), filled, t.frame);
  const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
  QPainterPath path;
  if (pieces.size() == 1 && pieces[0].sweep >= kTwoPi) {
    if (!worthBanding(t.device.mapRect(box))) {
      paintCircle(painter, p, r);
      return;
    }
    path.addEllipse(c, r, r);
    drawFigure(painter, path, outlinePen(p), fillBrush(p.fillStyle, p.fillColour), t);
    return;
  }
  for (const Piece& piece : pieces) {
    if (filled) {
      path.moveTo(c);
      path.lineTo(onCircle(c, r, piece.first));
    } else {
      path.moveTo(onCircle(c, r, piece.first));
    }
    path.arcTo(box, piece.first * kRadToDeg, piece.sweep * kRadToDeg);
    if (filled) path.closeSubpath();
  }
  drawFigure(painter, path, outlinePen(p),
             filled ? fillBrush(p.fillStyle, p.fillColour) : QBrush(Qt::NoBrush), t);
}

void paintText(QPainter& painter, const Primitive& p) {
  const PictureFont& font = cachedPictureFont(p.font, p.size);
  const double units = fontUnitScale(p.size);
  painter.save();
  painter.translate(p.x1, p.y1);
  painter.scale(units, units);
  painter.setFont(font.font);
  painter.setPen(toQColor(p.colour));
  painter.drawText(QPointF(0, font.metrics.ascent()),
                   QString::fromUcs4(p.text.data(), static_cast<qsizetype>(p.text.size())));
  painter.restore();
}

void paintPrimitive(QPainter& painter, const Primitive& p, const Transforms& t) {
  using K = Primitive::Kind;
  switch (p.kind) {
    case K::Point:
      break;  // drawn in device pixels by paintDisplayList
    case K::Line:
      paintLine(painter, p, t);
      break;
    case K::Box:
    case K::FilledBox:
      painter.setPen(outlinePen(p));
      painter.setBrush(p.kind == K::FilledBox ? QBrush(toQColor(p.colour)) : QBrush(Qt::NoBrush));
      painter.drawRect(QRectF(QPointF(p.x1, p.y1), QPointF(p.x2, p.y2)).normalized());
      break;
    case K::Circle:
      paintClippedCircle(painter, p, t);
      break;
    case K::Arc:
      paintArc(painter, p, t);
      break;
    case K::Text:
      paintText(painter, p);
      break;
  }
}

}  // namespace

QRectF userScaleFrame() { return QRectF(QPointF(kScaleLeft, kScaleTop), QPointF(kScaleRight, kScaleBottom)); }

QTransform frameTransform(const QRectF& frame, const QRectF& target) {
  const double sx = target.width() / frame.width();
  const double sy = target.height() / frame.height();
  return QTransform(sx, 0, 0, sy, target.left() - frame.left() * sx, target.top() - frame.top() * sy);
}

QTransform userScaleTransform(const QRectF& target) { return frameTransform(userScaleFrame(), target); }

void paintDisplayList(QPainter& painter, const DisplayList& list, const QRectF& target, const QRectF& frame) {
  if (!target.isValid() || !frame.isValid()) return;
  painter.save();
  painter.setClipRect(target, Qt::IntersectClip);
  painter.setTransform(frameTransform(frame, target), true);
  // A drawing unit is a pixel whose area starts at its coordinate: a 1-wide
  // line at y = 100 fills the row from 100 to 101. Shifting by half a unit puts
  // integer coordinates on pixel centres, so odd-width lines stay crisp.
  painter.translate(0.5, 0.5);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  // Small circles come from stamps where the painter rasters, and points are
  // single pixels: both are placed in device pixels. deviceTransform() maps
  // drawing units to the pixels of the paint device, including what the
  // painter itself adds below the world transform: the device-pixel ratio and,
  // for a child widget, its offset inside the window's backing store. While
  // such primitives are drawn, the world transform undoes exactly that part,
  // so that painter coordinates are device pixels.
  const bool raster = painter.paintEngine() != nullptr &&
                      painter.paintEngine()->type() == QPaintEngine::Raster;
  const QTransform user = painter.worldTransform();
  const QTransform device = painter.deviceTransform();
  const QTransform inDevice = (user.inverted() * device).inverted();
  static DotStamps stamps;  // pictures are painted on the GUI thread only
  const Transforms transforms{raster, user, device, inDevice, raster ? &stamps : nullptr, frame};
  bool inDevicePixels = false;
  // Thin lines of one colour in a row (a traced curve is hundreds of them) are
  // drawn in one call: the raster engine then rasters them one after the other
  // exactly as it would line by line, without setting up each call anew.
  std::vector<QLineF> run;
  const Primitive* runStyle = nullptr;
  auto flushRun = [&] {
    if (run.empty()) return;
    QPen pen = outlinePen(*runStyle);
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    painter.drawLines(run.data(), static_cast<int>(run.size()));
    run.clear();
  };
  for (const Primitive& p : list) {
    if (!drawable(p)) continue;
    if (p.kind == Primitive::Kind::Line && outlineWidth(p) <= 1) {
      if (!run.empty() && !(p.colour == runStyle->colour && outlineWidth(p) == outlineWidth(*runStyle)))
        flushRun();
      if (inDevicePixels) {
        painter.setWorldTransform(user);
        inDevicePixels = false;
      }
      run.emplace_back(p.x1, p.y1, p.x2, p.y2);
      runStyle = &p;
      continue;
    }
    flushRun();
    const bool point = p.kind == Primitive::Kind::Point;
    const bool stamped = raster && DotStamps::suits(p, device);
    const bool devicePixels = point || stamped;
    if (devicePixels != inDevicePixels) {
      painter.setWorldTransform(devicePixels ? inDevice : user);
      inDevicePixels = devicePixels;
    }
    if (point) {
      // A point is one device pixel, the one its position falls in, at every
      // size: points mostly set text positions in the background colour and
      // must not grow into specks over what lies beneath.
      const QPointF d = device.map(QPointF(p.x1, p.y1));
      painter.fillRect(QRect(static_cast<int>(std::floor(d.x())), static_cast<int>(std::floor(d.y())), 1, 1),
                       toQColor(p.colour));
    } else if (stamped) {
      stamps.draw(painter, p, device);
    } else {
      paintPrimitive(painter, p, transforms);
    }
  }
  flushRun();
  painter.restore();
}

void paintBackgroundPicture(QPainter& painter, const QImage& picture, const QRectF& target) {
  if (picture.isNull() || !target.isValid()) return;
  painter.save();
  painter.setClipRect(target, Qt::IntersectClip);
  painter.setTransform(userScaleTransform(target), true);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  painter.drawImage(QRectF(kScaleLeft, kScaleTop, picture.width(), picture.height()), picture);
  painter.restore();
}

QRectF fittedScaleRect(const QRectF& area, const QRectF& frame) {
  const double width = frame.width(), height = frame.height();
  if (!(width > 0 && height > 0)) return QRectF();
  const double w = std::max(0.0, area.width()), h = std::max(0.0, area.height());
  const double unit = std::min(w / width, h / height);
  const QSizeF size(width * unit, height * unit);
  return QRectF(QPointF(area.left() + (w - size.width()) / 2, area.top() + (h - size.height()) / 2),
                size);
}

void paintDrawingArea(QPainter& painter, const DisplayList& list, const QImage* background,
                      const QRectF& area, Rgb backgroundColour, const QRectF& frame) {
  painter.fillRect(area, toQColor(backgroundColour));
  const QRectF target = fittedScaleRect(area, frame);
  if (target.isEmpty()) return;
  if (background) paintBackgroundPicture(painter, *background, target);
  paintDisplayList(painter, list, target, frame);
}

namespace {

bool usableSize(QSize size) {
  return size.width() > 0 && size.height() > 0 && size.width() <= 20000 && size.height() <= 20000;
}

}  // namespace

QImage renderImage(const DisplayList& list, const QImage* background, QSize size,
                   qreal devicePixelRatio, Rgb backgroundColour, const QRectF& frame) {
  if (!std::isfinite(devicePixelRatio) || devicePixelRatio <= 0) devicePixelRatio = 1;
  const QSize pixels(static_cast<int>(std::ceil(size.width() * devicePixelRatio)),
                     static_cast<int>(std::ceil(size.height() * devicePixelRatio)));
  if (!usableSize(size) || !usableSize(pixels)) return QImage();
  QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
  // At a fractional ratio the last row and column lie partly outside the
  // drawing area; they must show the background, not what the memory held.
  image.fill(toQColor(backgroundColour));
  image.setDevicePixelRatio(devicePixelRatio);
  QPainter painter(&image);
  paintDrawingArea(painter, list, background, QRectF(QPointF(0, 0), QSizeF(size)), backgroundColour, frame);
  painter.end();
  return image;
}

QImage readImageFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if ((!in && !in.eof()) || bytes.size() > INT_MAX) return QImage();
  return QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()));
}

QByteArray encodePng(const DisplayList& list, const QImage* background, QSize size,
                     Rgb backgroundColour, const QRectF& frame) {
  const QImage image = renderImage(list, background, size, 1, backgroundColour, frame);
  QByteArray png;
  if (image.isNull()) return png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.convertToFormat(QImage::Format_RGB32).save(&buffer, "PNG")) png.clear();
  return png;
}

namespace {

// The family list a viewer of the SVG falls back through: the label font
// "Areal" exists nowhere, "Arial" not everywhere, and Liberation Sans is what
// the program itself draws with; a generic family ends every list.
QString familyList(const QString& family) {
  if (family == QLatin1String("Areal"))
    return QStringLiteral("Areal, 'Liberation Sans', Arial, sans-serif");
  if (family == QLatin1String("Arial")) return QStringLiteral("Arial, 'Liberation Sans', sans-serif");
  if (family.endsWith(QLatin1String("sans-serif")) || family.endsWith(QLatin1String("serif")) ||
      family.endsWith(QLatin1String("monospace")))
    return family;
  return family + QStringLiteral(", sans-serif");
}

// Every font-family attribute of the SVG text with its fallback list.
QByteArray withFontFallbacks(const QByteArray& svg) {
  static const QRegularExpression attribute(QStringLiteral("font-family=\"([^\"]*)\""));
  const QString text = QString::fromUtf8(svg);
  QString out;
  out.reserve(text.size() + text.size() / 8);
  qsizetype last = 0;
  for (auto it = attribute.globalMatch(text); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    out += QStringView(text).mid(last, m.capturedStart() - last);
    out += QStringLiteral("font-family=\"") + familyList(m.captured(1)) + QLatin1Char('"');
    last = m.capturedEnd();
  }
  out += QStringView(text).mid(last);
  return out.toUtf8();
}

}  // namespace

QByteArray encodeSvg(const DisplayList& list, const QImage* background, QSize size,
                     Rgb backgroundColour, const QRectF& frame) {
  if (!usableSize(size)) return {};
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setResolution(96);
  generator.setTitle(QStringLiteral("Planimove"));
  QPainter painter;
  if (!painter.begin(&generator)) return {};
  paintDrawingArea(painter, list, background, QRectF(QPointF(0, 0), QSizeF(size)), backgroundColour, frame);
  painter.end();
  return withFontFallbacks(buffer.data());
}

namespace {

bool writePicture(const QByteArray& bytes, const std::filesystem::path& file, QSize size,
                  std::string& error) {
  if (bytes.isEmpty()) {
    error = "Bildgröße " + std::to_string(size.width()) + "x" + std::to_string(size.height()) +
            " nicht darstellbar";
    return false;
  }
  return writeFileAtomically(file, std::string_view(bytes.constData(), bytes.size()), error);
}

}  // namespace

bool writePng(const DisplayList& list, const QImage* background, const std::filesystem::path& file,
              std::string& error, QSize size, Rgb backgroundColour, const QRectF& frame) {
  return writePicture(encodePng(list, background, size, backgroundColour, frame), file, size, error);
}

bool writeSvg(const DisplayList& list, const QImage* background, const std::filesystem::path& file,
              std::string& error, QSize size, Rgb backgroundColour, const QRectF& frame) {
  return writePicture(encodeSvg(list, background, size, backgroundColour, frame), file, size, error);
}

}  // namespace pm
