#include "kinematics/motion_table.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

namespace pm::kinematics {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kDegree = std::numbers::pi / 180;
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
// Two crank angles closer than this (radians) are one row.
constexpr double kSameAngle = 1e-9;

using physical::isGuide;

// The mechanism at one crank angle. `dead` marks a dead position of the loop
// (also each edge of the crank's range, where the solver may still find
// coupler and rocker a hair apart); `sixBarDead` the same for the dyad.
struct RowMotion {
  double angle = 0;  // radians, unwrapped along the range
  LoopMotion loop;
  bool dead = false;
  SixBarMotion six;
  bool sixBarDead = false;
};

// Who a column is for: the base columns stand in every table (empty where
// they do not apply), the others only in the tables they apply to.
enum class Part { Any, NotSlot, NoGuide, Slot, Slider, SixBar };

bool applies(Part part, Guide guide, bool sixBar) {
  switch (part) {
    case Part::Any: return true;
    case Part::NotSlot: return guide != Guide::Slot;
    case Part::NoGuide: return guide == Guide::None;
    case Part::Slot: return guide == Guide::Slot;
    case Part::Slider: return guide == Guide::Slider;
    case Part::SixBar: return sixBar;
  }
  return false;
}

bool isBase(Part part) { return part == Part::Any || part == Part::NotSlot || part == Part::NoGuide; }

// The loop's values, or none where it does not close or stands in a dead position.
bool moving(const RowMotion& r) { return r.loop.closed && !r.dead && !r.loop.dead; }
bool placed(const RowMotion& r) { return r.loop.closed; }
bool sixBarMoving(const RowMotion& r) {
  return moving(r) && r.six.closed && !r.six.dyad.dead && !r.sixBarDead;
}

double angleIf(bool ok, double radians) { return ok ? physical::screenDegrees(radians) : kNone; }
double valueIf(bool ok, double v) { return ok ? v : kNone; }

using Value = double (*)(const RowMotion&);

struct ColumnRow {
  Part part;
  Quantity quantity;
  const char* name;  // "%" stands for the subject
  const char* subject;
  const char* unit;
  Value value;
};

// The columns in the order of the table. The six-bar's subjects "I" and "H"
// are replaced by the links the topic adds ("C–F", "D–F").
const ColumnRow kColumns[] = {
    {Part::Any, Quantity::CrankAngle, "φ", "Kurbel", "°", nullptr},
    {Part::Any, Quantity::CrankOmega, "ω %", "Kurbel", "1/s", [](const RowMotion& r) { return r.loop.crank.omega; }},
    {Part::NotSlot, Quantity::Angle, "Winkel %", "Koppel", "°",
     [](const RowMotion& r) { return angleIf(placed(r), r.loop.coupler.angle); }},
    {Part::NotSlot, Quantity::Omega, "ω %", "Koppel", "1/s",
     [](const RowMotion& r) { return valueIf(moving(r), r.loop.coupler.omega); }},
    {Part::NotSlot, Quantity::Alpha, "α %", "Koppel", "1/s²",
     [](const RowMotion& r) { return valueIf(moving(r), r.loop.coupler.alpha); }},
    {Part::NoGuide, Quantity::Angle, "Winkel %", "Schwinge", "°",
     [](const RowMotion& r) { return angleIf(placed(r), r.loop.rocker.angle); }},
    {Part::NoGuide, Quantity::Omega, "ω %", "Schwinge", "1/s",
     [](const RowMotion& r) { return valueIf(moving(r), r.loop.rocker.omega); }},
    {Part::NoGuide, Quantity::Alpha, "α %", "Schwinge", "1/s²",
     [](const RowMotion& r) { return valueIf(moving(r), r.loop.rocker.alpha); }},
    {Part::Any, Quantity::Speed, "v %", "A", "mm/s", [](const RowMotion& r) { return std::abs(r.loop.A.v); }},
    {Part::NotSlot, Quantity::Speed, "v %", "B", "mm/s",
     [](const RowMotion& r) { return valueIf(moving(r), std::abs(r.loop.B.v)); }},
    {Part::Any, Quantity::Speed, "v %", "C", "mm/s",
     [](const RowMotion& r) { return valueIf(moving(r) && r.loop.hasC, std::abs(r.loop.C.v)); }},
    {Part::Any, Quantity::Acceleration, "a %", "A", "mm/s²",
     [](const RowMotion& r) { return std::abs(r.loop.A.a); }},
    {Part::NotSlot, Quantity::Acceleration, "a %", "B", "mm/s²",
     [](const RowMotion& r) { return valueIf(moving(r), std::abs(r.loop.B.a)); }},
    {Part::Any, Quantity::Acceleration, "a %", "C", "mm/s²",
     [](const RowMotion& r) { return valueIf(moving(r) && r.loop.hasC, std::abs(r.loop.C.a)); }},
    {Part::NotSlot, Quantity::Transmission, "μ", "μ", "°",
     [](const RowMotion& r) { return valueIf(placed(r), transmissionAngle(r.loop)); }},
    // The slotted link about Y with its block at A.
    {Part::Slot, Quantity::Angle, "Winkel %", "Schleife", "°",
     [](const RowMotion& r) { return angleIf(placed(r), lineMotion(r.loop.A, r.loop.Y).angle); }},
    {Part::Slot, Quantity::Omega, "ω %", "Schleife", "1/s",
     [](const RowMotion& r) { return valueIf(moving(r), lineMotion(r.loop.A, r.loop.Y).omega); }},
    {Part::Slot, Quantity::Alpha, "α %", "Schleife", "1/s²",
     [](const RowMotion& r) { return valueIf(moving(r), lineMotion(r.loop.A, r.loop.Y).alpha); }},
    {Part::Slot, Quantity::Travel, "Gleitweg s", "Gleitstein", "mm",
     [](const RowMotion& r) { return valueIf(placed(r), distanceMotion(r.loop.A, r.loop.Y).s); }},
    {Part::Slot, Quantity::Speed, "Gleitgeschwindigkeit", "Gleitstein", "mm/s",
     [](const RowMotion& r) { return valueIf(moving(r), distanceMotion(r.loop.A, r.loop.Y).rate); }},
    {Part::Slot, Quantity::Acceleration, "Gleitbeschleunigung", "Gleitstein", "mm/s²",
     [](const RowMotion& r) { return valueIf(moving(r), distanceMotion(r.loop.A, r.loop.Y).acceleration); }},
    // B on the straight guide through X.
    {Part::Slider, Quantity::Travel, "Schieberweg s", "Schieber", "mm",
     [](const RowMotion& r) { return valueIf(placed(r), distanceMotion(r.loop.B, r.loop.X).s); }},
    {Part::Slider, Quantity::Speed, "Schiebergeschwindigkeit", "Schieber", "mm/s",
     [](const RowMotion& r) { return valueIf(moving(r), distanceMotion(r.loop.B, r.loop.X).rate); }},
    {Part::Slider, Quantity::Acceleration, "Schieberbeschleunigung", "Schieber", "mm/s²",
     [](const RowMotion& r) { return valueIf(moving(r), distanceMotion(r.loop.B, r.loop.X).acceleration); }},
    // The dyad I-F-H of a six-bar and the point G on its link H-F.
    {Part::SixBar, Quantity::Angle, "Winkel %", "I", "°",
     [](const RowMotion& r) { return angleIf(placed(r) && r.six.closed, r.six.dyad.first.angle); }},
    {Part::SixBar, Quantity::Angle, "Winkel %", "H", "°",
     [](const RowMotion& r) { return angleIf(placed(r) && r.six.closed, r.six.dyad.second.angle); }},
    {Part::SixBar, Quantity::Omega, "ω %", "I", "1/s",
     [](const RowMotion& r) { return valueIf(sixBarMoving(r), r.six.dyad.first.omega); }},
    {Part::SixBar, Quantity::Omega, "ω %", "H", "1/s",
     [](const RowMotion& r) { return valueIf(sixBarMoving(r), r.six.dyad.second.omega); }},
    {Part::SixBar, Quantity::Alpha, "α %", "I", "1/s²",
     [](const RowMotion& r) { return valueIf(sixBarMoving(r), r.six.dyad.first.alpha); }},
    {Part::SixBar, Quantity::Alpha, "α %", "H", "1/s²",
     [](const RowMotion& r) { return valueIf(sixBarMoving(r), r.six.dyad.second.alpha); }},
    {Part::SixBar, Quantity::Speed, "v %", "G", "mm/s",
     [](const RowMotion& r) { return valueIf(sixBarMoving(r) && r.six.hasG, std::abs(r.six.G.v)); }},
};

std::string replaced(std::string text, const std::string& what, const std::string& by) {
  const std::size_t at = text.find(what);
  if (at != std::string::npos) text.replace(at, what.size(), by);
  return text;
}

// The columns of a table, with the six-bar's links named by their letters.
struct Layout {
  std::vector<ColumnInfo> info;
  std::vector<const ColumnRow*> rows;
  std::vector<bool> applying;  // false: a base column this mechanism leaves empty
};

Layout layoutFor(Guide guide, char first, char second) {
  const bool sixBar = first != 0;
  Layout out;
  for (const ColumnRow& c : kColumns) {
    if (!isBase(c.part) && !applies(c.part, guide, sixBar)) continue;
    std::string subject = c.subject;
    if (c.part == Part::SixBar && subject != "G")
      subject = std::string(1, subject == "I" ? first : second) + "–F";
    out.info.push_back({c.quantity, replaced(c.name, "%", subject), subject, c.unit});
    out.rows.push_back(&c);
    out.applying.push_back(applies(c.part, guide, sixBar));
  }
  return out;
}

RowMotion solveAt(const TabledMechanism& m, double angle) {
  RowMotion r;
  r.angle = angle;
  Drive drive = m.drive;
  drive.angle = angle;
  r.loop = solveLoop(m.loop, drive);
  if (r.loop.closed && m.sixBarTopic >= 1 && m.sixBarTopic <= 8)
    r.six = solveSixBar(r.loop, m.sixBarLengths, m.sixBarTopic);
  return r;
}

// An edge of the crank's range: the loop just closes there; where rounding
// leaves it a hair open, a step inwards far below what any column shows
// closes it.
RowMotion solveAtEdge(const TabledMechanism& m, double angle, double inwards) {
  RowMotion r = solveAt(m, angle);
  for (double nudge = 1e-12; !r.loop.closed && nudge <= 1e-8; nudge *= 10)
    r = solveAt(m, angle + inwards * nudge);
  r.angle = angle;
  r.dead = true;
  return r;
}

bool sixBarClosed(const RowMotion& r) { return r.loop.closed && r.six.closed; }

// Where between two rows the dyad of the six-bar starts or stops closing: the
// row at the edge, on the side where it closes.
RowMotion sixBarEdge(const TabledMechanism& m, const RowMotion& closed, const RowMotion& open) {
  double in = closed.angle, out = open.angle;
  RowMotion best = closed;
  for (int k = 0; k < 48 && std::fabs(out - in) > 1e-13; ++k) {
    const double mid = (in + out) / 2;
    RowMotion r = solveAt(m, mid);
    if (sixBarClosed(r)) {
      in = mid;
      best = std::move(r);
    } else {
      out = mid;
    }
  }
  best.sixBarDead = true;
  return best;
}

std::vector<double> cellsOf(const Layout& layout, const RowMotion& r, double crankDegrees) {
  std::vector<double> cells;
  cells.reserve(layout.rows.size());
  for (std::size_t k = 0; k < layout.rows.size(); ++k) {
    const ColumnRow* c = layout.rows[k];
    cells.push_back(!layout.applying[k] ? kNone : c->value ? c->value(r) : crankDegrees);
  }
  return cells;
}

Layout layoutOf(const TabledMechanism& m, const RowMotion& shown) {
  return layoutFor(guideOf(m.loop), shown.six.first, shown.six.second);
}

}  // namespace

