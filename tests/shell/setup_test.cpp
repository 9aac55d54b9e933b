// Set-ups: a state written and read back shows the same picture and panel in
// every topic group of both editions (through a link too, which replaces an
// open exercise); a set-up written by hand gives exactly
// its lengths and angle; every kind of bad file is refused with a message
// that names the problem; the dialog "Maße" checks what was typed.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "exercise/exercise.h"
#include "kinematics/measured_values.h"
#include "shell/dimension_fields.h"
#include "shell/setup.h"
#include "support/test_form.h"
#include "kinematics/physical_values.h"

namespace pm {
namespace {

using testing::TestForm;

struct Key {
  int code;
  int shift = 0;
  double x = 0, y = 0;  // the cursor, for the placement keys
};

struct Lecture {
  const char* name;
  int type, group, topic;
  std::vector<Key> keys;
};

constexpr int kF1 = kKeyF1;

// A rehearsed position in every topic group: stepped, flipped, zoomed,
// letters on, joints moved with the mouse, pages turned.
const std::vector<Lecture>& lectures() {
  static const std::vector<Lecture> all = {
      {"poles, flipped and zoomed", 2, 1, 3,
       {{kKeySpace}, {kKeySpace}, {kF1 + 1, 1}, {kKeyUp, 2}, {kF1 + 3}, {kKeyUp, 5}, {kKeyRebuild}}},
      {"pole rays, B at the mouse", 1, 2, 4,
       {{kKeySpace}, {'B', 0, 530, 380}, {kKeySpace}, {kKeyLeft, 4}, {kKeyUp, 4}}},
      {"acceleration, backwards, brighter", 3, 3, 6,
       {{kKeyBackspace}, {kKeyBackspace}, {kKeyUp, 3}, {kKeyLeft, 3}, {kF1 + 4}}},
      {"inflection circle, Y at the mouse", 1, 4, 3, {{'Y', 0, 520, 570}, {kKeySpace}, {kKeyDown, 2}}},
      {"cognates step by step", 1, 5, 7,
       {{kF1 + 2}, {kKeyDown}, {kKeyDown}, {kKeySpace}, {kKeySpace}}},
      {"evolute of the slotted crank", 6, 6, 2, {{kKeySpace}, {kKeySpace}, {kKeySpace}}},
      {"relative motion", 7, 7, 5, {{kKeySpace}, {kF1, 1}, {kKeySpace}}},
      {"six-bar, dyad flipped", 5, 8, 3, {{kKeySpace}, {kF1 + 3, 1}, {kKeySpace}, {'E', 0, 600, 420}}},
      {"moving plane", 1, 9, 4, {{kKeySpace}}},
      {"synthesis, pairs chosen", 1, 10, 6,
       {{kKeySpace}, {kKeySpace}, {'T'}, {kKeySpace}, {'W'}, {'I', 0, 280, 610}, {kKeyRebuild}}},
      {"analysis of the synthesised four-bar", 1, 10, 6,
       {{kKeySpace}, {'T'}, {kKeySpace}, {kKeySpace}, {'W'}, {kKeyDown}, {kKeyDown}, {kKeySpace}}},
  };
  return all;
}

void play(TestForm& t, const Lecture& l) {
  t.form.st.qtx = 0;
  t.show(l.type, l.group, l.topic);
  for (const Key& k : l.keys) {
    t.host.cx = k.x;
    t.host.cy = k.y;
    t.key(k.code, k.shift);
  }
}

std::vector<std::string> panel(const Form1& f) {
  std::vector<std::string> lines;
  for (const MeasuredValue& v : measuredValues(f)) lines.push_back(v.name + ": " + v.value);
  return lines;
}

// The picture; in Rautenwerk without the line that describes the key just
// pressed, which belongs to the key, not to the state.
DisplayList withoutKeyLine(const TestForm& t) {
  if (!t.form.edition.keyInfoLine) return t.picture();
  DisplayList out;
  for (const Primitive& p : t.picture())
    if (!(p.layer == Layer::Status && p.y1 == t.form.edition.keyInfoY && p.x1 >= t.form.edition.keyInfoX))
      out.push_back(p);
  return out;
}

TEST(SetupFile, RoundTripShowsTheSamePictureInEveryGroupOfBothEditions) {
  for (const Edition* e : {&planimoveEdition(), &rautenwerkEdition()}) {
    for (const Lecture& l : lectures()) {
      SCOPED_TRACE(e->name + ": " + l.name);
      TestForm original(*e);
      play(original, l);
      original.form.view = View{0.5, 200, 150};
      const std::string text = writeSetup(original.form);
      std::string message;
      const auto setup = parseSetup(text, *e, message);
      ASSERT_TRUE(setup) << message << "\n" << text;

      TestForm copy(*e);
      copy.keyChar('X');  // the copy starts from somewhere else
      applySetup(copy.form, *setup);
      EXPECT_EQ(copy.form.view, original.form.view);
      EXPECT_EQ(withoutKeyLine(copy), withoutKeyLine(original));
      EXPECT_EQ(panel(copy.form), panel(original.form));
      // The compact form of links gives the same.
      const auto linked = setupFromLink(setupToLink(original.form), *e, message);
      ASSERT_TRUE(linked) << message;
      // Opened inside an exercise, the link's picture replaces the exercise.
      TestForm viaLink(*e);
      ASSERT_TRUE(startExercise(viaLink.form, ExerciseKind::Pole, 5));
      applySetup(viaLink.form, *linked);
      EXPECT_FALSE(viaLink.form.exercise.open());
      EXPECT_EQ(withoutKeyLine(viaLink), withoutKeyLine(original));
      EXPECT_LT(setupToLink(original.form).size(), text.size());
    }
  }
}

TEST(SetupFile, HandWrittenSetupGivesExactlyItsLengthsAndAngle) {
  const std::string text = R"({"format": "planimove-setup", "version": 1, "type": 1, "group": 2,
    "topic": 4, "zoom": 2, "lengths": {"a": 40, "b": 120, "c": 100, "d": 130},
    "crankAngle": 230, "omega": 1.5, "alpha": -0.25})";
  std::string message;
  const auto setup = parseSetup(text, planimoveEdition(), message);
  ASSERT_TRUE(setup) << message;
  TestForm t;
  applySetup(t.form, *setup);
  const ShownMechanism& shown = t.form.cmd.shown;
  ASSERT_TRUE(shown.taken);
  // Drawn at zoom 2, given and read back in mm; the rocker keeps the preset's branch.
  EXPECT_EQ(shown.lengths[0], 80);
  EXPECT_EQ(shown.lengths[1], 240);
  EXPECT_EQ(shown.lengths[2], -200);
  EXPECT_EQ(shown.lengths[3], 260);
  for (char c : {'a', 'b', 'c', 'd'})
    EXPECT_EQ(physical::lengthOf(t.form.st, c), c == 'a' ? 40 : c == 'b' ? 120 : c == 'c' ? 100 : 130);
  EXPECT_NEAR(shown.crankAngle * 180 / std::acos(-1.0), 230, 1e-9);
  EXPECT_DOUBLE_EQ(physical::omegaOf(t.form.st), 1.5);
  EXPECT_DOUBLE_EQ(physical::alphaOf(t.form.st), -0.25);
  const std::vector<std::string> lines = panel(t.form);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Kurbelwinkel φ: 230°"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "ω Kurbel: 1,50 1/s"), lines.end());
}

