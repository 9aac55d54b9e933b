// The mouse placement keys: each moves a joint, a pivot or a reference point of
// the picture to the cursor. A key computes the lengths or values that put the
// point there, writes them into the registers (so the picture of this command
// shows the change at once) and rewrites the user offsets so that the next
// load of the parameters reproduces the new geometry.
#include <array>
#include <cmath>
#include <functional>
#include <string_view>
#include <vector>

#include "script/vector.h"
#include "shell/form1.h"
#include "topics/parameter_strings.h"
#include "topics/placement_detail.h"
#include "topics/topics.h"

namespace pm {

namespace {

// The letter of a register as the state's offset tables take it; 0 for none.
char letterOf(char32_t c) { return c >= U'a' && c <= U'z' ? static_cast<char>(c) : 0; }

// Remembers registers before a key changes them and afterwards moves their
// offsets by the change, so that the next load gives the new values.
class OffsetRewrite {
 public:
  OffsetRewrite(Form1& f, std::u32string_view lengths, std::u32string_view values)
      : f_(f), lengths_(lengths), values_(values) {
    for (char32_t c : lengths_) oldLengths_.push_back(f.reg().lenOf(c));
    for (char32_t c : values_) oldValues_.push_back(f.reg().valOf(c));
  }

  // A length is loaded as sign × (preset + offset) × qzz, so the offset moves
  // by the change divided by sign × qzz. With the factor 1 this is the rule
  // offset := new / qzz − (old / qzz − old offset); dividing by the sign as
  // well keeps a flipped assembly (qcc = −1 and the like) at the cursor too.
  void apply() {
    for (std::size_t i = 0; i < lengths_.size(); ++i) {
      const char32_t c = lengths_[i];
      const double scale = f_.st.qzz * lengthFactor(f_.st, letterOf(c));
      double* const offset = lengthOffset(f_.st, letterOf(c));
      const double moved = (f_.reg().lenOf(c) - oldLengths_[i]) / scale;
      if (offset && scale != 0 && std::isfinite(moved)) *offset += moved;
    }
    for (std::size_t i = 0; i < values_.size(); ++i) {
      const char32_t c = values_[i];
      double* const offset = numberOffset(f_.st, letterOf(c));
      const double moved = f_.reg().valOf(c) - oldValues_[i];
      if (offset && std::isfinite(moved)) *offset += moved;
    }
  }

