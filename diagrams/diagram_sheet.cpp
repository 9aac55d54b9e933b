#include "diagrams/diagram_sheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "kinematics/number_format.h"
#include "script/utf8.h"

namespace pm {

namespace {

using kinematics::MotionTable;
using kinematics::Quantity;

const Rgb kPaper = rgb(255, 255, 255);
const Rgb kInk = rgb(40, 40, 40);
const Rgb kFrame = rgb(140, 140, 140);
const Rgb kGrid = rgb(226, 226, 226);
const Rgb kZero = rgb(175, 175, 175);
const Rgb kCursor = rgb(0, 0, 0);
const Rgb kGuide = rgb(225, 110, 0);
// The curves of one plot, in the order of the table's columns: coupler,
// rocker and the six-bar's links; A, B, C, G and the slider.
const Rgb kCurveColours[] = {rgb(0, 80, 200), rgb(205, 25, 25), rgb(0, 135, 60), rgb(140, 60, 180),
                             rgb(200, 120, 0)};

// The plots, one per quantity, in the order of the sheet.
struct PlotKind {
  Quantity quantity;
  const char* title;  // nullptr: the name of its one column ("Schieberweg s")
  const char* symbol; // the title where the full one leaves no room for the legend
  const char* unit;
  bool withZero;      // the axis always shows 0
  bool legend;        // the curves are named (the title does not say what they are)
};
const PlotKind kPlots[] = {
    {Quantity::Angle, "Winkel", "Winkel", "°", false, true},
    {Quantity::Omega, "Winkelgeschwindigkeit ω", "ω", "1/s", true, true},
    {Quantity::Alpha, "Winkelbeschleunigung α", "α", "1/s²", true, true},
    {Quantity::Speed, "Geschwindigkeit v", "v", "mm/s", true, true},
    {Quantity::Acceleration, "Beschleunigung a", "a", "mm/s²", true, true},
    {Quantity::Transmission, "Übertragungswinkel μ", "μ", "°", false, false},
    {Quantity::Travel, nullptr, "s", "mm", false, false},
};

// The lowest transmission angle a lecturer accepts for a good mechanism.
constexpr double kGoodTransmission = 40;

bool finite(double v) { return std::isfinite(v); }

// A number of an axis: as many decimals as the step needs, decimal comma,
// a real minus sign.
std::string tickText(double v, double step) {
  int decimals = 0;
  while (decimals < 6 && std::fabs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) > 1e-6)
    ++decimals;
  if (std::fabs(v) < step * 1e-6) v = 0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(v));
  std::string out = buf;
  for (char& c : out)
    if (c == '.') c = ',';
  return v < 0 ? "\u2212" + out : out;
}

double niceStep(double span, double ticks) {
  const double raw = span / std::max(1.0, ticks);
  if (!(raw > 0) || !finite(raw)) return 1;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double m : {1.0, 2.0, 2.5, 5.0, 10.0})
    if (m * magnitude >= raw * (1 - 1e-9)) return m * magnitude;
  return 10 * magnitude;
}

// The φ axis: steps that divide the circle.
double angleStep(double span, double ticks) {
  const double raw = span / std::max(1.0, ticks);
  for (const double s : {1.0, 2.0, 5.0, 10.0, 15.0, 30.0, 45.0, 90.0, 180.0})
    if (s >= raw) return s;
  return 360;
}

// Degrees in [0, 360), for the labels of φ.
double listedDegrees(double d) {
  double r = std::fmod(d, 360.0);
  if (r < 0) r += 360;
  return r >= 360 - 1e-9 ? 0 : r;
}

struct Curve {
  std::vector<double> y;  // per row; NaN: no value
  Rgb colour;
  std::string label;
};

struct Plot {
  const PlotKind* kind = nullptr;
  std::string title, symbol;
  std::vector<Curve> curves;
  double lo = 0, hi = 1, step = 1;
};

// An angle column as one line: no jump of 360° between neighbours, the whole
// curve shifted so that its middle lies in [0°, 360°).
std::vector<double> unwrapped(std::vector<double> v) {
  double offset = 0, previous = NAN;
  for (double& y : v) {
    if (!finite(y)) continue;
    y += offset;
    if (finite(previous)) {
      while (y - previous > 180) y -= 360, offset -= 360;
      while (y - previous < -180) y += 360, offset += 360;
    }
    previous = y;
  }
  double lo = INFINITY, hi = -INFINITY;
  for (double y : v)
    if (finite(y)) lo = std::min(lo, y), hi = std::max(hi, y);
  if (finite(lo)) {
    const double shift = 360 * std::floor((lo + hi) / 2 / 360);
    for (double& y : v) y -= shift;
  }
  return v;
}

