// The mouse placement keys: the joint lands under the cursor in this picture
// and stays there in the next one, which is loaded from the rewritten offsets.
#include <gtest/gtest.h>

#include <cmath>

#include "script/vector.h"
#include "support/test_form.h"
#include "topics/motion_support.h"
#include "topics/placement_detail.h"
#include "topics/topics.h"

namespace pm::testing {
namespace {

struct Placement : TestForm {
  explicit Placement(double type = 1) {
    form.st.mn0 = type;
    form.st.mn2 = 1;
    key(kKeyRebuild);
  }
  Point point(char32_t c) { return form.reg().point(c); }
  // Presses a letter with the cursor at (x, y).
  void place(char letter, Point at) {
    host.cx = at.x;
    host.cy = at.y;
    keyChar(letter);
  }
};

TEST(CursorPoint, SnapsToTheGrid) {
  Placement p;
  p.form.st.qsr = 1;
  p.form.st.rtt = 20;
  p.host.cx = 109;
  p.host.cy = 231;
  EXPECT_EQ(cursorPoint(p.form), (Point{100, 240}));
  EXPECT_EQ(p.point(U'K'), (Point{100, 240}));
  p.form.st.qsr = 0;
  EXPECT_EQ(cursorPoint(p.form), (Point{109, 231}));
}

TEST(CursorPoint, NoUsableSpacingSnapsNothing) {
  Placement p;
  p.form.st.qsr = 1;
  p.host.cx = 109.25;
  p.host.cy = 231;
  for (double spacing : {0.0, -5.0, 0.3, std::nan("")}) {
    p.form.st.rtt = spacing;
    EXPECT_EQ(cursorPoint(p.form), (Point{109.25, 231})) << spacing;
  }
  p.host.cx = std::nan("");
  p.host.cy = INFINITY;
  p.form.st.rtt = 20;
  const Point k = cursorPoint(p.form);
  EXPECT_TRUE(std::isfinite(k.x) && std::isfinite(k.y));
}

TEST(PlacementKeys, GridOnWithSpacingZeroKeepsWorking) {
  Placement p;
  p.key(kKeyF1 + 6, kShift);  // grid on
  for (int i = 0; i < 20; ++i) p.key(kKeyLeft, kCtrl);
  EXPECT_EQ(p.form.st.rtt, 0);
  p.place('B', {420, 380});
  EXPECT_LT(distance(p.point(U'B'), {420, 380}), 1e-6);
}

TEST(PlacementKeys, BTakesTheOtherIntersectionToReachTheCursor) {
  Placement p;
  // The mirror image of B in the line A-Y is the other intersection of the
  // same two circles: the first solution misses it.
  const Point a = p.point(U'A'), b = p.point(U'B'), y = p.point(U'Y');
  const double dx = y.x - a.x, dy = y.y - a.y;
  const double t = ((b.x - a.x) * dx + (b.y - a.y) * dy) / (dx * dx + dy * dy);
  const Point foot{a.x + t * dx, a.y + t * dy};
  const Point mirror{2 * foot.x - b.x, 2 * foot.y - b.y};
  const double rockerBefore = p.form.reg().lenOf(U'c');
  p.place('B', mirror);
  EXPECT_LT(distance(p.point(U'B'), mirror), 1e-6);
  EXPECT_NEAR(p.form.reg().lenOf(U'c'), -rockerBefore, 1e-6);
  p.key(kKeyRebuild);
  EXPECT_LT(distance(p.point(U'B'), mirror), 1e-6);
}

TEST(PlacementKeys, JointsStayUnderTheCursorWithFlippedAssemblyAndZoom) {
  Placement p;
  p.key(kKeyF1 + 1, kShift);  // Shift+F2: qcc = -1, loaded with the next command
  p.key(kKeyUp, kCtrl);       // and a zoom
  p.key(kKeyRebuild);
  const Point target{470, 400};
  p.place('B', target);
  EXPECT_LT(distance(p.point(U'B'), target), 1e-6);
  p.key(kKeyRebuild);
  EXPECT_LT(distance(p.point(U'B'), target), 1e-6);
  const Point coupler{520, 330};
  p.place('C', coupler);
  p.key(kKeyRebuild);
  EXPECT_LT(distance(p.point(U'C'), coupler), 1e-6);
}

TEST(PlacementKeys, CrankFollowsTheCursor) {
  Placement p;
  const Point x = p.point(U'X');
  const Point target{x.x + 60, x.y - 70};
  p.place('A', target);
  EXPECT_LT(distance(p.point(U'A'), target), 1e-6);
  p.key(kKeyRebuild);
  EXPECT_LT(distance(p.point(U'A'), target), 1e-6);
  EXPECT_EQ(p.form.st.qgw, 0);

  // H turns the crank towards the cursor but keeps its length.
  const double length = p.form.reg().lenOf(U'a');
  p.place('H', {x.x - 200, x.y});
  EXPECT_NEAR(p.form.reg().lenOf(U'a'), length, 1e-9);
  EXPECT_NEAR(p.point(U'A').y, x.y, 1e-6);
  EXPECT_LT(p.point(U'A').x, x.x);
}

TEST(PlacementKeys, FixedPivotsMoveToTheCursor) {
  Placement p;
  p.place('X', {250, 500});
  EXPECT_EQ(p.point(U'X'), (Point{250, 500}));
  EXPECT_EQ(p.form.st.sa, -50);
  EXPECT_EQ(p.form.st.sb, -60);
  const Point target{500, 530};
  p.place('Y', target);
  EXPECT_LT(distance(p.point(U'Y'), target), 1e-6);
  p.key(kKeyRebuild);
  EXPECT_LT(distance(p.point(U'Y'), target), 1e-6);
}

TEST(PlacementKeys, SixBarJointsFollowTheCursor) {
  Placement p(5);
  p.form.st.mn1 = 8;
  p.form.st.mn2 = 1;
  p.key(kKeyRebuild);
  const Point e = p.point(U'E');
  const Point target{e.x + 10, e.y - 15};
  p.place('E', target);
  EXPECT_LT(distance(p.point(U'E'), target), 1e-6);
  p.key(kKeyRebuild);
  EXPECT_LT(distance(p.point(U'E'), target), 1e-6);
  const Point z = p.point(U'Z');
  const Point pivot{z.x + 20, z.y + 10};
  p.place('Z', pivot);
  EXPECT_LT(distance(p.point(U'Z'), pivot), 1e-6);
}

TEST(PlacementKeys, ValueLettersSetPointsDirectionsAndDistance) {
  Placement p;
  p.form.st.mn1 = 10;
  p.key(kKeyRebuild);
  p.place('I', {310, 590});
  EXPECT_EQ(p.form.reg().valOf(U'o'), 310);
  EXPECT_EQ(p.form.st.so, 10);
  EXPECT_EQ(p.form.st.sp, -10);
  // Straight up from (310, 590) is 90° in the screen sense.
  p.place('M', {310, 400});
  EXPECT_NEAR(p.form.reg().valOf(U'w'), 90, 1e-9);
  EXPECT_NEAR(p.form.st.sw, 240, 1e-9);
  p.place('S', {340, 550});
  EXPECT_NEAR(p.form.reg().valOf(U'n'), 50, 1e-9);
  EXPECT_NEAR(p.form.st.sn, -50, 1e-9);
  p.key(kKeyRebuild);
  EXPECT_NEAR(p.form.reg().valOf(U'n'), 50, 1e-9);
  EXPECT_NEAR(p.form.reg().valOf(U'w'), 90, 1e-9);
}

TEST(PlacementKeys, OtherKeysChangeNothing) {
  Placement p;
  const double qa = p.form.st.qa, sa = p.form.st.sa;
  p.form.st.qgw = 1;
  mousePlacement(p.form, U'T');
  mousePlacement(p.form, U'a');
  mousePlacement(p.form, 0x10FFFF);
  EXPECT_EQ(p.form.st.qgw, 1);
  EXPECT_EQ(p.form.st.qa, qa);
  EXPECT_EQ(p.form.st.sa, sa);
}

}  // namespace
}  // namespace pm::testing