Guide guideOf(const LoopGeometry& g) {
  if (isGuide(g.coupler)) return Guide::Slot;
  if (isGuide(g.rocker)) return Guide::Slider;
  return Guide::None;
}

std::optional<CrankRange> crankRange(const LoopGeometry& g, double angle) {
  // |A − Y|² = a² + d² − 2·a·d·cos ψ with ψ = φ − frame angle; the loop
  // closes while |A − Y| lies between ||b| − |c|| and |b| + |c|.
  const double a = g.crank, d = g.frame;
  const double lo = std::fabs(std::fabs(g.coupler) - std::fabs(g.rocker));
  const double hi = std::fabs(g.coupler) + std::fabs(g.rocker);
  const double base = a * a + d * d, ad = a * d;
  if (!std::isfinite(base) || !std::isfinite(hi) || !std::isfinite(angle)) return std::nullopt;
  if (ad == 0) {
    if (base > hi * hi || base < lo * lo) return std::nullopt;
    return CrankRange{0, kTwoPi, true};
  }
  const double p = (base - hi * hi) / (2 * ad), q = (base - lo * lo) / (2 * ad);
  constexpr double kTouch = 1e-12;
  const double kLo = std::min(p, q), kHi = std::max(p, q);
  if (kLo > 1 + kTouch || kHi < -1 - kTouch) return std::nullopt;
  const bool belowAll = kLo <= -1 + kTouch, aboveAll = kHi >= 1 - kTouch;
  if (belowAll && aboveAll) return CrankRange{0, kTwoPi, true};
  // The intervals of ψ in which cos ψ lies in [kLo, kHi].
  std::vector<std::pair<double, double>> pieces;
  if (aboveAll) {
    const double w = std::acos(std::clamp(kLo, -1.0, 1.0));
    pieces.push_back({-w, w});
  } else if (belowAll) {
    const double w = std::acos(std::clamp(kHi, -1.0, 1.0));
    pieces.push_back({w, kTwoPi - w});
  } else {
    const double near = std::acos(std::clamp(kHi, -1.0, 1.0)), far = std::acos(std::clamp(kLo, -1.0, 1.0));
    pieces.push_back({near, far});
    pieces.push_back({kTwoPi - far, kTwoPi - near});
  }
  // The piece that holds the angle, or the nearest one within a hair: at a
  // dead position the drive may stand just outside after rounding.
  const double frame = g.frameAngle;
  std::optional<CrankRange> best;
  double bestGap = 1e-6;
  for (const auto& [s, e] : pieces) {
    // ψ of the angle unwrapped to lie at or after the start of the piece.
    const double psi = s + std::fmod(std::fmod(angle - frame - s, kTwoPi) + kTwoPi, kTwoPi);
    double gap = 0;
    if (psi > e) gap = std::min(psi - e, s + kTwoPi - psi);
    if (gap <= bestGap) {
      bestGap = gap;
      // Shift the piece so that it holds the angle as given.
      const double shift = angle - (psi > e && s + kTwoPi - psi < psi - e ? psi - kTwoPi : psi);
      best = CrankRange{s + shift, e + shift, false};
      // Clamp a hair outside onto the edge.
      best->first = std::min(best->first, angle);
      best->last = std::max(best->last, angle);
    }
  }
  return best;
}