// The axis of a plot: the values' range, but not the spikes close to a dead
// position (ω and α grow without bound there), in steps for about `ticks`
// labels.
void fitAxis(Plot& plot, double ticks) {
  if (plot.kind->quantity == Quantity::Transmission) {
    plot.lo = 0, plot.hi = 90, plot.step = ticks >= 6 ? 15 : 30;
    return;
  }
  std::vector<double> all;
  for (const Curve& c : plot.curves)
    for (double y : c.y)
      if (finite(y)) all.push_back(y);
  double lo = 0, hi = 1;
  if (!all.empty()) {
    std::sort(all.begin(), all.end());
    const std::size_t n = all.size();
    const double q1 = all[n / 25], q2 = all[n - 1 - n / 25];
    const double spread = q2 - q1;
    lo = all.front() < q1 - spread ? q1 - 0.3 * spread : all.front();
    hi = all.back() > q2 + spread ? q2 + 0.3 * spread : all.back();
  }
  if (plot.kind->withZero) lo = std::min(lo, 0.0), hi = std::max(hi, 0.0);
  if (!(hi - lo > 1e-9 * std::max(1.0, std::fabs(hi)))) {
    const double pad = std::max(1.0, std::fabs(hi) * 0.1);
    lo -= pad, hi += pad;
  }
  plot.step = plot.kind->quantity == Quantity::Angle && hi - lo >= 30 ? angleStep(hi - lo, ticks)
                                                                     : niceStep(hi - lo, ticks);
  plot.lo = std::floor(lo / plot.step + 1e-9) * plot.step;
  plot.hi = std::ceil(hi / plot.step - 1e-9) * plot.step;
  if (plot.hi <= plot.lo) plot.hi = plot.lo + plot.step;
}

std::vector<Plot> plotsOf(const MotionTable& table) {
  std::vector<Plot> plots;
  for (const PlotKind& kind : kPlots) {
    Plot plot;
    plot.kind = &kind;
    for (std::size_t k = 0; k < table.columns.size(); ++k) {
      const kinematics::ColumnInfo& column = table.columns[k];
      if (column.quantity != kind.quantity) continue;
      Curve curve;
      curve.y.reserve(table.rows.size());
      bool any = false;
      for (const std::vector<double>& row : table.rows) {
        curve.y.push_back(row[k]);
        any = any || finite(row[k]);
      }
      if (!any) continue;  // a column this mechanism leaves empty
      if (kind.quantity == Quantity::Angle) curve.y = unwrapped(std::move(curve.y));
      curve.label = column.subject;
      curve.colour = kCurveColours[plot.curves.size() % std::size(kCurveColours)];
      if (plot.title.empty()) plot.title = kind.title ? kind.title : column.name;
      plot.curves.push_back(std::move(curve));
    }
    if (plot.curves.empty()) continue;
    plot.symbol = std::string(kind.symbol) + " [" + kind.unit + "]";
    plot.title += std::string(" [") + kind.unit + "]";
    plots.push_back(std::move(plot));
  }
  return plots;
}

// Text on the sheet: sizes in pixels of the sheet, positions of the top-left
// corner (or of the right end, or the middle).
class Writer {
 public:
  Writer(Canvas& canvas) : canvas_(canvas) {}

  double width(std::string_view text, double px) {
    canvas_.setFont("Arial", px * 0.75);
    return canvas_.textWidth(fromUtf8(text));
  }
  enum Align { Left, Centre, Right };
  // y is the middle of the text's line.
  void text(std::string_view text, double x, double y, double px, Rgb colour, Align align = Left) {
    const std::u32string t = fromUtf8(text);
    canvas_.setFont("Arial", px * 0.75);
    const double w = canvas_.textWidth(t);
    if (align == Centre) x -= w / 2;
    if (align == Right) x -= w;
    canvas_.setTextColour(colour);
    canvas_.setTextPosition(x, y - 0.58 * px);
    canvas_.print(t, false);
  }

 private:
  Canvas& canvas_;
};

// Line widths in whole pixels: the window's and the page's painters then
// raster the same pixels.
double lineWidth(double w) { return std::max(1.0, std::round(w)); }