 private:
  Form1& f_;
  std::u32string_view lengths_;
  std::u32string_view values_;
  std::vector<double> oldLengths_;
  std::vector<double> oldValues_;
};

// The mechanism in its current position (a letter key asks for no step).
void assemble(Form1& f) { driveStep(f); }

// Takes the other intersection when the first one missed the cursor.
void otherBranchIfMissed(Form1& f, char32_t length) {
  if (f.reg().lenOf(U's') > 2) f.reg().lenOf(length) = -f.reg().lenOf(length);
}

constexpr std::u32string_view kSixBarPoints = U":42SD=g+XA+h:42SE=i+BY+j:42SZ=k+XY+l";
constexpr std::u32string_view kSixBarOuterPoints = U":42SF=m+IH+n:42SG=o+FH+p:";

// Points I and H of the six-bar chain shown by topic mn2 of group 8.
void sixBarPrefix(Form1& f) {
  static constexpr std::array<std::u32string_view, 9> kPrefix = {U"",
                                                                 U":36I=Z:36H=E",
                                                                 U":36I=C:36H=D",
                                                                 U":36I=D:36H=C",
                                                                 U":36I=C:36H=E",
                                                                 U":36I=E:36H=C",
                                                                 U":36I=D:36H=E",
                                                                 U":36I=E:36H=D",
                                                                 U":36I=Z:36H=C"};
  const double topic = f.st.mn2;
  if (topic >= 1 && topic <= 8 && topic == std::trunc(topic))
    f.run(kPrefix[static_cast<std::size_t>(topic)]);
}

// Keys B … G: a joint of a dyad to the cursor; `second` is the length whose
// sign picks the intersection.
void moveDyadJoint(Form1& f, std::u32string_view script, char32_t first, char32_t second,
                   bool sixBar, bool outer) {
  const std::u32string lengths{first, second};
  OffsetRewrite offsets(f, lengths, U"");
  assemble(f);
  if (sixBar) f.run(kSixBarPoints);
  if (outer) sixBarPrefix(f);
  cursorPoint(f);
  f.run(script);
  otherBranchIfMissed(f, second);
  offsets.apply();
  assemble(f);
  if (sixBar) f.run(kSixBarPoints);
  if (outer) {
    sixBarPrefix(f);
    f.run(kSixBarOuterPoints);
  }
}

// Keys A and H: the crank to the cursor direction; A also takes its length.
void moveCrank(Form1& f, bool keepLength) {
  Registers& r = f.reg();
  const double oldLength = r.lenOf(U'a');
  OffsetRewrite offsets(f, U"a", U"");
  assemble(f);
  cursorPoint(f);
  f.run(U":28a=KX");
  f.st.wxx = r.valOf(U'c') * kDeg - r.angOf(U'a');
  if (keepLength) {
    // Only the direction follows the cursor: the crank keeps the length it was
    // loaded with, and its offset stays. The assembly script starts with an
    // empty command, which repeats the previous command of this key event; a
    // command that changes nothing goes first, so that ":28a=KX" is not
    // repeated over the kept length.
    r.lenOf(U'a') = oldLength;
    f.run(U"32");
  } else {
    offsets.apply();
  }
  assemble(f);
}

// Keys I, J, K, L, P, Q: a point given by two values to the cursor.
void movePointValues(Form1& f, char32_t vx, char32_t vy) {
  const std::u32string values{vx, vy};
  OffsetRewrite offsets(f, U"", values);
  const Point k = cursorPoint(f);
  f.reg().valOf(vx) = k.x;
  f.reg().valOf(vy) = k.y;
  offsets.apply();
}

// Keys M, N, O, R: a direction (degrees, screen sense) from a reference point to the cursor.
void moveDirection(Form1& f, char32_t target, char32_t refX, char32_t refY) {
  const std::u32string values{target};
  OffsetRewrite offsets(f, U"", values);
  const Point k = cursorPoint(f);
  Scratch& s = f.scratch();
  s.X = k.x - f.reg().valOf(refX);
  s.Y = k.y - f.reg().valOf(refY);
  polarScreen(s);
  f.reg().valOf(target) = s.curAng * 180 / kPi;
  offsets.apply();
}

// Key S: the distance of the two points of the synthesis plane.
void moveDistance(Form1& f) {
  OffsetRewrite offsets(f, U"", U"n");
  const Point k = cursorPoint(f);
  f.reg().valOf(U'n') = std::hypot(k.x - f.reg().valOf(U'o'), k.y - f.reg().valOf(U'p'));
  offsets.apply();
}

// Key Y: the fixed pivot Y to the cursor (frame length and frame direction).
void moveFramePivot(Form1& f) {
  Registers& r = f.reg();
  OffsetRewrite offsets(f, U"d", U"d");
  // The pivots are placed before the cursor is measured from X.
  assemble(f);
  cursorPoint(f);
  f.run(U":28s=KX");
  r.valOf(U'd') = r.angOf(U's') * 180 / kPi;
  r.lenOf(U'd') = r.lenOf(U's');
  offsets.apply();
  assemble(f);
}

// Key Z: the third fixed point of the six-bar chains to the cursor.
void moveSixBarPivot(Form1& f) {
  OffsetRewrite offsets(f, U"kl", U"");
  // X and Y must stand where the picture shows them before the dyad is solved.
  assemble(f);
  cursorPoint(f);
  f.run(U":28k=XK:28l=YK:42SZ=k+XY+l:28s=ZK");
  otherBranchIfMissed(f, U'l');
  assemble(f);
  f.run(kSixBarPoints);
  offsets.apply();
}

}  // namespace

std::int64_t gridSpacing(double rtt) {
  if (!std::isfinite(rtt)) return 0;
  const double whole = std::nearbyint(std::fmin(rtt, 1e9));
  return whole >= 1 ? static_cast<std::int64_t>(whole) : 0;
}

Point cursorPoint(Form1& f) {
  auto finite = [](double v) { return std::isfinite(v) ? std::fmax(-1e9, std::fmin(v, 1e9)) : 0; };
  double x = finite(f.host.cursorX());
  double y = finite(f.host.cursorY());
  const std::int64_t spacing = gridSpacing(f.st.rtt);
  // Without a usable spacing there is no grid to snap to.
  if (f.st.qsr == 1 && spacing > 0) {
    auto snap = [&](double v) {
      const auto n =
          static_cast<std::int64_t>(std::nearbyint(v + static_cast<double>(spacing) / 2));
      return static_cast<double>(n / spacing * spacing);
    };
    x = snap(x);
    y = snap(y);
  }
  f.reg().setPoint(U'K', {x, y});
  return {x, y};
}

void mousePlacement(Form1& f, char32_t key) {
  const bool known = (key >= U'A' && key <= U'S') || key == U'X' || key == U'Y' || key == U'Z';
  if (!known) return;
  // The joint moves, the crank does not: the step request is cleared and the
  // sense of the last step stays for the velocity arrows.
  f.cmd.stepAsked = false;
  switch (key) {
    case U'A':
      moveCrank(f, false);
      break;
    case U'H':
      moveCrank(f, true);
      break;
    case U'B':
      moveDyadJoint(f, U":28b=AK:28c=YK:42SB=b+AY+c:28s=BK", U'b', U'c', false, false);
      break;
    case U'C':
      moveDyadJoint(f, U":28e=AK:28f=BK:42SC=e+AB+f:28s=CK", U'e', U'f', false, false);
      break;
    case U'D':
      moveDyadJoint(f, U":28g=XK:28h=AK:42SD=g+XA+h:28s=DK", U'g', U'h', false, false);
      break;
    case U'E':
      moveDyadJoint(f, U":28i=BK:28j=YK:42SE=i+BY+j:28s=EK", U'i', U'j', true, false);
      break;
    case U'F':
      moveDyadJoint(f, U":28m=IK:28n=HK:42SF=m+IH+n:28s=FK", U'm', U'n', true, true);
      break;
    case U'G':
      moveDyadJoint(f, U":42SF=m+IH+n:28o=FK:28p=HK:42SG=o+FH+p:28s=GK", U'o', U'p', true, true);
      break;
    case U'I':
      movePointValues(f, U'o', U'p');
      break;
    case U'J':
      movePointValues(f, U'q', U'r');
      break;
    case U'K':
      movePointValues(f, U's', U't');
      break;
    case U'L':
      movePointValues(f, U'u', U'v');
      break;
    case U'P':
      movePointValues(f, U'e', U'f');
      break;
    case U'Q':
      movePointValues(f, U'g', U'h');
      break;
    case U'M':
      moveDirection(f, U'w', U'o', U'p');
      break;
    case U'N':
      moveDirection(f, U'x', U'q', U'r');
      break;
    case U'O':
      moveDirection(f, U'y', U's', U't');
      break;
    case U'R':
      moveDirection(f, U'z', U'u', U'v');
      break;
    case U'S':
      moveDistance(f);
      break;
    case U'X':
      movePointValues(f, U'a', U'b');
      break;
    case U'Y':
      moveFramePivot(f);
      break;
    case U'Z':
      moveSixBarPivot(f);
      break;
    default:
      break;
  }
}

}  // namespace pm
