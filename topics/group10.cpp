// Topic group 10: four-position synthesis. A plane, represented by two of its
// points, is given in four positions (A/E, B/F, C/G, D/H). The subtopics build
// on each other: the task, the pole quadrilateral, the centre-point curve with a
// construction point that the drive moves, the circle-point curve, the dyads of
// the construction point, the four-bar made of two chosen centre-point /
// circle-point pairs, and finally the hand-over of that four-bar to the
// analysis topics as mechanism type 9.
//
// Registers: M, N, O, P are the poles P12, P23, P34, P41, o and p the opposite
// poles P13, P24; R is the centre of the circle through N, O and Q (Q = MN x OP).
// The point S runs on that circle; T and U are the centres of the two circles
// whose intersections V and W are centre points; Ä and Ö are their circle points
// in the first position. b, c / d, e hold the pairs of the construction point;
// f, g and h, i the chosen pairs (fixed pivot, moving pivot), carried between
// commands in bxx … byb with the flags bz1, bz2.
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "draw/colour_tables.h"
#include "draw/recording_canvas.h"
#include "script/vector.h"
#include "shell/form1.h"
#include "topics/curve_loop.h"
#include "topics/mechanism_detail.h"
#include "topics/page_catalogue.h"
#include "topics/synthesis_check.h"
#include "topics/text_place.h"
#include "topics/topics.h"