void line(Canvas& canvas, double x1, double y1, double x2, double y2, Rgb c, double width) {
  canvas.setLineWidth(width);
  canvas.line(x1, y1, x2, y2, c);
}

void dot(Canvas& canvas, double x, double y, double r, Rgb c) {
  canvas.setLineWidth(1);
  canvas.setFillStyle(kFillSolid);
  canvas.setFillColour(c);
  canvas.circle(x, y, r, c);
  canvas.setFillStyle(kFillTransparent);
}

// The segment between two points of a curve, cut to the rows top … bottom.
void clippedSegment(Canvas& canvas, double x1, double y1, double x2, double y2, double top, double bottom,
                    Rgb c, double width) {
  if ((y1 < top && y2 < top) || (y1 > bottom && y2 > bottom)) return;
  auto cut = [&](double& xa, double& ya, double xb, double yb) {
    const double edge = ya < top ? top : bottom;
    const double t = (edge - ya) / (yb - ya);
    xa += t * (xb - xa);
    ya = edge;
  };
  if (y1 < top || y1 > bottom) cut(x1, y1, x2, y2);
  if (y2 < top || y2 > bottom) cut(x2, y2, x1, y1);
  line(canvas, x1, y1, x2, y2, c, width);
}

struct Geometry {
  double px = 12;  // text size
  double margin = 6;
};

