// The presentation stage that ends every command: title, topic stepping,
// explanatory picture, the group routine, the overlays and the emblem; and the
// demonstration sequence that walks through the catalogue on its own.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "draw/colour_tables.h"
#include "draw/json.h"
#include "exercise/exercise.h"
#include "script/scratch.h"
#include "shell/form1.h"
#include "topics/catalogue.h"
#include "topics/mechanism_detail.h"
#include "topics/page_catalogue.h"
#include "topics/parameter_strings.h"
#include "topics/placement_detail.h"
#include "topics/topics.h"

namespace pm {

namespace {

// The digits of a whole state field, without sign or blank ("Bild120.gif").
std::string digitsOf(double v) {
  if (!std::isfinite(v)) return "0";
  const double whole = std::fmin(std::fabs(std::trunc(v)), 1e15);
  return std::to_string(static_cast<std::int64_t>(whole));
}

std::u32string widen(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

// An entry of a name list; indices outside the list give an empty name.
const std::u32string& listEntry(const std::array<std::u32string, 21>& list, double index) {
  static const std::u32string kEmpty;
  if (!(index >= 1 && index < static_cast<double>(list.size()))) return kEmpty;
  return list[static_cast<std::size_t>(index)];
}

bool isOneOf(char32_t c, std::u32string_view keys) {
  return c != 0 && keys.find(c) != std::u32string_view::npos;
}

// Rebuilds the whole picture from the state record, as a menu command does.
// The nested command works on a register file of its own; the sequence then
// goes on with the parameters of the type and topic that the rebuild reached.
void rebuild(Form1& f) {
  f.Form_KeyDown(kKeyRebuild, 0);
  if (!f.ending) loadParameters(f);
}

// The demonstration moves on to the next topic and opens its first page.
void nextTopic(Form1& f) {
  f.st.mn2 += 1;
  f.st.mn5 = 0;
}

// Runs one full-revolution run of the demonstration, turning in the sense
// `request` or, for 0, standing still (the sense of motion stays as it is);
// false when the sequence has to end (the program is ending, or the user
// switched the demonstration off).
bool demonstrationRun(Form1& f, double request, bool byFlag) {
  if (request != 0) f.st.qgw = request;
  auto switchedOff = [&f, byFlag] { return byFlag && f.st.qxy != 1; };
  revolutionFrames(f, request != 0, switchedOff);
  return !f.ending && !f.stopping && !switchedOff();
}

// The sequence with the flag qxy: one revolution per topic, standing still
// before and after it, until the flag is cleared (F2 again).
void demonstrationByFlag(Form1& f) {
  if (f.st.mn1 == 1 && f.st.mn2 == 0) {
    f.st.mn2 = 1;
    f.st.mn5 = 0;
    explanatoryPicture(f);
    runGroup(f, 1);
  }
  while (f.st.qxy == 1) {
    // Events are processed at least once per step, so that the sequence can be
    // stopped even while it walks through mechanisms whose runs do nothing.
    f.host.processEvents();
    if (f.ending || f.st.qxy != 1) break;
    if (!demonstrationRun(f, 0, true) || !demonstrationRun(f, 1, true) ||
        !demonstrationRun(f, 0, true))
      break;
    nextTopic(f);
    rebuild(f);
    if (f.ending) return;
  }
  if (f.ending) return;
  f.st.mn1 = 1;
  rebuild(f);
}

// The sequence without a flag: on until the topic stepping reaches the examples
// group, or until a key that starts a run or the demonstration stops it, which
// ends it as reaching the examples does.
void demonstrationToExamples(Form1& f) {
  while (f.st.mn1 < 9) {
    f.host.processEvents();
    if (f.ending) return;
    if (f.stopping) break;
    if (!demonstrationRun(f, 0, false) || !demonstrationRun(f, 1, false) ||
        !demonstrationRun(f, 1, false) || !demonstrationRun(f, 0, false))
      break;
    nextTopic(f);
    rebuild(f);
    if (f.ending) return;
  }
  if (f.ending) return;
  f.st.mn1 = 1;
  rebuild(f);
}

// The two preset strings of the current type, one line each from (0, 650).
void presetStrings(Form1& f) {
  const OnLayer status(f.canvas, Layer::Status);
  f.setPosition(0, 650);
  f.print(fromUtf8(presetLengthString(f.st, f.st.mn0)), true);
  f.print(fromUtf8(presetNumberString(f.st, f.st.mn0)), true);
}

}  // namespace

TopicPlace steppedTopic(TopicPlace t) {
  // One rule of the table: (from1, from2) → (to1, to2); a rule that fires
  // opens page 0.
  auto rule = [&t](double from1, double from2, double to1, double to2) {
    if (t.mn1 != from1 || t.mn2 != from2) return false;
    t.mn1 = to1;
    t.mn2 = to2;
    t.mn5 = 0;
    return true;
  };
  if (t.mn1 == 1 && t.mn2 < 0) {
    t.mn2 = 0;
    t.mn5 = 0;
  }
  rule(1, 7, 2, 1);
  rule(2, 0, 1, 6);
  rule(2, 7, 3, 1);
  rule(3, 0, 2, 6);
  rule(3, 9, 4, 1);
  rule(4, 8, 5, 1);
  rule(4, 0, 3, 9);
  rule(5, 0, 6, 8);
  // Group 5 has seven topics, the last being the step-by-step construction:
  // stepping on past it (not onto it) leads to group 6.
  rule(5, 8, 6, 1);
  rule(6, 0, 5, 6);
  rule(6, 8, 7, 1);
  rule(7, 0, 6, 7);
  rule(7, 9, 8, 1);
  rule(8, 0, 7, 7);
  if (rule(8, 9, 1, 1)) t.mn0 += 1;
  if (t.mn0 > 9) {
    t.mn0 = 9;
    t.mn5 = 0;
  }
  rule(9, 0, 8, 8);
  rule(9, 8, 10, 1);
  rule(10, 0, 9, 7);
  // This rule stands after the limit above, so it may carry the type to 10.
  if (rule(10, 9, 1, 1)) t.mn0 += 1;
  return t;
}

void topicStepping(Form1& f) {
  const TopicPlace t = steppedTopic({f.st.mn0, f.st.mn1, f.st.mn2, f.st.mn5});
  f.st.mn0 = t.mn0;
  f.st.mn1 = t.mn1;
  f.st.mn2 = t.mn2;
  f.st.mn5 = t.mn5;
}

void turnPageOrTopic(Form1& f, int direction) {
  StateRecord& st = f.st;
  const bool pagesShown = st.qtx == 1;
  const int pages = pageCount(st.mn1, st.mn2);
  if (direction > 0) {
    if (pagesShown && st.mn5 + 1 < pages) {
      st.mn5 += 1;
      return;
    }
    st.mn5 = 0;
    // A topic that the stepping moves on by itself (3.9, reached backwards
    // from 4.1) is left to the stepping, which opens the topic after it.
    const TopicPlace here{st.mn0, st.mn1, st.mn2, 0};
    const TopicPlace stepped = steppedTopic(here);
    if (stepped.mn1 == here.mn1 && stepped.mn2 == here.mn2) st.mn2 += 1;
  } else {
    if (pagesShown && st.mn5 > 0) {
      // A page number beyond the topic's pages (a state set from outside)
      // turns back to its last page.
      st.mn5 = pages > 0 ? std::min(st.mn5 - 1, pages - 1.0) : 0;
      return;
    }
    st.mn5 = 0;
    // Before the first topic of a group lies the last topic of the group before
    // (the stepping table's backward rules would skip 5.7 and 7.8, turn 4.7 into
    // the transient 3.9 and 5.1 into 7.1); group 1 begins with its start pages.
    const int group = st.mn1 >= 2 && st.mn1 <= kLastGroup ? static_cast<int>(st.mn1) : 0;
    if (st.mn2 == 1 && group == st.mn1 && lastTopic(group - 1) > 0) {
      st.mn1 = group - 1;
      st.mn2 = lastTopic(group - 1);
    } else {
      st.mn2 -= 1;
    }
  }
}

void stepGroup(Form1& f, int direction) {
  StateRecord& st = f.st;
  st.mn1 = std::min(st.mn1 + direction, kLastGroup);
  st.mn2 = 1;
  st.mn5 = 0;
}

void explanatoryPicture(Form1& f) {
  // Only a page the program ships is asked for; a place without one (a state
  // set from outside) shows no page rather than a stale or empty band.
  if (!(f.st.mn5 >= 0 && f.st.mn5 < pageCount(f.st.mn1, f.st.mn2))) {
    f.st.ff.clear();
    f.host.setBackgroundPicture("");
    return;
  }
  f.st.ff = "Bild" + digitsOf(f.st.mn1) + digitsOf(f.st.mn2) + digitsOf(f.st.mn5) + ".gif";
  const OnLayer status(f.canvas, Layer::Status);
  f.setPosition(20, 650);
  f.print(widen(f.st.ff), true);
  f.host.setBackgroundPicture(f.st.ff);
}

void topicHeader(Form1& f) {
  std::u32string line = widen(digitsOf(f.st.mn1) + digitsOf(f.st.mn2) + digitsOf(f.st.mn5));
  line += listEntry(f.cmd.groupNames, f.st.mn1);
  line += f.cmd.headerScratch;
  line += listEntry(f.cmd.topicNames, f.st.mn2);
  const OnLayer status(f.canvas, Layer::Status);
  f.canvas.setFont("Arial", 11);
  f.setPosition(20, 710);
  f.print(line, true);
}

void runGroup(Form1& f, int group) {
  writeCatalogueNames(f, group);
  // Constructions take line intersections far out as computed: the inflection
  // pole of a nearly straight coupler motion, the tip of a large acceleration
  // in the plan or a point of the centre-point curve may lie beyond x = 99999,
  // and a point held at that clamp would draw what is built on it wrong.
  FarIntersections far(f.scratch());
  switch (group) {
    case 1:
      group1(f);
      break;
    case 2:
      group2(f);
      break;
    case 3:
      group3(f);
      break;
    case 4:
      group4(f);
      break;
    case 5:
      group5(f);
      break;
    case 6:
      group6(f);
      break;
    case 7:
      group7(f);
      break;
    case 8:
      group8(f);
      break;
    case 9:
      group9(f);
      break;
    case 10:
      group10(f);
      break;
    default:
      break;
  }
}

void demonstration(Form1& f) {
  f.st.qse = 0;
  if (f.edition.demonstrationByFlag)
    demonstrationByFlag(f);
  else
    demonstrationToExamples(f);
}

void drawGrid(Form1& f) {
  // A rebuild with the grid on does not turn the crank (the sense stays).
  f.cmd.stepAsked = false;
  f.st.rtt = 20 + f.st.qrtt;
  const std::int64_t fine = gridSpacing(f.st.rtt);
  // A spacing below one unit (qrtt of -20 or less) has no lines to draw; it
  // would divide by zero.
  if (fine > 0) {
    const OnLayer grid(f.canvas, Layer::Grid);
    const Rgb colour = rgb(220, 220, 220);
    f.canvas.setLineWidth(1);
    auto lines = [&](std::int64_t spacing, double shift) {
      for (std::int64_t k = 0; k <= 1021 / spacing; ++k) {
        const double x = static_cast<double>(k * spacing) + shift;
        f.canvas.line(x, 0, x, 760, colour);
      }
      for (std::int64_t k = 0; k <= 738 / spacing; ++k) {
        const double y = static_cast<double>(k * spacing) + shift;
        f.canvas.line(0, y, 1248, y, colour);
      }
    };
    lines(fine, 0);
    // Every fifth line once more, one unit aside, so that it shows doubled.
    lines(gridSpacing(100 + 5 * f.st.qrtt), 1);
  }
  f.st.rtt = 20 + f.st.qrtt;
}

namespace {

// The link letters at the positions of the links as the drive step and the
// standard picture drew them, not where a later trace or construction left
// the label registers.
void linkLetters(Form1& f) {
  const ShownMechanism& shown = f.cmd.shown;
  if (shown.taken) {
    Registers& r = f.reg();
    for (int k = 1; k < static_cast<int>(shown.labelX.size()); ++k) {
      r.len[k + Registers::kLabelOffset] = shown.labelX[k];
      r.ang[k + Registers::kLabelOffset] = shown.labelY[k];
    }
  }
  f.engine.labelVectors();
}

// What the first part of the presentation stage left of the picture.
enum class Drawn {
  Open,      // the overlays and the emblem follow
  Complete,  // a nested command (demonstration, hand-over) drew the whole picture
  RunEnded,  // a run drew its frames; the picture has to start again
};

// Title, topic stepping, explanatory picture, the group routine and the
// keys that act on it. `stepping` is false when the picture starts again
// after a run: the topic was stepped once in this command already.
Drawn topicPicture(Form1& f, char32_t key, bool stepping) {
  if (isOneOf(key, U"SXYZ")) mousePlacement(f, key);
  caseAndTurnClass(f);
  if (f.st.qsr == 1) drawGrid(f);
  printTitle(f);
  if (stepping) topicStepping(f);
  if (key == U'5') {
    f.st.qgw = 1;
    demonstration(f);  // it ends with a rebuild of its own
    return Drawn::Complete;
  }
  if (f.exercise.open()) {
    // The exercise's picture, without the topic's explanatory page.
    f.host.setBackgroundPicture("");
    drawExercise(f);
    return Drawn::Open;
  }
  if (f.st.qtx == 1) explanatoryPicture(f);
  if (f.st.qtx == 0) f.host.setBackgroundPicture("");
  const unsigned long commands = f.commandsStarted();
  if (f.st.qst == 0) runGroup(f, f.st.mn1 >= 1 && f.st.mn1 <= 10 ? static_cast<int>(f.st.mn1) : 0);
  // The analysis hand-over of the synthesis rebuilds through the command
  // handler: its picture is the whole picture.
  if (f.commandsStarted() != commands) return Drawn::Complete;
  if (isOneOf(key, U"TUVW") && (f.st.mn1 == 10 || f.edition.lettersTUVWInEveryGroup))
    synthesisLetterKey(f, key);
  if (key == U'1' || key == U'2') {
    f.st.qgw = key == U'1' ? 1 : -1;
    fullRevolutionRun(f);
    return Drawn::RunEnded;
  }
  return Drawn::Open;
}

}  // namespace

void presentationStage(Form1& f) {
  // The key of this command, kept before any nested command replaces f.cmd.
  const char32_t key = f.cmd.key;
  const int keyCode = f.cmd.keyCode;
  const int shift = f.cmd.shift;

  Drawn drawn = topicPicture(f, key, true);
  if (drawn == Drawn::RunEnded && !f.ending) {
    // One picture of where the run ended, drawn as a rebuild draws it.
    f.restartPicture();
    drawn = topicPicture(f, 0, false);
  }
  if (drawn == Drawn::Complete || f.ending) return;
  if (key == U'3') {
    const Point k = cursorPoint(f);
    const OnLayer note(f.canvas, Layer::Note);
    f.setPosition(0, 450);
    f.printNumber(k.x);
    f.printNumber(k.y, true);
  }
  if (f.st.qst == 1) f.host.setBackgroundPicture(f.edition.helpPicture);
  if (f.st.qer == 1 && !f.edition.keyOverviewPicture.empty())
    f.host.setBackgroundPicture(f.edition.keyOverviewPicture);
  if (f.st.qsd == 1) linkLetters(f);
  if (f.st.qse == 1) dataReadout(f);
  if (f.st.qsr == 1) drawGrid(f);
  if (f.st.qgx == 1) presetStrings(f);
  f.canvas.setTextColour(fixedColour(0));
  f.canvas.setFont(f.canvas.fontName(), 12);
  f.setPosition(20, 680);
  if (f.edition.keyInfoLine) {
    const OnLayer status(f.canvas, Layer::Status);
    f.setPosition(f.edition.keyInfoX, f.edition.keyInfoY);
    f.print(keyInformationLine(key, keyCode, shift));
  }
  f.logo("840055");
  f.canvas.setFont(f.canvas.fontName(), 10);
  f.canvas.setTextColour(fixedColour(0));
}

}  // namespace pm
