// The view: figures scale and move with it, symbols keep their size about
// their anchors, fixed texts stay; the projector mode and exports leave out
// the status layer; framing finds the construction and the room free of
// texts and of the page picture.
#include <gtest/gtest.h>

#include <cmath>

#include "draw/recording_canvas.h"
#include "draw/view.h"

namespace pm {
namespace {

Primitive line(double x1, double y1, double x2, double y2, Layer layer = Layer::Drawing) {
  Primitive p;
  p.kind = Primitive::Kind::Line;
  p.x1 = x1;
  p.y1 = y1;
  p.x2 = x2;
  p.y2 = y2;
  p.width = 3;
  p.layer = layer;
  return p;
}

TEST(View, FiguresScaleSymbolsKeepTheirSizeFixedLayersStay) {
  Primitive circle;  // a figure of the construction
  circle.kind = Primitive::Kind::Circle;
  circle.x1 = 100;
  circle.y1 = 200;
  circle.r = 50;
  Primitive joint = circle;  // a joint circle at (100, 200)
  joint.r = 8;
  joint.anchor = Anchor::Whole;
  joint.ax = 100;
  joint.ay = 200;
  Primitive label;
  label.kind = Primitive::Kind::Text;
  label.x1 = 108;
  label.y1 = 208;
  label.size = 14;
  label.text = U"A";
  label.anchor = Anchor::Whole;
  label.ax = 100;
  label.ay = 200;
  Primitive shaft = line(0, 0, 91, 0);  // an arrow to (100, 0), its head 9 long
  shaft.anchor = Anchor::End;
  shaft.ax = 100;
  const Primitive title = line(20, 700, 200, 700, Layer::Status);
  const DisplayList list = {circle, joint, label, shaft, title};

  ViewOptions o;
  EXPECT_EQ(presented(list, o), list);
  o.view = {2, 10, -20};
  DisplayList shown = presented(list, o);
  ASSERT_EQ(shown.size(), 5u);
  EXPECT_DOUBLE_EQ(shown[0].x1, 210);
  EXPECT_DOUBLE_EQ(shown[0].y1, 380);
  EXPECT_DOUBLE_EQ(shown[0].r, 100);
  EXPECT_DOUBLE_EQ(shown[1].x1, 210);
  EXPECT_DOUBLE_EQ(shown[1].r, 8);
  EXPECT_DOUBLE_EQ(shown[2].x1, 218);
  EXPECT_DOUBLE_EQ(shown[2].size, 14);
  EXPECT_DOUBLE_EQ(shown[3].x1, 10);
  EXPECT_DOUBLE_EQ(shown[3].x2, 201);  // 9 before the tip at 210
  EXPECT_DOUBLE_EQ(shown[3].width, 3);
  EXPECT_EQ(shown[4], title);

  o.projector = true;
  shown = presented(list, o);
  ASSERT_EQ(shown.size(), 4u);  // no status line
  EXPECT_DOUBLE_EQ(shown[0].width, kProjectorStrength);
  EXPECT_DOUBLE_EQ(shown[1].r, 8 * kProjectorStrength);
  EXPECT_DOUBLE_EQ(shown[2].width, 3 * kProjectorStrength);
  // The label comes last, over the larger joints.
  EXPECT_DOUBLE_EQ(shown[3].x1, 210 + 8 * kProjectorStrength);
  EXPECT_DOUBLE_EQ(shown[3].size, 14 * kProjectorStrength);

  o = ViewOptions{};
  o.content = Content::Construction;
  EXPECT_EQ(presented({title, line(0, 50, 5, 50, Layer::Note)}, o).size(), 0u);
  // The page picture shows only as on screen; help pictures also in the projector mode.
  const struct {
    bool projector;
    Content content;
    bool help, shows;
  } background[] = {{false, Content::Whole, false, true}, {true, Content::Whole, false, false},
                    {true, Content::Whole, true, true},   {false, Content::Clean, true, false},
                    {false, Content::Construction, false, false}};
  for (const auto& b : background) {
    ViewOptions v;
    v.projector = b.projector;
    v.content = b.content;
    EXPECT_EQ(showsBackground(v, b.help), b.shows);
  }
}

TEST(View, ZoomAboutAPointKeepsItAndStopsAtTheLimits) {
  View v;
  v = zoomedAbout(v, {300, 400}, 2);
  EXPECT_DOUBLE_EQ(v.toPicture({300, 400}).x, 300);
  EXPECT_DOUBLE_EQ(v.toPicture({300, 400}).y, 400);
  v = shifted(v, 5, -7);
  EXPECT_DOUBLE_EQ(v.toDrawing(v.toPicture({12, 34})).x, 12);
  for (int i = 0; i < 40; ++i) v = zoomedAbout(v, {0, 40}, 2);
  EXPECT_EQ(v.scale, kMaxViewScale);
  EXPECT_EQ(zoomedAbout(v, {0, 40}, std::nan("")), v);
  EXPECT_EQ(checkedView(View{0, 1, 2}), View{});
}

TEST(View, FramingKeepsTheConstructionClearOfTextsAndThePagePicture) {
  // A construction 1600 wide reaching far beyond the picture, a guide at
  // 99999 that must not count, a title at the bottom, an emblem at the top right.
  DisplayList list = {line(-300, 300, 1300, 500), line(100, 450, 99999, 450)};
  Primitive title;
  title.kind = Primitive::Kind::Text;
  title.layer = Layer::Status;
  title.x1 = 20;
  title.y1 = 690;
  title.size = 11;
  title.font = "Arial";
  title.text = U" 0  Kurbelschwinge mit Antrieb der Schwinge";
  list.push_back(title);
  Primitive emblem = line(840, 55, 1000, 112, Layer::Status);
  emblem.kind = Primitive::Kind::FilledBox;
  list.push_back(emblem);

  const std::optional<Area> drawn = drawnArea(list);
  ASSERT_TRUE(drawn);
  EXPECT_EQ(*drawn, (Area{-300, 300, 1300, 500}));
  const Area page{0, 40, 816, 212};
  const std::optional<View> v = framingView(list, ViewOptions{}, page);
  ASSERT_TRUE(v);
  const Point a = v->toPicture({-300, 300}), b = v->toPicture({1300, 500});
  EXPECT_GE(a.x, 0);
  EXPECT_LE(b.x, 1022);
  EXPECT_GT(a.y, page.bottom);  // below the page picture
  EXPECT_LT(b.y, 690);          // above the title
  EXPECT_NEAR(b.x - a.x, 1022 - 36, 1);  // as wide as the picture allows, margins kept

  // In the projector mode the title and emblem go: more room, a larger view.
  ViewOptions projector;
  projector.projector = true;
  EXPECT_GE(framingView(list, projector, std::nullopt)->scale, v->scale);
  EXPECT_FALSE(framingView({title}, ViewOptions{}, std::nullopt));

  // A crop holds what is drawn inside the picture, with its margin.
  const std::optional<Area> crop = cropArea({line(100, 200, 300, 260), line(500, 300, 2000, 300)}, 10);
  ASSERT_TRUE(crop);
  EXPECT_EQ(*crop, (Area{90, 190, 1022, 310}));
  EXPECT_FALSE(cropArea({title}, 10));
}

}  // namespace
}  // namespace pm