void drawPlot(Canvas& canvas, Writer& w, const Plot& plot, const DiagramLayout::Box& box, const MotionTable& table,
              const Geometry& g, double titleY, double legendY, bool xLabels, double xStep) {
  const double px = g.px;
  auto X = [&](double phi) {
    return box.left + (phi - table.first) / (table.last - table.first) * (box.right - box.left);
  };
  auto Y = [&](double v) { return box.bottom - (v - plot.lo) / (plot.hi - plot.lo) * (box.bottom - box.top); };

  // Title and legend.
  w.text(plot.title, box.left, titleY, px, kInk);
  double legendX = box.right;
  for (auto c = plot.curves.rbegin(); plot.kind->legend && c != plot.curves.rend(); ++c) {
    const double tw = w.width(c->label, px * 0.92);
    w.text(c->label, legendX, legendY, px * 0.92, c->colour, Writer::Right);
    legendX -= tw + 0.3 * px;
    line(canvas, legendX - 1.1 * px, legendY, legendX, legendY, c->colour, lineWidth(px / 6));
    legendX -= 1.1 * px + 0.7 * px;
  }

  // Grid, axes and their numbers.
  canvas.setFillStyle(kFillTransparent);
  const double tickPx = px * 0.85;
  for (double v = plot.lo; v <= plot.hi + plot.step * 1e-6; v += plot.step) {
    const double y = Y(v);
    line(canvas, box.left, y, box.right, y, std::fabs(v) < plot.step * 1e-6 ? kZero : kGrid, 1);
    w.text(tickText(v, plot.step), box.left - 0.35 * px, y, tickPx, kInk, Writer::Right);
  }
  const double firstTick = std::ceil(table.first / xStep - 1e-9) * xStep;
  for (double phi = firstTick; phi <= table.last + 1e-9; phi += xStep) {
    const double x = X(phi);
    line(canvas, x, box.top, x, box.bottom, kGrid, 1);
    if (xLabels) {
      const double shown = table.fullTurn ? phi : listedDegrees(phi);
      w.text(tickText(shown, xStep), x, box.bottom + 0.85 * px, tickPx, kInk, Writer::Centre);
    }
  }
  if (xLabels) {
    const double firstWidth = w.width(tickText(table.fullTurn ? firstTick : listedDegrees(firstTick), xStep), tickPx);
    w.text("φ [°]", box.left - firstWidth / 2 - 0.5 * px, box.bottom + 0.85 * px, tickPx, kInk, Writer::Right);
  }
  canvas.box(box.left, box.top, box.right, box.bottom, kFrame, false);

  if (plot.kind->quantity == Quantity::Transmission) {
    const double y = Y(kGoodTransmission);
    line(canvas, box.left, y, box.right, y, kGuide, lineWidth(px / 10));
    w.text("40°", box.right - 0.3 * px, y - 0.6 * px, tickPx, kGuide, Writer::Right);
  }

  // The curves: a line between neighbouring rows that both have a value, so
  // that no line crosses a dead position or a piece where the chain does not close.
  const double curveWidth = lineWidth(px / 7);
  for (const Curve& c : plot.curves) {
    for (std::size_t i = 0; i + 1 < c.y.size(); ++i) {
      if (!finite(c.y[i]) || !finite(c.y[i + 1])) continue;
      clippedSegment(canvas, X(table.sweep[i]), Y(c.y[i]), X(table.sweep[i + 1]), Y(c.y[i + 1]), box.top,
                     box.bottom, c.colour, curveWidth);
    }
  }

  if (plot.kind->quantity == Quantity::Transmission && !plot.curves.empty()) {
    // The smallest transmission angle of the range.
    const std::vector<double>& mu = plot.curves.front().y;
    std::size_t least = mu.size();
    for (std::size_t i = 0; i < mu.size(); ++i)
      if (finite(mu[i]) && (least == mu.size() || mu[i] < mu[least])) least = i;
    if (least < mu.size()) {
      const double x = X(table.sweep[least]), y = Y(mu[least]);
      dot(canvas, x, y, 0.3 * px, kGuide);
      // A minimum of 0° is a dead position of the loop.
      const double phi = table.fullTurn ? table.sweep[least] : listedDegrees(table.sweep[least]);
      const std::string label = "μmin = " + tickText(mu[least], 0.1) + "°" +
                                (mu[least] < 0.05 ? " (Totlage)" : "") + " bei φ = " + tickText(phi, 0.1) + "°";
      const double lw = w.width(label, tickPx);
      // Below the dot, beside it or above, on the side away from the
      // guideline where it fits.
      double lx = std::clamp(x - lw / 2, box.left + 0.2 * px, std::max(box.left + 0.2 * px, box.right - lw - 0.2 * px));
      double ly = y;
      const double below = y + 1.1 * px, above = y - 1.0 * px;
      const bool fitsBelow = below <= box.bottom - 0.6 * px, fitsAbove = above >= box.top + 0.7 * px;
      const bool fitsBeside = y + 0.6 * px <= box.bottom && y - 0.6 * px >= box.top;
      if (mu[least] < kGoodTransmission ? fitsBelow : !fitsAbove && fitsBelow) {
        ly = below;
      } else if (fitsBeside && (mu[least] < kGoodTransmission || !fitsAbove)) {
        lx = x + 0.6 * px + lw <= box.right ? x + 0.6 * px : x - 0.6 * px - lw;
      } else {
        ly = std::max(above, box.top + 0.7 * px);
      }
      w.text(label, lx, ly, tickPx, kGuide);
    }
  }

  // The cursor: the shown crank angle, with the value of every curve on it.
  const double x = X(table.sweep[table.shownRow]);
  line(canvas, x, box.top, x, box.bottom, kCursor, lineWidth(px / 9));
  for (const Curve& c : plot.curves) {
    const double v = c.y[table.shownRow];
    if (finite(v) && v >= plot.lo && v <= plot.hi) dot(canvas, x, Y(v), 0.28 * px, c.colour);
  }
}

}  // namespace

