// The recording canvas, the colour tables and the JSON form of display lists.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "draw/colour_tables.h"
#include "draw/json.h"
#include "draw/label_tables.h"
#include "draw/recording_canvas.h"
#include "script/codes.h"

namespace pm {
namespace {

using Kind = Primitive::Kind;
constexpr double kPi = std::numbers::pi;

// --- recording canvas -------------------------------------------------------------

TEST(RecordingCanvas, TextFollowsTheCurrentPositionOnOneLineAndBreaksToTheLeftEdge) {
  RecordingCanvas c;
  c.setFont("Arial", 11);
  c.setTextColour(rgb(100, 100, 100));
  c.setTextPosition(200, 300);
  EXPECT_EQ(c.list().back().kind, Kind::Point);  // a point in the background colour
  EXPECT_EQ(c.list().back().colour, c.backgroundColour());

  c.print(U"Ab", false);
  const double w = c.textWidth(U"Ab");
  EXPECT_GT(w, 10);
  EXPECT_DOUBLE_EQ(c.textX(), 200 + w);
  EXPECT_DOUBLE_EQ(c.textY(), 300);
  c.print(U" 12 ", true);
  EXPECT_DOUBLE_EQ(c.textX(), 0);
  EXPECT_GT(c.textY(), 300 + 14.67);  // one line of an 11-point font
  EXPECT_LT(c.textY(), 300 + 18);
  c.print(U"next", false);

  std::vector<Primitive> texts;
  for (const Primitive& p : c.list())
    if (p.kind == Kind::Text) texts.push_back(p);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_DOUBLE_EQ(texts[0].x1, 200);  // top-left corner at the position
  EXPECT_DOUBLE_EQ(texts[1].x1, 200 + w);
  EXPECT_DOUBLE_EQ(texts[2].x1, 0);
  EXPECT_EQ(texts[1].font, "Arial");
  EXPECT_DOUBLE_EQ(texts[1].size, 11);
  EXPECT_EQ(texts[1].colour, rgb(100, 100, 100));
}

TEST(RecordingCanvas, BuiltinMetricsAreArialWidthsAtNinetySixDpi) {
  const FontMetrics& m = builtinArialMetrics();
  const double em = 11 * 96.0 / 72.0;  // 14.67 drawing units
  EXPECT_NEAR(m.width("Arial", 11, U"M"), 0.833 * em, 1e-9);
  EXPECT_NEAR(m.width("Arial", 11, U"il"), 0.444 * em, 1e-9);
  EXPECT_NEAR(m.width("Areal", 11, U"0123456789"), 5.56 * em, 1e-9);
  EXPECT_NEAR(m.width("Arial", 14, U"Ä"), m.width("Arial", 14, U"A"), 1e-9);
  EXPECT_GT(m.width("Arial", 10, U"W"), m.width("Arial", 10, U"w"));
  EXPECT_NEAR(m.lineHeight("Arial", 11), 1.117 * em, 0.01);
}

TEST(RecordingCanvas, LinesMoveThePositionAndArcsMarkTheirEdges) {
  RecordingCanvas c;
  c.setLineWidth(3);
  c.line(1, 2, 30, 40, rgb(255, 0, 0));
  EXPECT_DOUBLE_EQ(c.textX(), 30);
  EXPECT_DOUBLE_EQ(c.textY(), 40);
  EXPECT_DOUBLE_EQ(c.list().back().width, 3);

  c.setFillStyle(kFillSolid);
  c.setFillColour(rgb(0, 255, 0));
  c.arc(100, 110, 20, rgb(0, 0, 255), -1.0, -2.0);
  const Primitive sector = c.list().back();
  EXPECT_TRUE(sector.edgeStart && sector.edgeEnd);
  EXPECT_DOUBLE_EQ(sector.start, 1.0);
  EXPECT_DOUBLE_EQ(sector.end, 2.0);
  EXPECT_EQ(sector.fillStyle, kFillSolid);
  EXPECT_EQ(sector.fillColour, rgb(0, 255, 0));
  EXPECT_DOUBLE_EQ(c.textX(), 100);  // the centre

  c.arc(0, 0, 10, rgb(0, 0, 0), 5.5, 0.5);  // through 0, not backwards
  EXPECT_NEAR(arcSweep(c.list().back()), 2 * kPi - 5, 1e-12);
  EXPECT_NEAR(arcSweep(c.list().back()) * 180 / kPi, 73.5, 0.1);
  EXPECT_FALSE(c.list().back().edgeStart);

  c.arc(0, 0, 10, rgb(0, 0, 0), 0.5, -7.0);  // beyond a full turn: reduced
  EXPECT_NEAR(c.list().back().end, 7.0 - 2 * kPi, 1e-12);
  EXPECT_TRUE(c.list().back().edgeEnd);
}

TEST(RecordingCanvas, NonNumbersAndBadStateNeverReachTheList) {
  RecordingCanvas c;
  const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
  c.point(1, 2, rgb(0, 0, 0));
  c.point(nan, 2, rgb(0, 0, 0));
  c.line(0, 0, inf, 1, rgb(0, 0, 0));
  c.circle(0, 0, nan, rgb(0, 0, 0));
  c.arc(0, 0, 5, rgb(0, 0, 0), nan, 1);
  c.box(0, -inf, 1, 1, rgb(0, 0, 0), true);
  EXPECT_EQ(c.list().size(), 1u);
  EXPECT_DOUBLE_EQ(c.textX(), 1);  // skipped primitives leave the position

  c.setLineWidth(nan);
  c.setFillStyle(42);
  c.setFont("Arial", -3);
  c.circle(0, 0, -5, rgb(0, 0, 0));
  const Primitive& circle = c.list().back();
  EXPECT_DOUBLE_EQ(circle.width, 1);
  EXPECT_EQ(circle.fillStyle, kFillTransparent);
  EXPECT_DOUBLE_EQ(circle.r, 5);
  EXPECT_GT(c.fontSize(), 0);

  c.clear();
  EXPECT_TRUE(c.list().empty());
  EXPECT_DOUBLE_EQ(c.textX(), 0);
}

TEST(RecordingCanvas, IdenticalPrimitivesOfACommandAreKeptOnceAtTheirLastPlace) {
  RecordingCanvas c;
  const Rgb red = rgb(255, 0, 0), blue = rgb(0, 0, 255);
  c.setFillStyle(kFillSolid);
  c.setFillColour(blue);
  c.circle(10, 10, 5, red);
  c.line(0, 0, 20, 20, blue);  // covers the circle
  c.circle(10, 10, 5, red);    // drawn again to lie on top of the line
  ASSERT_EQ(c.list().size(), 2u);
  EXPECT_EQ(c.list()[0].kind, Kind::Line);
  EXPECT_EQ(c.list()[1].kind, Kind::Circle);
  EXPECT_DOUBLE_EQ(c.textX(), 10);  // the position moves as with every primitive

  // A copy that differs in any field is another figure.
  c.setFillColour(red);
  c.circle(10, 10, 5, red);
  c.setLineWidth(2);
  c.line(0, 0, 20, 20, blue);
  c.setFont("Areal", 14);
  c.setTextPosition(1, 1);
  c.print(U"B", false);
  c.setTextPosition(1, 1);
  c.print(U"B", false);
  c.setFont("Arial", 14);
  c.setTextPosition(1, 1);
  c.print(U"B", false);
  // Circle, line, circle with another fill, wider line, point, "B" in Areal,
  // "B" in Arial.
  EXPECT_EQ(c.list().size(), 7u);

  // Reading the list in between does not lose track of what is recorded.
  c.line(0, 0, 20, 20, blue);
  for (int i = 0; i < 3000; ++i) c.point(i, i % 7, red);  // the table grows meanwhile
  for (int i = 0; i < 3000; ++i) c.point(i, i % 7, red);
  EXPECT_EQ(c.list().size(), 7u + 3000u);
  EXPECT_DOUBLE_EQ(c.list().back().x1, 2999);
  // The same figure right after itself (a script's leading empty command
  // repeats the dot before it) stays one, at its place.
  c.circle(50, 50, 1, red);
  c.circle(50, 50, 1, red);
  c.circle(60, 50, 1, red);
  ASSERT_EQ(c.list().size(), 7u + 3002u);
  EXPECT_DOUBLE_EQ(c.list()[c.list().size() - 2].x1, 50);

  // A new command starts with an empty record; a switched-off canvas records nothing.
  c.clear();
  c.setRecording(false);
  c.point(5, 5, red);
  c.setRecording(true);
  c.point(5, 5, red);
  c.point(5, 5, red);
  EXPECT_EQ(c.list().size(), 1u);
}

TEST(RecordingCanvas, ADotIsItsSymbolsCircleInOneCall) {
  // dot() against the calls it stands for, over a run of dots: new, repeated,
  // beside a line, not a number, negative radius, width below 1. The lists
  // and the state a later circle is drawn with must agree.
  const Rgb red = rgb(255, 0, 0), white = rgb(255, 255, 255);
  struct Dot {
    double x, y, r, width;
  };
  const Dot dots[] = {{10, 10, 2, 1},  {10, 10, 2, 1}, {10, 10, 2, 3}, {20, 5, -4, 0.5},
                      {NAN, 5, 2, 1},  {20, 5, 4, 1},  {20, 5, INFINITY, 2}, {10, 10, 2, 1}};
  RecordingCanvas one, longhand;
  for (const Dot& d : dots) {
    one.dot(d.x, d.y, d.r, red, d.width, white);
    longhand.setLineWidth(d.width);
    longhand.setFillStyle(kFillSolid);
    longhand.setFillColour(white);
    {
      const Symbol dot(longhand, d.x, d.y);
      longhand.circle(d.x, d.y, d.r, red);
    }
    if (d.width == 3) {
      one.line(0, 0, 9, 9, red);
      longhand.line(0, 0, 9, 9, red);
    }
  }
  one.circle(30, 30, 1, red);
  longhand.circle(30, 30, 1, red);
  EXPECT_EQ(one.list(), longhand.list());
  EXPECT_EQ(one.list().size(), 5u);
  EXPECT_DOUBLE_EQ(one.textX(), longhand.textX());
}

// --- colours ----------------------------------------------------------------------

TEST(Colours, ComponentsAboveTheRangeCountAsTheLimit) {
  EXPECT_EQ(rgb(256, 256, 256), rgb(255, 255, 255));
  EXPECT_EQ(rgb(-5, std::nan(""), 1e300), (Rgb{0, 0, 255}));
  EXPECT_EQ(hexColour(rgb(255, 128, 9)), "#ff8009");
}

TEST(Colours, FixedTable) {
  EXPECT_EQ(fixedColour(0), rgb(0, 0, 0));
  EXPECT_EQ(fixedColour(7), rgb(192, 192, 192));
  EXPECT_EQ(fixedColour(12), rgb(255, 0, 0));
  EXPECT_EQ(fixedColour(15), rgb(255, 255, 255));
  EXPECT_EQ(fixedColour(16), rgb(0, 0, 0));
  EXPECT_EQ(fixedColour(-1), rgb(0, 0, 0));
}

TEST(Colours, PaletteAtStartValuesAndClamps) {
  const Rgb cb = rgb(250, 240, 230);
  const Palette p = buildPalette(128, 196, 256, cb);
  EXPECT_EQ(p[0], rgb(128, 128, 128));
  EXPECT_EQ(p[1], rgb(128, 128, 196));
  EXPECT_EQ(p[9], rgb(128, 128, 255));
  EXPECT_EQ(p[15], rgb(255, 255, 255));
  EXPECT_EQ(p[16], cb);
  EXPECT_EQ(p[19], rgb(160, 128, 255));
  EXPECT_EQ(p[25], rgb(64, 160, 160));
  for (int k = 26; k < kPaletteSize; ++k) EXPECT_EQ(p[k], rgb(0, 0, 0));

  const Palette bright = buildPalette(300, 500, 999, cb);
  EXPECT_EQ(bright[0], rgb(160, 160, 160));
  EXPECT_EQ(bright[8], rgb(224, 224, 224));
  const Palette dark = buildPalette(-16, std::nan(""), -1, cb);
  EXPECT_EQ(dark[15], rgb(0, 0, 0));
  EXPECT_EQ(dark[7], rgb(196, 196, 196));  // fixed entries stay

  EXPECT_EQ(paletteColour(p, 33), rgb(0, 0, 0));
  EXPECT_EQ(paletteColour(p, -1), rgb(0, 0, 0));
}

TEST(LabelTables, EachTopicItsTable) {
  EXPECT_EQ(labelText(1, 2, code(U'D')), U"Pac");
  EXPECT_EQ(labelText(1, 2, code(U'Y')), U"Pcd");
  EXPECT_EQ(labelText(1, 3, code(U'D')), U"D");  // another four-bar topic
  EXPECT_EQ(labelText(10, 0, code(U'H')), U"R=B4");
  EXPECT_EQ(labelText(10, 3, code(U'p')), U"P42");
  EXPECT_EQ(positionLabel(code(U'H')), U"B4");
  EXPECT_EQ(positionLabel(code(U'M')), U"P12");
  EXPECT_EQ(labelText(5, 7, code(U'6')), U"6");  // a point of the stretched positions, no plan point
  EXPECT_EQ(labelText(3, 1, code(U'S')), U"(B)''");
  EXPECT_EQ(labelText(3, 1, code(U'9')), U"A''");
  EXPECT_EQ(labelText(3, 1, code(U'Æ')), U"P''");
  EXPECT_EQ(labelText(3, 1, code(U'q')), U"q");
}

// --- JSON -------------------------------------------------------------------------

TEST(DisplayListJson, PrimitivesWithKindCoordinatesAndHexColours) {
  RecordingCanvas c;
  c.setLineWidth(2);
  c.line(10, 50, 20, 60, rgb(255, 0, 0));
  c.setFillStyle(kFillSolid);
  c.setFillColour(rgb(50, 255, 50));
  c.arc(100, 200, 30, rgb(0, 0, 0), -1, -2);
  c.setFont("Areal", 14);
  c.setTextColour(rgb(0, 0, 0));
  c.setTextPosition(5, 45);
  c.print(U"(B)''Ä", false);

  const nlohmann::json j = toJson(c.list());
  ASSERT_TRUE(j.is_array());
  ASSERT_EQ(j.size(), 4u);
  EXPECT_EQ(j[0]["kind"], "line");
  EXPECT_EQ(j[0]["x2"], 20);
  EXPECT_EQ(j[0]["color"], "#ff0000");
  EXPECT_EQ(j[0]["width"], 2);
  EXPECT_EQ(j[1]["kind"], "arc");
  EXPECT_EQ(j[1]["fillColor"], "#32ff32");
  EXPECT_EQ(j[1]["edgeStart"], true);
  EXPECT_EQ(j[2]["kind"], "point");
  EXPECT_EQ(j[3]["kind"], "text");
  EXPECT_EQ(j[3]["x"], 5);
  EXPECT_EQ(j[3]["y"], 45);
  EXPECT_EQ(j[3]["text"], "(B)''\xC3\x84");
  EXPECT_EQ(j[3]["font"], "Areal");
  EXPECT_EQ(j[3]["size"], 14);
  EXPECT_EQ(j[3]["color"], "#000000");

  std::string problems;
  const DisplayList back = displayListFromJson(j, &problems);
  EXPECT_TRUE(problems.empty()) << problems;
  ASSERT_EQ(back.size(), c.list().size());
  EXPECT_EQ(toJson(back), j);
}

TEST(DisplayListJson, MalformedEntriesAreSkippedAndReported) {
  const auto j = nlohmann::json::parse(R"([
    {"kind": "line", "x1": 1, "y1": 2, "x2": 3, "y2": 4, "color": "#010203"},
    {"kind": "spiral", "color": "#000000"},
    {"kind": "circle", "cx": 1, "cy": 2, "r": "big", "color": "#000000"},
    {"kind": "text", "x": 1, "y": 2, "size": 10, "text": 5, "font": "Arial", "color": "#000000"},
    {"kind": "arc", "cx": 1, "cy": 2, "r": 3, "start": 0, "end": 1, "fillStyle": 99, "color": "#000000"},
    {"kind": "point", "x": 1, "y": 2, "color": "red"},
    17,
    {"kind": "text", "x": 0, "y": 0, "size": 10, "text": "\u00e4\ud83d\ude00", "font": "Arial", "color": "#ABCDEF"}
  ])");
  std::string problems;
  const DisplayList list = displayListFromJson(j, &problems);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].colour, rgb(1, 2, 3));
  EXPECT_EQ(list[1].text, U"ä\U0001F600");
  EXPECT_EQ(list[1].colour, rgb(0xab, 0xcd, 0xef));
  EXPECT_NE(problems.find("primitive 1"), std::string::npos);
  EXPECT_NE(problems.find("primitive 6"), std::string::npos);
  EXPECT_TRUE(displayListFromJson(nlohmann::json::object()).empty());
}

TEST(DisplayListJson, Utf8ConversionReplacesWhatCannotBeEncoded) {
  EXPECT_EQ(toUtf8(std::u32string(1, char32_t(0xD800))), "\xEF\xBF\xBD");
  EXPECT_EQ(fromUtf8("a\xFF"
                     "b"),
            U"a\uFFFDb");
  EXPECT_EQ(fromUtf8("\xC3"), U"\uFFFD");            // truncated sequence
  EXPECT_EQ(fromUtf8("\xC0\x80"), U"\uFFFD\uFFFD");  // overlong form
  EXPECT_EQ(fromUtf8(toUtf8(U"Ößü°€")), U"Ößü°€");
}

}  // namespace
}  // namespace pm
