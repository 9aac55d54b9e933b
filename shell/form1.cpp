// The command handler and its helpers. Every key press and every menu command
// ends in Form_KeyDown, which clears the picture, applies the key table to the
// state record, loads the parameters of the current mechanism type and hands
// over to the presentation stage, which rebuilds the whole picture.
#include "shell/form1.h"

#include <charconv>
#include <cmath>
#include <iostream>
#include <memory>
#include <utility>

#include "draw/colour_tables.h"
#include "exercise/exercise.h"
#include "shell/menu_table.h"
#include "shell/number_chars.h"
#include "topics/topics.h"

namespace pm {
namespace {

constexpr int kMaxNesting = 64;
constexpr int kF1 = kKeyF1, kF8 = kKeyF1 + 7, kF9 = kKeyF1 + 8;

// The character whose code is the key code (0 for a code that is no character).
char32_t keyCharacter(int keyCode) {
  if (keyCode < 0 || keyCode > 0xFFFF || (keyCode >= 0xD800 && keyCode <= 0xDFFF)) return 0;
  return static_cast<char32_t>(keyCode);
}

// A state field as an int for the drawing settings; values that are not numbers read 0.
int asInt(double v) {
  // The usual value first: one range test, which NaN fails as well.
  if (v >= -1e9 && v <= 1e9) return static_cast<int>(v);
  if (!std::isfinite(v)) return 0;
  return v > 0 ? 1000000000 : -1000000000;
}


// One three-character part of the emblem position: blanks, an optional sign
// and digits; anything else ends the number, no number gives 0.
double positionPart(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  int value = 0;
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  if (first < last && *first == '+') ++first;
  const auto [end, ec] = std::from_chars(first, last, value);
  return (ec == std::errc() && end != first) ? value : 0;
}

// The emblem colours.
constexpr Rgb kShadow = rgb(120, 100, 100);
constexpr Rgb kPlate = rgb(250, 250, 0);
constexpr Rgb kWhite = rgb(256, 256, 256);
constexpr Rgb kBlack = rgb(0, 0, 0);

}  // namespace

std::u32string numberItem(double v) {
  std::u32string item(1, std::signbit(v) && v != 0 ? U'-' : U' ');
  const double magnitude = std::fabs(v);
  if (std::isnan(v)) {
    item = U" NaN";
  } else if (std::isinf(v)) {
    item += U"Inf";
  } else {
    // Up to 15 significant digits, "." as decimal point whatever the locale.
    char buf[64];
    const char* end = formatGeneral15(buf, sizeof buf, magnitude);
    for (const char* p = buf; p != end; ++p) {
      item += static_cast<char32_t>(*p == 'e' ? 'E' : *p);
    }
  }
  item += U' ';
  return item;
}

StateRecord startValues() {
  StateRecord st;
  st.mn6 = 1;
  st.mn0 = 1;
  st.mn1 = 1;
  st.mn2 = 0;
  st.dq = 1;
  st.mn3 = 1;
  st.mn5 = 0;
  st.qsc = 0;
  st.qss = 1;
  st.qz = 0.0001;
  st.qrof = 1;
  st.qtx = 1;
  st.cb = rgb(256, 256, 256);
  st.cf = rgb(100, 100, 100);
  st.qzz = 1;
  st.qcc = st.qff = st.qhh = st.qnn = st.qpp = 1;
  st.qgw = 0;
  st.qgl = 1;
  st.qzw = 1;
  st.qgd = 0;
  st.qxx = 1;
  st.qbr = 2;
  st.rr1 = 128;
  st.bb1 = 256;
  st.gg1 = 196;
  st.rr2 = st.rr1;
  st.gg2 = st.gg1;
  st.bb2 = st.bb1;
  st.qse = 0;
  st.qtn = Form1::twelfthRootOfTwo();
  return st;
}

double Form1::twelfthRootOfTwo() { return std::pow(2.0, 1.0 / 12.0); }

Form1::Form1(Canvas& c, Host& h, const Edition& e)
    : drawing(engine, c), canvas(c), host(h), edition(e) {
  engine.setDrawingHook(&drawing);
  engine.setTextOutput(&canvas);
}

// ---------------------------------------------------------------------------
// Start-up

void Form1::Form_Activate() {
  if (activated_) return;  // the window may be activated many times; start once
  activated_ = true;
  host.processEvents();
  if (ending) return;

  st = startValues();
  canvas.setBackgroundColour(st.cb);
  canvas.setTextColour(st.cf);

  logo("840055");
  host.processEvents();
  Form_KeyDown(kKeyRebuild, 0);
}

// ---------------------------------------------------------------------------
// The command handler

void Form1::Form_KeyDown(int keyCode, int shift) {
  if (ending) return;
  const bool replay = std::exchange(replaying_, false);
  const bool endKey = (keyCode == kKeyEsc || keyCode == kKeyEnd) && shift == 0;
  if (depth > 0 && !replay && !endKey && startsRunOrDemonstration(edition, keyCode, shift)) {
    // Pressed while a run or the demonstration lets events through: it ends
    // the running one rather than nesting another, so that a storm of such
    // keys cannot keep the program busy for minutes.
    stopping = true;
    st.qxy = 0;
    return;
  }
  if (depth == 0) stopping = false;
  if (depth >= kMaxNesting && !endKey) {
    // Keys pressed again and again while runs let events through would
    // otherwise nest commands without end; such a key is dropped.
    std::cerr << "Befehl " << keyCode << " verworfen: zu viele verschachtelte Befehle\n";
    return;
  }

  // A command started while another runs (a run or the demonstration lets
  // events through) gets its own register file; the outer one continues with
  // its registers, the command its empty commands repeat, and its command
  // state as they were, except for what describes the picture: the nested
  // command drew the picture now on screen.
  struct Saved {
    Engine::CommandMemory engine;
    CommandState cmd;
  };
  std::unique_ptr<Saved> saved;
  if (depth > 0) {
    saved.reset(new Saved{engine.savedCommand(), cmd});
  }
  ++depth;
  ++commandsStarted_;
  struct Leave {
    Form1& f;
    std::unique_ptr<Saved>& saved;
    ~Leave() {
      --f.depth;
      if (saved) {
        f.engine.restoreCommand(saved->engine);
        CommandState nested = std::exchange(f.cmd, std::move(saved->cmd));
        f.cmd.takePictureOf(std::move(nested));
      }
      if (f.depth == 0 && !f.ending) f.host.frameReady();
    }
  } leave{*this, saved};

  prologue(keyCode, shift);

  if (endKey) {
    ending = true;
    host.quit();
    return;
  }

  if (takeExerciseKey(*this, keyCode, shift)) {
    // The exercise's own key, or one that would move its mechanism: only a rebuild.
    keyCode = kKeyRebuild;
    shift = 0;
    cmd.keyCode = keyCode;
    cmd.shift = shift;
    cmd.key = 0;
  }

  const int brightness = arrowRules(keyCode, shift);
  if (st.mn5 < 0) st.mn5 = 0;
  if (st.mn1 < 1) st.mn1 = 1;
  if (st.mn0 < 1) st.mn0 = 1;
  st.rr1 += 2 * brightness;
  st.gg1 += brightness;

  loadParameters(*this);
  drawing.palette = buildPalette(st.rr1, st.gg1, st.bb1, st.cb);

  const KeyOutcome outcome = functionKey(keyCode, shift);
  if (ending) return;
  // The demonstration ends with a rebuild of its own: that is the picture.
  if (outcome == KeyOutcome::PictureComplete) return;
  if (outcome == KeyOutcome::RunEnded) restartPicture();
  characterCommands();
  if (ending) return;

  presentationStage(*this);
}

void Form1::prologue(int keyCode, int shift) {
  cmd = CommandState{};
  cmd.keyCode = keyCode;
  cmd.shift = shift;
  cmd.key = keyCharacter(keyCode);
  cmd.stepAsked = std::exchange(stepForNextCommand_, false);
  st.qtn = twelfthRootOfTwo();
  canvas.clear();
  engine.beginCommand();
  drawing.beginCommand();
  if (keyCode != kF1) st.qst = 0;
  if (keyCode != kF8 && edition.keyOverviewOneShot) st.qer = 0;
}

int Form1::arrowRules(int keyCode, int shift) {
  int brightness = 0;
  // A stepping key sets the sense of motion and asks for one step now.
  auto askStep = [this](double sense) {
    st.qgw = sense;
    cmd.stepAsked = true;
  };
  // Up/Down and Left/Right pairs: the first of each pair is Up or Left.
  const bool up = keyCode == kKeyUp, down = keyCode == kKeyDown;
  const bool left = keyCode == kKeyLeft, right = keyCode == kKeyRight;
  const double lr = left ? -1 : right ? 1 : 0;  // -1 Left, +1 Right
  const double ud = up ? -1 : down ? 1 : 0;     // -1 Up, +1 Down

  switch (keyCode) {
    case kKeyBackspace:
      if (shift == 0 || shift == 1) askStep(shift == 0 ? -1 : 1);
      return 0;
    case kKeySpace:
      if (shift == 0 || shift == 1) askStep(shift == 0 ? 1 : -1);
      return 0;
    case kKeyPgUp:
      if (shift == 0) st.mn0 += 1;
      return 0;
    case kKeyPgDn:
      if (shift == 0) st.mn0 -= 1;
      return 0;
    case kKeyHome:
      if (shift == 0) resetLengths(*this);
      return 0;
    default:
      break;
  }
  if (lr != 0) {
    switch (shift) {
      case 0:
      case 1:
        askStep(left ? 1 : -1);  // Left turns forward, Right backward
        break;
      case 2:
        st.qrtt += lr;
        break;
      case 3:
        st.qbr = left ? st.qbr * st.qtn : st.qbr / st.qtn;
        break;
      case 4:
        st.qv += lr * st.qss;
        break;
      case 5:
        st.qd += lr;
        break;
      case 6:
        st.qb += lr;
        break;
      case 7:
        st.qe += lr;
        break;
      default:
        break;
    }
  } else if (ud != 0) {
    switch (shift) {
      case 0:
        turnPageOrTopic(*this, up ? -1 : 1);
        break;
      case 1:
        stepGroup(*this, up ? -1 : 1);
        break;
      case 2:
        st.qzz = up ? st.qzz * st.qtn : st.qzz / st.qtn;
        break;
      case 3:
        brightness = up ? 8 : -8;
        break;
      case 4:
        st.qx += 2 * ud;
        break;
      case 5:
        st.qa -= ud;
        break;  // Up lengthens the crank
      case 6:
        st.qc += ud;
        break;
      case 7:
        st.qf += ud;
        break;
      default:
        break;
    }
  }
  return brightness;
}

Form1::KeyOutcome Form1::functionKey(int keyCode, int shift) {
  if (keyCode < kF1 || keyCode > kF9 || (shift != 0 && shift != 1)) return KeyOutcome::Open;
  const auto& table = shift == 0 ? edition.functionKeys : edition.shiftFunctionKeys;
  return perform(table[static_cast<std::size_t>(keyCode - kF1)]);
}

Form1::KeyOutcome Form1::perform(FunctionKeyAction action) {
  using A = FunctionKeyAction;
  switch (action) {
    case A::None:
      break;
    case A::ToggleHelp:
      StateRecord::toggle(st.qst);
      break;
    case A::Demonstration:
      st.qgw = 1;
      StateRecord::toggle(st.qxy);
      demonstration(*this);
      return KeyOutcome::PictureComplete;
    case A::ToggleTextPictures:
      StateRecord::toggle(st.qtx);
      break;
    case A::ToggleJointLetters:
      StateRecord::toggle(st.qsc);
      break;
    case A::ToggleLinkLetters:
      StateRecord::toggle(st.qsd);
      break;
    case A::ToggleDataListing:
      StateRecord::toggle(st.qse);
      break;
    case A::FullRevolutionRun:
      st.qgw = 1;
      if (edition.runKeyCharacter != 0) cmd.key = edition.runKeyCharacter;
      fullRevolutionRun(*this);
      return KeyOutcome::RunEnded;
    case A::ToggleKeyOverview:
      StateRecord::toggle(st.qer);
      break;
    case A::FlipCouplerTriangles:
      st.qff = -st.qff;
      st.qhh = -st.qhh;
      return reloadParameters();
    case A::FlipLoop:
      st.qcc = -st.qcc;
      return reloadParameters();
    case A::MirrorDrive:
      mirrorDrive();
      break;
    case A::FlipDyad:
      st.qnn = -st.qnn;
      return reloadParameters();
    case A::FlipSixBarCoupler:
      st.qpp = -st.qpp;
      return reloadParameters();
    case A::TogglePointLetters:
      StateRecord::toggle(st.qßß);
      break;
    case A::ToggleGrid:
      StateRecord::toggle(st.qsr);
      break;
    case A::ToggleParameterX:
      StateRecord::toggle(st.qxx);
      return reloadParameters();
    case A::TogglePresetStrings:
      StateRecord::toggle(st.qgx);
      break;
  }
  return KeyOutcome::Open;
}

Form1::KeyOutcome Form1::reloadParameters() {
  // The sign and factor fields act on the registers as they are loaded: the
  // key's own picture shows its effect, as the offsets of the arrow keys do.
  loadParameters(*this);
  return KeyOutcome::Open;
}

void Form1::mirrorDrive() {
  // The crank direction is reflected about the frame direction + pi. The frame
  // direction is that of this command's frame angle val[d] (what ":29d=(d)"
  // gives), not whatever an earlier command left: the register file is new.
  Registers& r = engine.reg;
  r.angOf(U'd') = r.valOf(U'd') * deg;
  r.angOf(U'a') = 2 * (r.angOf(U'd') + pi) - r.valOf(U'c') * deg + st.wxx;
  st.wxx = r.valOf(U'c') * deg - r.angOf(U'a');
}

void Form1::characterCommands() {
  const char32_t c = cmd.key;
  if (c == U'0') {
    if (st.mn1 == 10) {
      resetPositions(*this);
    } else {
      resetLengths(*this);
    }
  } else if (c == U'4') {
    st.mn1 = 10;
    st.mn2 = 6;
    st.mn5 = 0;
  } else if (c >= U'A' && c <= U'R') {
    mousePlacement(*this, c);  // clears the step request
  }
}

// ---------------------------------------------------------------------------
// Menus

bool Form1::menuCommand(std::string_view controlName) {
  const std::vector<MenuEntry>& tree = menuTree(edition);
  const MenuEntry* item = findMenuEntry(tree, controlName);
  if (item == nullptr) item = findMenuEntry(exerciseMenu(), controlName);
  if (item == nullptr) {
    std::cerr << "Unbekannter Menüpunkt: \"" << controlName << "\"\n";
    return false;
  }
  if (item->exerciseCommand != ExerciseCommand::None) {
    exerciseMenuCommand(*this, *item);
    return true;
  }
  const std::vector<const MenuEntry*> path = chosenPath(tree, *item);
  if (path.empty()) return true;  // opening a menu changes nothing
  for (const MenuEntry* e : path) {
    // Another mechanism or topic ends the exercise.
    if (e->setType || e->setGroup || e->setTopic) exercise.close();
    if (e->setType) st.mn0 = e->setType;
    if (e->setGroup) st.mn1 = e->setGroup;
    if (e->resetPage) st.mn5 = 0;
    if (e->setTopic) st.mn2 = e->setTopic;
  }
  if (item->sendKey) Form_KeyDown(item->sendKey, item->sendShift);
  return true;
}

bool Form1::menuChecked(std::string_view controlName) const {
  const MenuEntry* item = findMenuEntry(menuTree(edition), controlName);
  return item && item->checkable && item->checkFollows && asInt(st.*(item->checkFollows)) == 1;
}

// ---------------------------------------------------------------------------
// Helpers for the topic code

void Form1::run(std::u32string_view script) {
  DrawSettings& s = drawing.settings;
  s.qbr = st.qbr;
  s.qsc = asInt(st.qsc);
  s.qßß = asInt(st.qßß);
  s.qer = asInt(st.qer);
  s.mn1 = asInt(st.mn1);
  s.mn2 = asInt(st.mn2);
  s.cb = st.cb;
  s.traceCounter = cmd.traceCounter;

  engine.clearErrors();
  engine.run(script);
  // The engine has reported each fault on stderr; the command keeps them for
  // the window and the tools.
  for (const ScriptError& e : engine.errors()) cmd.errors.push_back(e);
  engine.clearErrors();
}

void Form1::rebuildAsFrame(bool step) {
  stepForNextCommand_ = step;
  Form_KeyDown(kKeyRebuild, 0);
  stepForNextCommand_ = false;  // also when the command was refused
}

void Form1::restartPicture() {
  CommandState fresh;
  fresh.keyCode = cmd.keyCode;
  fresh.shift = cmd.shift;
  fresh.key = cmd.key;
  fresh.errors = std::move(cmd.errors);
  cmd = std::move(fresh);
  canvas.clear();
  // The surface as every command leaves it for the next one.
  canvas.setTextColour(fixedColour(0));
  canvas.setFont(canvas.fontName(), 10);
  engine.beginCommand();
  drawing.beginCommand();
  loadParameters(*this);
  drawing.palette = buildPalette(st.rr1, st.gg1, st.bb1, st.cb);
}

void Form1::replayRevolution() {
  if (ending || depth > 0) return;
  const StateRecord before = st;
  // The run's pictures are recorded, never shown: the picture on screen and
  // what the values panel says of it stay those of the last command.
  CommandState shown = cmd;
  // One level of nesting: the command keeps the outer registers and command
  // state and shows no picture of its own when it ends.
  ++depth;
  stopping = false;
  replaying_ = true;
  Form_KeyDown(st.qgw < 0 ? '2' : '1', 0);
  replaying_ = false;
  --depth;
  cmd = std::move(shown);
  if (!ending) st = before;
}

void Form1::setPosition(double x, double y) { canvas.point(x, y, st.cb); }

void Form1::print(std::u32string_view text, bool lineBreak) { canvas.print(text, lineBreak); }

void Form1::printNumber(double v, bool lineBreak) { canvas.print(numberItem(v), lineBreak); }

void Form1::logo(std::string_view position) {
  const double x0 = positionPart(position.substr(0, 3));
  const double y0 = positionPart(position.size() > 3 ? position.substr(3, 3) : std::string_view());
  const OnLayer status(canvas, Layer::Status);
  auto box = [&](double x1, double y1, double x2, double y2, Rgb c, bool filled) {
    canvas.box(x0 + x1, y0 + y1, x0 + x2, y0 + y2, c, filled);
  };
  canvas.setLineWidth(1);
  box(35, 4, 160, 57, kShadow, true);
  box(1, 1, 156, 20, kBlack, false);
  box(0, 0, 155, 21, kPlate, true);
  box(33, 1, 157, 53, kWhite, false);
  box(31, 0, 156, 52, kBlack, false);
  box(30, 0, 155, 51, kPlate, true);
  for (int i = 0; i <= 30; ++i) canvas.line(x0 + i, y0 + 22, x0 + i, y0 + 22 + i, kPlate);
  canvas.setTextColour(kShadow);
  // A line of text at (x, y) on the plate, whose right edge is at x = 155:
  // Arial 14, or the largest size at which the line stays on the plate.
  auto plateLine = [&](double x, double y, std::u32string_view text) {
    constexpr double kSize = 14, kPlateRight = 155;
    const double room = kPlateRight - x;
    double size = kSize;
    canvas.setFont("Arial", size);
    const double width = canvas.textWidth(text);
    if (width > room) {
      // Widths grow with the size; start from the proportional size and
      // shrink in small steps where rounding of the metrics is not linear.
      size = kSize * room / width;
      canvas.setFont("Arial", size);
      while (canvas.textWidth(text) > room && size > 1) canvas.setFont("Arial", size -= 0.05);
    }
    canvas.point(x0 + x, y0 + y, kPlate);
    canvas.print(text, true);
  };
  plateLine(19, 4, U"Werklehre");
  plateLine(20, 26, U"   Nordhochschule");
  // Text that follows the emblem inherits Arial 14, as with lines that fit.
  canvas.setFont("Arial", 14);
}

}  // namespace pm