TEST(SetupFile, EveryKindOfBadFileIsRefusedWithItsMessage) {
  const std::string head = R"({"format": "planimove-setup", "version": 1, )";
  const struct {
    std::string text;
    const char* message;
  } cases[] = {
      {"", "kein gültiges JSON"},
      {"{\"format\": \"planimove-setup\", ", "kein gültiges JSON"},
      {"[1, 2]", "kein JSON-Objekt"},
      {R"({"format": "picture", "version": 1})", "„format“"},
      {R"({"version": 1})", "„format“"},
      {R"({"format": "planimove-setup"})", "Versionsnummer"},
      {R"({"format": "planimove-setup", "version": 2})", "Version 2"},
      {head + R"("edition": "rautenwerk"})", "gehört zu „rautenwerk“"},
      {head + R"("type": 12})", "Getriebetyp 12"},
      {head + R"("type": 2.5})", "Getriebetyp 2,5"},
      {head + R"("group": 11})", "„group“"},
      {head + R"("group": 1, "topic": 12})", "kein Thema 12"},
      {head + R"("lengths": {"c": -120}})", "Länge c ist negativ"},
      {head + R"("lengths": {"q": 10}})", "a bis p"},
      {head + R"("lengths": {"a": "80"}})", "„lengths.a“ muss eine Zahl"},
      {head + R"("lengths": {"a": 1e300}})", "zu groß"},
      {head + R"("lenghts": {"a": 80}})", "Unbekanntes Feld „lenghts“"},
      {head + R"("display": {"help": true}})", "„display.help“"},
      {head + R"("zoom": 0})", "„zoom“"},
      {head + R"("view": {"scale": 0}})", "„view.scale“"},
      {head + R"("flipped": "c"})", "„flipped“"},
      {head + R"("synthesis": {"pairs": [null]}})", "„synthesis.pairs“"},
      {head + R"("group": 2, "topic": 1, "lengths": {"a": 200, "b": 20, "c": 20, "d": 50}})",
       "schließt sich bei φ"},
      {head + R"("sense": 2})", "„sense“"},
      {head + "\"edition\": \"pl\xff\"}", "kein gültiges JSON"},
      {head + std::string(1 << 20, ' ') + "}", "zu groß"},
  };
  TestForm t;
  for (const auto& c : cases) {
    std::string message;
    EXPECT_FALSE(parseSetup(c.text, planimoveEdition(), message)) << c.text.substr(0, 200);
    EXPECT_NE(message.find(c.message), std::string::npos)
        << "for " << c.text.substr(0, 200) << "\nmessage: " << message;
  }
  std::string message;
  EXPECT_FALSE(setupFromLink("not*base64", planimoveEdition(), message));
  EXPECT_NE(message.find("keine Einstellung"), std::string::npos);
  // Base64url of no set-up: the message speaks of the link, not of a file.
  EXPECT_FALSE(setupFromLink("Unsinn", planimoveEdition(), message));
  EXPECT_EQ(message.rfind("Der Link enthält keine Planimove-Einstellung: kein gültiges JSON", 0), 0u) << message;
}