namespace pm {
namespace {

constexpr std::u32string_view kGroupName = U" Lagengeometrie        ";

// Subtopic labels, index = mn2.
constexpr std::array<std::u32string_view, 9> kSubtopicNames = {
    U"",
    U" Vier Lagen einer Ebene",
    U" Gegenpolviereck       ",
    U" Konstruktion          ",
    U" Mittelpunktskurve     ",
    U" Kreispunktkurve       ",
    U" Kreispunktkurve       ",
    U" Rautenwerk            ",
    U" Analyse               ",
};

enum Subtopic : int {
  kTask = 1,
  kPoleQuadrilateral = 2,
  kConstruction = 3,
  kCentrePointCurve = 4,
  kCirclePointCurve = 5,
  kDyads = 6,
  kFourBar = 7,
  kAnalyse = 8,
};

// One pole of two consecutive positions: the perpendicular bisectors of both
// point pairs meet in the pole; in subtopic 2 the construction is drawn.
struct PoleConstruction {
  std::u32string_view construct;
  std::u32string_view bisectors;
  std::u32string_view arcs;
};

constexpr std::array<PoleConstruction, 4> kPoles = {{
    {U":49AI=IB:23J=R+IA:49EK=KF:23L=R+KE:41M=IJxKL", U":66-b1ABIM:66-b1EFKM",
     U":61(b15AIM:61(b14AIM:61(b15EKM:61(b14EKM:65ob14IMK"},
    {U":49BI=IC:23J=R+IB:49FK=KG:23L=R+KF:41N=IJxKL", U":66-b1BCIN:66-b1FGKN",
     U":61(b15BIN:61(b14BIN:61(b15FKN:61(b14FKN:65ob14INK"},
    {U":49CI=ID:23J=R+IC:49GK=KH:23L=R+KG:41O=IJxKL", U":66-b1CDIO:66-b1GHKO",
     U":61(b15CIO:61(b14CIO:61(b15GKO:61(b14GKO:65ob14IOK"},
    {U":49DI=IA:23J=R+ID:49HK=KE:23L=R+KH:41P=IJxKL", U":66-b1DAIP:66-b1HEKP",
     U":61(b15DIP:61(b14DIP:61(b15HKP:61(b14HKP:65ob14IPK"},
}};

// Circle point Ä of the centre point V, and Ö of W, by similar triangles on the
// poles M (P12), N (P23) and o (P13).
constexpr std::u32string_view kCirclePointOfV =
    U":46IMN~oMV:46JNM~oNV:41Z=MIxNJ:46IoM~MoZ:46JMo~oMZ:41Ä=MJxoI";
constexpr std::u32string_view kCirclePointOfW =
    U":46IMN~oMW:46JNM~oNW:41Ü=MIxNJ:46IoM~MoÜ:46JMo~oMÜ:41Ö=MJxoI";

// Whether `point`, a point of the plane in the first position, lies in all
// four positions on one circle about `centre`: what makes it the circle point
// of that centre point. Where the construction point passes within a fraction
// of a unit of a pole, the similar triangles of the construction degenerate
// and their result is no circle point.
bool isCirclePoint(const Registers& r, char32_t centre, char32_t point) {
  // Written out in coordinates rather than with std::complex, whose division
  // and modulus are library calls: the test runs at every step of both curve
  // loops.
  const Point first = r.point(U'A'), e = r.point(U'E');
  const double dx = e.x - first.x, dy = e.y - first.y;
  const double norm = dx * dx + dy * dy;
  if (norm == 0) return true;  // a task without direction: nothing to carry
  // The point in the frame of the first position: its offset along and
  // across A-E, in units of A-E (the complex quotient (P - A) / (E - A)),
  // carried into each position by that position's A-E.
  const Point p = r.point(point), c = r.point(centre);
  const double ox = p.x - first.x, oy = p.y - first.y;
  const double u = (ox * dx + oy * dy) / norm, v = (oy * dx - ox * dy) / norm;
  double nearest = INFINITY, farthest = 0;
  for (const auto& [a, b] : {std::pair{U'A', U'E'}, {U'B', U'F'}, {U'C', U'G'}, {U'D', U'H'}}) {
    const Point from = r.point(a), to = r.point(b);
    const double wx = to.x - from.x, wy = to.y - from.y;
    const double qx = from.x + (u * wx - v * wy) - c.x, qy = from.y + (u * wy + v * wx) - c.y;
    const double d = std::sqrt(qx * qx + qy * qy);
    nearest = std::min(nearest, d);
    farthest = std::max(farthest, d);
  }
  // Rounding stays far below a twentieth of a unit, a degenerate point far above.
  return farthest - nearest <= 0.05 + 1e-6 * farthest;
}

constexpr std::u32string_view kFirstPairFromV = U":36f=b:36g=c:66-m3gf:62°m13fg";
constexpr std::u32string_view kFirstPairFromW = U":36f=d:36g=e:66-m3gf:62°m13fg";
constexpr std::u32string_view kSecondPairFromV = U":36h=b:36i=c:66-n3hi:62°n13hi";
constexpr std::u32string_view kSecondPairFromW = U":36h=d:36i=e:66-n3hi:62°n13hi";

int subtopic(const Form1& f) { return static_cast<int>(f.st.mn2); }

// Whether the last dyad (command 42) closed.
bool closed(Form1& f) { return f.scratch().kks == 0; }

// Flags are stored as doubles in the state record; anything but 1 is "not chosen".
bool chosen(double flag) { return flag == 1; }

// ---------------------------------------------------------------------------
// Task: the column of the task values and the four positions of the plane.
void task(Form1& f) {
  Registers& r = f.reg();
  {
    const OnLayer note(f.canvas, Layer::Note);
    for (int k = code(U'n'); k <= code(U'z'); ++k) {
      f.setPosition(950, 18.0 * (k - 42));
      f.printNumber(std::floor(r.val[k]), true);
    }
  }
  for (char32_t c : {U'i', U'j', U'k', U'l'}) r.lenOf(c) = r.valOf(U'n');
  f.run(U":25A(o,p):25B(q,r):25C(s,t):25D(u,v)");
  f.run(U":29i=(w):29j=(x):29k=(y):29l=(z):22E=A+i:22F=B+j:22G=C+k:22H=D+l");
  // Beside the handed-over mechanism the positions are named A1 … B4 (the
  // next script's empty command draws the last circles again, with no new name).
  f.drawing.settings.positionsBeside = f.st.mn1 != 10;
  f.run(U":66-g3AE:66-g3BF:66-g3CG:66-g3DH:69oa14ABCD:69oa12EFGH");
  f.drawing.settings.positionsBeside = false;
}

// Poles of consecutive positions, the opposite poles and the circle about R.
void poles(Form1& f) {
  const int mn2 = subtopic(f);
  for (const PoleConstruction& pole : kPoles) {
    f.run(pole.construct);
    if (mn2 == kPoleQuadrilateral) {
      f.run(pole.bisectors);
      f.run(pole.arcs);
    }
  }
  f.run(U":49CI=IA:23J=R+IC:49GK=KE:23L=R+KG:41o=IJxKL");
  f.run(U":49DI=IB:23J=R+ID:49HK=KF:23L=R+KH:41p=IJxKL");
  f.run(U":41Q=MNxOP");
  f.run(U":49NI=IO:23J=R+IN:49OK=KQ:23L=R+KO:41R=IJxKL:28v=NR");
  if (mn2 == kPoleQuadrilateral || mn2 == kConstruction) {
    f.run(U":66-m1NOPMNQO:69om14MNOPQR:61(m11NRNN");
  }
}

// The centre-point curve (S once around the circle about R, two branches as
// dots), then the construction point at the drive angle.
void centrePoints(Form1& f, bool computing) {
  Registers& r = f.reg();
  const int mn2 = subtopic(f);
  f.run(U":49MI=IN:23J=R+IM:49PK=KO:23L=R+KP");
  runCurveLoop(f, computing, [&f, &r](int t) {
    r.angOf(U'v') = t * kDeg;
    f.run(U":22S=R+v:41T=SNxIJ:41U=SOxKL:28x=TN:28y=PU:42SV=x+TU+y:65.a11V");
    const bool closedV = closed(f);
    r.lenOf(U'z') = -r.lenOf(U'y');
    f.run(U":42SW=x+TU+z:65.b11W");
    return closedV && closed(f);
  });

  // The drive moves the construction point by 4° per step, only when the
  // command asks for one (Space, Backspace, …), and once in a command.
  if (f.cmd.takeStep()) f.st.wxx += 4 * kDeg * f.st.qgw;
  r.angOf(U'v') = r.valOf(U'c') * kDeg - f.st.wxx + 0.6;
  f.run(U":22S=R+v:41T=SNxIJ:41U=SOxKL:28x=TN:28y=PU:42SV=x+TU+y");
  if (mn2 == kConstruction) {
    f.run(U":61(l28NQO:61(l28NSO:61)m14MIT:61)m15MIT:61)m14PKU:61)m15PKU:");
    f.run(U":66-c1ITSUK:69oc14TUS:61(c11MTMM:61(c11PUPP");
  }
  r.lenOf(U'z') = -r.lenOf(U'y');
  f.run(U":42SW=x+TU+z:69.b15VW");
}

// Side of the point q seen from p toward r, as the dyad command 42 encodes it
// in the sign of its second radius: +1 left of p→r in drawing coordinates
// (also on the line), −1 right of it.
double dyadSign(Point p, Point r, Point q) {
  const double cross = (r.x - p.x) * (q.y - p.y) - (r.y - p.y) * (q.x - p.x);
  return cross < 0 ? -1 : 1;
}

// Records the four-bar of the chosen pairs as the parameter strings of type 9:
// frame pivot f, crank f–g, coupler g–i, rocker h–i, and the first two points
// of the plane A and E as coupler points. The lengths c, f and h carry the
// signs that put the rocker joint and the two plane points on the side where
// they were found, so that the recorded mechanism assembles in the found
// configuration and not in its mirror image; h is divided by its sign factor
// qhh, which the hand-over keeps and the next load applies. The task values m …
// z are written without the position offsets sm … sz, which also outlive the
// hand-over: loading type 9 adds them once, as loading type 1 did here.
void recordFourBar(Form1& f) {
  f.st.mn0 = 1;
  f.st.qgw = 0;
  loadParameters(f);
  f.run(U":36X=f:28a=gf:28b=gi:28c=ih:28d=hf:28e=gA:28f=iA:28g=gE:28h=iE");
  Registers& r = f.reg();
  const Point g = r.point(U'g'), h = r.point(U'h'), i = r.point(U'i');
  r.lenOf(U'c') *= dyadSign(g, h, i);
  r.lenOf(U'f') *= dyadSign(g, i, r.point(U'A'));
  r.lenOf(U'h') *= dyadSign(g, i, r.point(U'E'));
  if (f.st.qhh == -1) r.lenOf(U'h') = -r.lenOf(U'h');
  r.valOf(U'a') = f.st.bxx;
  r.valOf(U'b') = f.st.byx;
  r.valOf(U'i') = 4;
  r.valOf(U'd') = r.angOf(U'd') / kDeg;
  r.valOf(U'c') = r.angOf(U'a') / kDeg;
  const StateRecord& st = f.st;
  const double positionOffset[] = {st.sm, st.sn, st.so, st.sp, st.sq, st.sr, st.ss,
                                   st.st, st.su, st.sv, st.sw, st.sx, st.sy, st.sz};
  // The registers keep the task as loaded: the second run of the picture
  // places the task from them.
  for (char32_t c = U'm'; c <= U'z'; ++c) r.valOf(c) -= positionOffset[c - U'm'];
  recordParameters(f);
  for (char32_t c = U'm'; c <= U'z'; ++c) r.valOf(c) += positionOffset[c - U'm'];
}

// The report on what the four-bar can do: its loop case with the title, the
// crank angles of the four positions, the assembly branch and the order in
// which the crank reaches them. It is put where it covers least of the
// picture drawn so far, clear of the emblem, the value column and the lines
// at the bottom.
void fourBarReport(Form1& f, const SynthesisFourBar& m) {
  f.cmd.synthesisFourBar = m;
  std::vector<std::u32string> lines;
  lines.push_back(U"Prüfung des Gelenkvierecks:");
  const int loopCase = classifyLoop(f).loopCase;
  lines.push_back(numberItem(loopCase) + std::u32string(caseTitle(loopCase)));
  for (std::u32string& line : synthesisReportLines(checkSynthesisFourBar(m))) lines.push_back(line);

  constexpr double kLineHeight = 15;
  f.canvas.setFont("Arial", 10);
  double width = 0;
  for (const std::u32string& line : lines) width = std::max(width, f.canvas.textWidth(line));
  const double height = kLineHeight * static_cast<double>(lines.size());
  std::vector<Point> candidates;
  // Not over the explanatory page in the band at the top, while it is shown.
  const bool page = f.st.qtx == 1 && !f.st.ff.empty();
  for (double y : {60.0, 130.0, 200.0, 220.0, 270.0, 400.0, 470.0, 540.0})
    for (double x : {20.0, 320.0, 620.0}) {
      const bool emblem = x + width > 820 && y < 130;
      const bool column = x + width > 930 && y + height > 340 && y < 600;
      const bool band = page && y < kPageBandBottom;
      if (!emblem && !column && !band && x + width < 1015 && y + height < 640) candidates.push_back({x, y});
    }
  if (candidates.empty()) candidates.push_back({20, 60});
  Point at = candidates.front();
  if (const auto* recording = dynamic_cast<const RecordingCanvas*>(&f.canvas))
    at = leastCoveredPlace(recording->list(), f.canvas.backgroundColour(), width, height, candidates);

  f.canvas.setTextColour(fixedColour(0));
  const OnLayer note(f.canvas, Layer::Note);
  for (std::size_t k = 0; k < lines.size(); ++k) {
    f.setPosition(at.x, at.y + kLineHeight * static_cast<double>(k));
    f.print(lines[k]);
  }
}

// Brings the stored pairs back into f, g and h, i and draws them.
void storedPairs(Form1& f) {
  Registers& r = f.reg();
  if (chosen(f.st.bz1)) {
    r.setPoint(U'f', {f.st.bxx, f.st.byx});
    r.setPoint(U'g', {f.st.bxa, f.st.bya});
    f.run(U":66-m3gf:62°m13gf");
  }
  if (chosen(f.st.bz2)) {
    r.setPoint(U'h', {f.st.bxy, f.st.byy});
    r.setPoint(U'i', {f.st.bxb, f.st.byb});
    f.run(U":66-n3hi:62°n13hi");
  }
  if (chosen(f.st.bz1) && chosen(f.st.bz2)) recordFourBar(f);
}

// Circle points of the construction point, the stored pairs and the
// circle-point curve.
void circlePoints(Form1& f, bool computing) {
  Registers& r = f.reg();
  const int mn2 = subtopic(f);
  f.run(kCirclePointOfV);
  f.run(kCirclePointOfW);
  f.run(U":36b=V:36c=Ä:36d=W:36e=Ö");
  if (mn2 == kCirclePointCurve) {
    f.run(U":66-m1MNoM:69om14MNo:66-j1MVoZNVMZ:66-j1MÄo");
    f.run(U":69oc15ZÄÖ");
    f.st.bz1 = 0;
    f.st.bz2 = 0;
  }
  if (mn2 == kDyads) f.run(U":66-b1ÄV:66-m1ÖW:65.b15ÄV:65.m15ÖW");
  storedPairs(f);

  f.run(U":49Mä=äN:23ü=R+äM:49PK=KO:23L=R+KP:28v=NR");
  runCurveLoop(f, computing, [&f, &r](int t) {
    r.angOf(U'v') = t * kDeg;
    f.run(U":22S=R+v:41T=SNxäü:41U=SOxKL:28x=TN:28y=PU:42SV=x+TU+y");
    const bool closedV = closed(f);
    r.lenOf(U'z') = -r.lenOf(U'y');
    f.run(U":42SW=x+TU+z");
    const bool closedW = closed(f);
    f.run(kCirclePointOfV);
    f.run(kCirclePointOfW);
    if (isCirclePoint(r, U'V', U'Ä')) f.run(U":65.c11Ä");
    if (isCirclePoint(r, U'W', U'Ö')) f.run(U":65.d11Ö");
    return closedV && closedW;
  });
}

// Everything a subtopic shows up to its own level. A computing run records
// nothing on the canvas and shortens its curve loops (see curve_loop.h).
void synthesisPicture(Form1& f, bool computing = false) {
  const int mn2 = subtopic(f);
  if (computing) f.canvas.setRecording(false);
  task(f);
  if (mn2 >= kPoleQuadrilateral) poles(f);
  if (mn2 >= kConstruction) centrePoints(f, computing);
  if (mn2 >= kCirclePointCurve) circlePoints(f, computing);
  if (computing) f.canvas.setRecording(true);
}

void storeFirstPair(Form1& f) {
  const Registers& r = f.reg();
  f.st.bz1 = 1;
  f.st.bxx = r.point(U'f').x;
  f.st.byx = r.point(U'f').y;
  f.st.bxa = r.point(U'g').x;
  f.st.bya = r.point(U'g').y;
}

void storeSecondPair(Form1& f) {
  const Registers& r = f.reg();
  f.st.bz2 = 1;
  f.st.bxy = r.point(U'h').x;
  f.st.byy = r.point(U'h').y;
  f.st.bxb = r.point(U'i').x;
  f.st.byb = r.point(U'i').y;
}

// The four-bar of the two chosen pairs; without a choice the two pairs of the
// construction point are taken. The first run of the picture only computes
// those pairs: drawing it too would draw every figure twice, which darkens
// antialiased edges and doubles the time of the heaviest picture.
void fourBar(Form1& f) {
  synthesisPicture(f, true);
  if (!chosen(f.st.bz1) || !chosen(f.st.bz2)) {
    f.run(kFirstPairFromV);
    storeFirstPair(f);
    f.run(kSecondPairFromW);
    storeSecondPair(f);
  }
  synthesisPicture(f);  // records the four-bar
  f.run(U":66-d3fh:66-m3fg:66-n3hi:66-g3AEAigA:62°h13hiAfg");
  const Registers& r = f.reg();
  fourBarReport(f, {r.point(U'f'), r.point(U'h'), r.point(U'g'), r.point(U'i'),
                    {r.point(U'A'), r.point(U'B'), r.point(U'C'), r.point(U'D')},
                    {r.point(U'E'), r.point(U'F'), r.point(U'G'), r.point(U'H')}});
}

// Hands the recorded four-bar to the analysis topics: type 9, group 1, topic 1,
// lengths reset, then a nested command draws the first analysis topic. The
// recorded strings hold the four-bar in position 1 with the signs of the
// branch and sides it was found on, so it is shown there as it stands: neither
// the drive is mirrored nor the branch flipped. The first picture carries the
// report on the recorded four-bar; the nested command keeps its registers to
// itself, so the four-bar is loaded and assembled here as well, drawing
// nothing: fixed pivots X, Y, joints A, B in position 1 and the task.
void analyse(Form1& f) {
  f.st.mn0 = 9;
  f.st.mn1 = 1;
  f.st.mn2 = 1;
  f.st.mn5 = 0;  // the analysis opens on its first page
  f.st.qtx = 0;
  resetLengths(f);
  std::optional<SynthesisFourBar> recorded;
  if (!f.st.gg.empty()) {
    loadParameters(f);
    const double qzw = f.st.qzw;  // a loop that cannot close would reverse the drive
    f.canvas.setRecording(false);
    task(f);
    const bool assembled = driveStep(f);
    f.canvas.setRecording(true);
    f.st.qzw = qzw;
    Registers& r = f.reg();
    auto valPoint = [&r](char32_t x, char32_t y) { return Point{r.valOf(x), r.valOf(y)}; };
    if (assembled) {
      recorded = SynthesisFourBar{
          r.point(U'X'), r.point(U'Y'), r.point(U'A'), r.point(U'B'),
          {valPoint(U'o', U'p'), valPoint(U'q', U'r'), valPoint(U's', U't'), valPoint(U'u', U'v')},
          {r.point(U'E'), r.point(U'F'), r.point(U'G'), r.point(U'H')}};
    }
  }
  f.Form_KeyDown(kKeyRebuild, 0);
  if (recorded) fourBarReport(f, *recorded);
}

}  // namespace

void synthesisTaskDisplay(Form1& f) { task(f); }

void group10(Form1& f) {
  f.cmd.groupNames[10] = kGroupName;
  for (std::size_t k = 1; k < kSubtopicNames.size(); ++k) f.cmd.topicNames[k] = kSubtopicNames[k];

  switch (subtopic(f)) {
    case kTask:
    case kPoleQuadrilateral:
    case kConstruction:
    case kCentrePointCurve:
    case kCirclePointCurve:
    case kDyads:
      synthesisPicture(f);
      break;
    case kFourBar:
      fourBar(f);
      break;
    case kAnalyse:
      analyse(f);
      break;
    default:  // a subtopic without a construction shows nothing of its own
      break;
  }
}

void synthesisLetterKey(Form1& f, char32_t key) {
  switch (key) {
    case U'T':
      f.run(kFirstPairFromV);
      storeFirstPair(f);
      break;
    case U'U':
      f.run(kFirstPairFromW);
      storeFirstPair(f);
      break;
    case U'V':
      f.run(kSecondPairFromV);
      storeSecondPair(f);
      break;
    case U'W':
      f.run(kSecondPairFromW);
      storeSecondPair(f);
      break;
    default:
      break;
  }
}

}  // namespace pm