std::optional<std::size_t> MotionTable::column(std::string_view name) const {
  for (std::size_t k = 0; k < columns.size(); ++k)
    if (columns[k].name == name) return k;
  return std::nullopt;
}

std::optional<MotionTable> motionTable(const TabledMechanism& m) {
  const double shownAngle = m.drive.angle;
  const std::optional<CrankRange> range = crankRange(m.loop, shownAngle);
  if (!range) return std::nullopt;
  const RowMotion shown = solveAt(m, shownAngle);
  if (!shown.loop.closed) return std::nullopt;

  // The rows: the edges, every whole degree between them and the shown angle.
  std::vector<RowMotion> rows;
  rows.reserve(400);
  if (range->fullTurn) {
    for (int k = 0; k <= 360; ++k) rows.push_back(solveAt(m, k * kDegree));
  } else {
    rows.push_back(solveAtEdge(m, range->first, +1));
    const double lastDegrees = range->last / kDegree;
    for (double k = std::floor(range->first / kDegree + 1e-6) + 1; k < lastDegrees - 1e-6; ++k)
      rows.push_back(solveAt(m, k * kDegree));
    rows.push_back(solveAtEdge(m, range->last, -1));
  }
  if (m.sixBarTopic >= 1 && m.sixBarTopic <= 8) {
    std::vector<RowMotion> withEdges;
    withEdges.reserve(rows.size() + 8);
    for (std::size_t k = 0; k < rows.size(); ++k) {
      if (k > 0 && sixBarClosed(rows[k - 1]) != sixBarClosed(rows[k])) {
        const bool before = sixBarClosed(rows[k - 1]);
        withEdges.push_back(before ? sixBarEdge(m, rows[k - 1], rows[k]) : sixBarEdge(m, rows[k], rows[k - 1]));
      }
      withEdges.push_back(std::move(rows[k]));
    }
    rows = std::move(withEdges);
  }
  // The shown angle takes the place of a row it falls on, or a place of its own.
  const auto after = std::lower_bound(rows.begin(), rows.end(), shownAngle - kSameAngle,
                                      [](const RowMotion& r, double a) { return r.angle < a; });
  std::size_t shownRow = static_cast<std::size_t>(after - rows.begin());
  RowMotion shownRowMotion = shown;
  if (after != rows.end() && std::fabs(after->angle - shownAngle) <= kSameAngle) {
    // An edge stays an edge: the shown mechanism then stands in its dead position.
    shownRowMotion.dead = after->dead;
    shownRowMotion.sixBarDead = after->sixBarDead;
    *after = std::move(shownRowMotion);
  } else {
    rows.insert(after, std::move(shownRowMotion));
  }

  MotionTable table;
  const Layout layout = layoutOf(m, shown);
  table.columns = layout.info;
  table.fullTurn = range->fullTurn;
  table.first = range->first / kDegree;
  table.last = range->last / kDegree;
  table.shownRow = shownRow;
  table.rows.reserve(rows.size());
  table.sweep.reserve(rows.size());
  for (const RowMotion& r : rows) {
    const double sweep = r.angle / kDegree;
    // A whole turn runs from 0° to 360°, both ends listed; elsewhere the
    // angle is given as the panel lists it.
    const double listed = range->fullTurn ? sweep : physical::screenDegrees(r.angle);
    table.sweep.push_back(sweep);
    table.rows.push_back(cellsOf(layout, r, listed));
  }
  return table;
}

}  // namespace pm::kinematics