TEST(SetupFile, DimensionsDialogChecksWhatWasTyped) {
  for (const auto& [typed, value] : std::vector<std::pair<std::string, std::optional<double>>>{
           {"40", 40}, {" 40,5 ", 40.5}, {"-3.25", -3.25}, {"\u22121,5", -1.5}, {"+7", 7}, {"1e3", {}},
           {"", {}}, {"12x", {}}, {"1,2,3", {}}, {"-", {}}, {"inf", {}}})
    EXPECT_EQ(typedNumber(typed), value) << typed;

  TestForm t;
  t.form.st.qtx = 0;
  t.show(1, 2, 4);
  t.host.cx = 531.25;  // a crank of no round length
  t.host.cy = 512.5;
  t.keyChar('A');
  const double crank = physical::lengthOf(t.form.st, 'a');
  auto typed = [&](std::string key, std::string text) {
    std::vector<DimensionField> f = dimensionFields(t.form);
    for (DimensionField& d : f)
      if (d.key == key) d.text = text;
    return f;
  };
  const struct {
    std::string key, text, problem;
  } refused[] = {{"b", "12x", "„Koppel b“: „12x“ ist keine Zahl."},
                 {"c", "-100", "nicht negativ"},
                 {"b", "10", "schließt sich bei φ"},
                 {"crankAngle", "", "keine Zahl"}};
  for (const auto& r : refused) {
    std::string message;
    EXPECT_FALSE(checkDimensions(t.form, typed(r.key, r.text), message)) << r.key << " " << r.text;
    EXPECT_NE(message.find(r.problem), std::string::npos) << message;
  }
  // Only what was changed changes; the crank keeps its length to the last digit.
  std::string message;
  const auto setup = checkDimensions(t.form, typed("b", "140,5"), message);
  ASSERT_TRUE(setup) << message;
  applySetup(t.form, *setup);
  EXPECT_EQ(physical::lengthOf(t.form.st, 'a'), crank);
  EXPECT_EQ(physical::lengthOf(t.form.st, 'b'), 140.5);
  EXPECT_EQ(t.form.cmd.shown.lengths[1], 140.5);
}

}  // namespace
}  // namespace pm