DiagramLayout drawDiagrams(Canvas& canvas, const ShownTable& shown, DiagramSheetSize size) {
  DiagramLayout layout;
  canvas.clear();
  canvas.setBackgroundColour(kPaper);
  canvas.setFillStyle(kFillTransparent);
  const double W = size.width, H = size.height;
  if (!(W >= 40 && H >= 40) || !finite(W) || !finite(H)) return layout;
  Writer w(canvas);
  Geometry g;
  g.px = std::clamp(std::min(H / 52, W / 25), 9.0, 32.0);
  g.margin = 0.7 * g.px;
  const double px = g.px;

  if (!shown.table) {
    w.text("Diagramme: " + (shown.reason.empty() ? std::string("keine Werte") : shown.reason), W / 2, H / 2, px,
           kInk, Writer::Centre);
    return layout;
  }
  const MotionTable& table = *shown.table;
  layout.first = table.first;
  layout.last = table.last;

  // Head: the shown crank angle and the range the crank reaches.
  const double headY = g.margin + 0.6 * px;
  const double shownPhi = table.rows[table.shownRow][0];
  w.text("Kurbelwinkel φ = " + germanNumber(shownPhi) + "°", g.margin, headY, px * 1.05, kInk);
  const std::string range = table.fullTurn ? std::string("volle Umdrehung")
                                           : "Totlagen bei " + germanNumber(listedDegrees(table.first)) + "° und " +
                                                 germanNumber(listedDegrees(table.last)) + "°";
  w.text(range, W - g.margin, headY, px * 0.92, kInk, Writer::Right);

  std::vector<Plot> plots = plotsOf(table);
  const int n = static_cast<int>(plots.size());
  if (n == 0) return layout;

  // Columns of plots: the count that gives plots closest to 2.2 : 1.
  const double top = headY + 1.1 * px, bottom = H - g.margin;
  const double xLabelH = 1.6 * px, gap = 0.5 * px;
  double titleH = 1.45 * px;
  int columns = 1;
  double bestScore = INFINITY;
  for (int c = 1; c <= 3 && c <= n; ++c) {
    const int r = (n + c - 1) / c;
    const double cellW = (W - 2 * g.margin) / c - 3.5 * px;
    const double cellH = (bottom - top - xLabelH) / r - titleH - gap;
    if (cellW <= 0 || cellH <= 0) continue;
    const double score = std::fabs(std::log(cellW / cellH / 2.2));
    if (score < bestScore) bestScore = score, columns = c;
  }
  const int perColumn = (n + columns - 1) / columns;
  const double columnW = (W - 2 * g.margin) / columns;
  // Title and legend share a line: the full title where it leaves room for
  // the legend, else the quantity's symbol; two lines where even that is too long.
  bool twoLines = false;
  for (Plot& p : plots) {
    double legend = 0;
    if (p.kind->legend)
      for (const Curve& c : p.curves) legend += w.width(c.label, px * 0.92) + 2.1 * px;
    const double room = columnW - 3.5 * px - legend - px;
    if (w.width(p.title, px) > room) p.title = p.symbol;
    twoLines = twoLines || w.width(p.title, px) > room;
  }
  if (twoLines) titleH = 2.6 * px;

  // The axes of every plot, then the room their numbers need at the left.
  const double cellH = (bottom - top - xLabelH) / perColumn;
  const double boxH = cellH - titleH - gap;
  for (Plot& p : plots) fitAxis(p, std::max(2.0, std::floor(boxH / (1.9 * px))));
  const double xStep = table.fullTurn ? (columnW > 30 * px ? 45 : 90)
                                      : angleStep(table.last - table.first, std::max(2.0, columnW / (4.5 * px)));
  std::vector<double> labelRoom(static_cast<std::size_t>(columns), 2 * px);
  for (int k = 0; k < n; ++k) {
    const Plot& p = plots[static_cast<std::size_t>(k)];
    double widest = 0;
    for (double v = p.lo; v <= p.hi + p.step * 1e-6; v += p.step) widest = std::max(widest, w.width(tickText(v, p.step), px * 0.85));
    double& room = labelRoom[static_cast<std::size_t>(k / perColumn)];
    room = std::max(room, widest + 0.6 * px);
  }

  for (int k = 0; k < n; ++k) {
    const int column = k / perColumn, row = k % perColumn;
    const bool last = row == perColumn - 1 || k == n - 1;
    const double cellLeft = g.margin + column * columnW;
    const double cellTop = top + row * cellH;
    DiagramLayout::Box box;
    box.left = cellLeft + labelRoom[static_cast<std::size_t>(column)];
    box.right = cellLeft + columnW - (column + 1 < columns ? 1.2 * px : 0.2 * px);
    box.top = cellTop + titleH;
    box.bottom = cellTop + cellH - gap;
    if (box.right - box.left < 2 * px || box.bottom - box.top < px) continue;
    const double titleY = cellTop + (twoLines ? 0.6 * px : titleH * 0.45);
    const double legendY = twoLines ? titleY + 1.15 * px : titleY;
    drawPlot(canvas, w, plots[static_cast<std::size_t>(k)], box, table, g, titleY, legendY, last, xStep);
    layout.plots.push_back(box);
  }
  return layout;
}

std::optional<double> crankAngleAt(const DiagramLayout& layout, double x, double y) {
  for (const DiagramLayout::Box& b : layout.plots) {
    if (x < b.left - 4 || x > b.right + 4 || y < b.top || y > b.bottom) continue;
    const double t = std::clamp((x - b.left) / (b.right - b.left), 0.0, 1.0);
    return listedDegrees(layout.first + t * (layout.last - layout.first));
  }
  return std::nullopt;
}

}  // namespace pm
