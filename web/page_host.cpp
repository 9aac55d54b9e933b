// The core in the browser: the page is the Host. Every key and menu command
// enters Form1 through the functions exported below; the page paints each
// complete picture on its canvas. Runs keep their one loop in the core: at
// each frame the core is suspended (Asyncify) until the page's next animation
// frame, and keys pressed meanwhile reach it as nested commands, as in the
// window.
#include <emscripten.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <cmath>

#include "diagrams/diagram_sheet.h"
#include "diagrams/motion_csv.h"
#include "diagrams/motion_of_form.h"
#include "draw/recording_canvas.h"
#include "draw/view.h"
#include "exercise/exercise.h"
#include "kinematics/measured_values.h"
#include "script/utf8.h"
#include "shell/edition.h"
#include "shell/form1.h"
#include "shell/host.h"
#include "shell/dimension_fields.h"
#include "shell/menu_table.h"
#include "shell/setup.h"
#include "topics/page_catalogue.h"
#include "web/display_list_buffer.h"

// --- what the page provides (web/page/page.js, Module.page) -------------------------

// Cursor in drawing units of the user scale.
EM_JS(double, pm_page_cursor_x, (), { return Module.page.cursorX(); });
EM_JS(double, pm_page_cursor_y, (), { return Module.page.cursorY(); });
// The next queued event: 0 none, (1 << 24) | (shift << 16) | key code,
// (2 << 24) | index of a menu entry, (3 << 24) | crank angle in hundredths
// of a degree picked in the diagrams, or (4 << 24) | (kind << 20) | seed: an
// exercise opened.
EM_JS(int, pm_page_next_event, (), { return Module.page.nextEvent(); });
// Paints a picture: numbers, their count, the texts (UTF-8, separated by
// U+001F), the background colour, the check marks ("1" or "0" per checkable
// entry of the command handler, in menu order), the lines of the values
// panel (see valueLines) and the explanatory page (see explanation), both
// empty while the panel is hidden.
EM_JS(void, pm_page_show,
      (const double* numbers, int count, const char* texts, int background, const char* checks,
       const char* values, const char* explanation),
      {
        Module.page.show(HEAPF64.subarray(numbers >> 3, (numbers >> 3) + count),
                         UTF8ToString(texts), background, UTF8ToString(checks),
                         UTF8ToString(values), UTF8ToString(explanation));
      });
// A frame of the revolution being recorded (numbers, texts and background as
// for pm_page_show): the page paints it off screen for the video and resolves
// at the animation's pace.
EM_ASYNC_JS(void, pm_page_record_frame,
            (const double* numbers, int count, const char* texts, int background), {
              await Module.page.recordFrame(HEAPF64.subarray(numbers >> 3, (numbers >> 3) + count),
                                            UTF8ToString(texts), background);
            });
// Whether the page shows its values panel ("Messwerte").
EM_JS(int, pm_page_values_shown, (), { return Module.page.valuesShown() ? 1 : 0; });
// The size of the diagrams' canvas in CSS pixels; 0 while they are hidden.
EM_JS(int, pm_page_diagrams_width, (), { return Module.page.diagramsWidth(); });
EM_JS(int, pm_page_diagrams_height, (), { return Module.page.diagramsHeight(); });
// Paints the diagrams' sheet (numbers and texts as for pm_page_show).
EM_JS(void, pm_page_show_diagrams, (const double* numbers, int count, const char* texts), {
  Module.page.showDiagrams(HEAPF64.subarray(numbers >> 3, (numbers >> 3) + count), UTF8ToString(texts));
});
// The background picture by name; `page` tells that it is an explanatory
// page, which the side panel shows as text instead while it is open.
EM_JS(void, pm_page_background, (const char* name, int page), {
  Module.page.setBackground(UTF8ToString(name), page != 0);
});
EM_JS(void, pm_page_ended, (), { Module.page.ended(); });
// Resolves at the page's next animation frame that lies at least the frame
// interval after the last one: the pace of runs.
EM_ASYNC_JS(void, pm_page_wait_frame, (), { await Module.page.waitFrame(); });
// Milliseconds since the last wait: the page must get a frame at least this often.
EM_JS(double, pm_page_since_frame, (), { return Module.page.sinceFrame(); });

namespace pm {
namespace {

// Longest time the core runs without letting the page draw and take events.
constexpr double kLongestBusyMs = 30;

class PageHost final : public Host {
 public:
  explicit PageHost(const Edition& edition)
      : form_(canvas_, *this, edition), menu_(menuBarTree(edition)) {
    // The marks of the command handler's items; those of window commands
    // (the values panel) the page keeps itself.
    for (const MenuEntry& e : menu_)
      if (e.checkable && e.windowCommand == WindowCommand::None) checkable_.push_back(e.name);
  }

  Form1& form() { return form_; }

  // The cursor in drawing units: the page gives it in units of the user
  // scale, the view maps it back onto the drawing.
  double cursorX() override { return cursor().x; }
  double cursorY() override { return cursor().y; }
  Point cursor() const {
    return checkedView(form_.view).toDrawing({pm_page_cursor_x(), pm_page_cursor_y()});
  }

  // How the picture is shown; changing it shows the same picture anew.
  ViewOptions options() const {
    ViewOptions o;
    o.view = form_.view;
    o.projector = projector_;
    return o;
  }
  void setProjector(bool on) {
    projector_ = on;
    show();
  }
  bool helpPicture() const {
    return !background_.empty() &&
           (background_ == form_.edition.helpPicture || background_ == form_.edition.keyOverviewPicture);
  }
  const DisplayList& recordedList() const { return canvas_.list(); }

  void processEvents() override {
    // A recording takes no keys or menu commands: they would change the run.
    if (form_.ending || recording_) return;
    // A demonstration stepping through mechanisms whose runs draw nothing
    // still gives the page its frames.
    if (pm_page_since_frame() >= kLongestBusyMs) pm_page_wait_frame();
    deliverQueued();
  }

  void frameReady() override {
    if (form_.ending) return;
    if (recording_) {
      // Recorded, not shown: the screen keeps the picture of before. A
      // frame is kept as it would show, through the view and the projector mode.
      if (form_.runFrame > 0) {
        const ViewOptions o = options();
        buffer_.fill(o.plain() ? canvas_.list() : presented(canvas_.list(), o));
        const Rgb bg = canvas_.backgroundColour();
        pm_page_record_frame(buffer_.numbers().data(), static_cast<int>(buffer_.numbers().size()),
                             buffer_.texts().c_str(), (bg.r << 16) | (bg.g << 8) | bg.b);
        ++recordedFrames_;
      }
      return;
    }
    show();
    // A frame of a run (the command is still on the stack): wait for the
    // page's next frame at the run's pace. The picture at the end of a
    // command is shown at once.
    if (form_.depth > 0) pm_page_wait_frame();
  }

  void setBackgroundPicture(const std::string& fileName) override {
    background_ = fileName;
    showBackground();
  }
  // The projector mode keeps the help pictures only; an explanatory page is
  // shown as text in the side panel while that is open.
  void showBackground() {
    const bool shown = showsBackground(options(), helpPicture());
    pm_page_background(shown ? background_.c_str() : "", shown && pageOfFile(background_) ? 1 : 0);
  }

  void quit() override {
    form_.ending = true;
    pm_page_ended();
  }

  // Keys and menu commands queued while a command ran, each as the window
  // delivers it: a nested command of the one running.
  void deliverQueued() {
    while (!form_.ending) {
      const int event = pm_page_next_event();
      if (event == 0) return;
      deliver(event);
    }
  }

  void deliver(int event) {
    const int kind = event >> 24;
    if (kind == 1) {
      form_.Form_KeyDown(event & 0xFFFF, (event >> 16) & 0xFF);
    } else if (kind == 2) {
      // Window commands are the page's own and never reach the command handler.
      const auto index = static_cast<std::size_t>(event & 0xFFFFFF);
      if (index < menu_.size() && menu_[index].windowCommand == WindowCommand::None)
        form_.menuCommand(menu_[index].name);
    } else if (kind == 3) {
      // A crank angle picked in the diagrams, in hundredths of a degree.
      turnCrankTo(form_, (event & 0xFFFFFF) / 100.0);
    } else if (kind == 4) {
      // An exercise opened from the page's menu or address: kind and seed.
      startExercise(form_, static_cast<ExerciseKind>((event >> 20) & 0xF), event & 0xFFFFF);
    }
  }

  // One revolution of the crank replayed for the page's recorder, the state
  // put back afterwards (Form1::replayRevolution); the number of frames, 0
  // where the crank does not turn round or a command is running.
  int recordRevolution() {
    if (form_.depth > 0 || recording_) return 0;
    recording_ = true;
    recordedFrames_ = 0;
    const std::string background = background_;  // the page keeps showing it
    form_.replayRevolution();
    background_ = background;
    recording_ = false;
    return recordedFrames_;
  }

  std::string checks() const {
    std::string marks;
    for (const std::string& name : checkable_) marks += form_.menuChecked(name) ? '1' : '0';
    return marks;
  }

  void show() {
    const ViewOptions o = options();
    if (o.plain()) {
      buffer_.fill(canvas_.list());
    } else {
      buffer_.fill(presented(canvas_.list(), o));
    }
    showBackground();
    const Rgb bg = canvas_.backgroundColour();
    const std::string marks = checks();
    const bool panel = pm_page_values_shown() != 0;
    const std::string values = panel ? valueLines() : std::string();
    const std::string page = panel ? explanation() : std::string();
    pm_page_show(buffer_.numbers().data(), static_cast<int>(buffer_.numbers().size()),
                 buffer_.texts().c_str(), (bg.r << 16) | (bg.g << 8) | bg.b, marks.c_str(),
                 values.c_str(), page.c_str());
    showDiagrams();
  }

  // The diagrams of the state on screen at the size of the page's canvas for
  // them, while it shows them.
  void showDiagrams() {
    const int width = pm_page_diagrams_width(), height = pm_page_diagrams_height();
    if (width <= 0 || height <= 0) return;
    RecordingCanvas sheet;
    layout_ = drawDiagrams(sheet, shownMotionTable(form_),
                           {static_cast<double>(width), static_cast<double>(height)});
    diagramBuffer_.fill(sheet.list());
    pm_page_show_diagrams(diagramBuffer_.numbers().data(), static_cast<int>(diagramBuffer_.numbers().size()),
                          diagramBuffer_.texts().c_str());
  }

  // The crank angle under a point of the diagrams' sheet, or NaN.
  double pickedAngle(double x, double y) const {
    return crankAngleAt(layout_, x, y).value_or(NAN);
  }

  // The explanatory page on screen for the side panel: its page number
  // ("Tafel 1 von 2" or empty) on the first line, then one block a line: its
  // kind (T title, P paragraph, B bullet item, L legend item) and its runs,
  // each after a U+001F; a swatch is U+001E and its colour "#rrggbb".
  // Empty when no page is shown.
  std::string explanation() const {
    const std::optional<PageRef> page = pageOfFile(background_);
    if (!page) return {};
    std::string text = pageNumberText(*page) + '\n';
    for (const PageBlock& b : parsePage(pageText(form_.edition, *page))) {
      static constexpr char kKinds[] = {'T', 'P', 'B', 'L'};
      if (b.kind == PageBlock::Kind::NextColumn) continue;
      text += kKinds[static_cast<int>(b.kind)];
      for (const PageRun& r : b.runs) text += '\x1f' + (r.swatch ? '\x1e' + hexColour(r.colour) : r.text);
      text += '\n';
    }
    return text;
  }

  // The panel's lines for the state on screen, one a line: name U+001F value
  // (a heading has an empty value).
  std::string valueLines() const {
    std::string text;
    for (const MeasuredValue& v : measuredValues(form_)) text += v.name + '\x1f' + v.value + '\n';
    return text;
  }

 private:
  RecordingCanvas canvas_;
  Form1 form_;
  std::vector<MenuEntry> menu_;  // the menu bar: the edition's tree and "E&xtras"
  DisplayListBuffer buffer_;
  std::vector<std::string> checkable_;
  bool projector_ = false;
  DisplayListBuffer diagramBuffer_;
  DiagramLayout layout_;  // of the sheet the page shows
  bool recording_ = false;
  int recordedFrames_ = 0;
  std::string background_;  // the background picture the core asked for last
};

std::unique_ptr<PageHost> host;
std::string menuText;
std::string checkText;
std::string valueText;
std::string setupText;
std::string csvText;
std::string exerciseText;
std::string explanationText;
std::string jointText;

// The page's name of a window command.
const char* commandName(pm::WindowCommand command) {
  switch (command) {
    case pm::WindowCommand::Menu:
      return "menu";
    case pm::WindowCommand::ValuesPanel:
      return "values";
    case pm::WindowCommand::CopyPicture:
      return "copy";
    case pm::WindowCommand::SavePicture:
      return "save";
    case pm::WindowCommand::SaveAnimation:
      return "animation";
    case pm::WindowCommand::OpenSetup:
      return "open-setup";
    case pm::WindowCommand::SaveSetup:
      return "save-setup";
    case pm::WindowCommand::CopyLink:
      return "copy-link";
    case pm::WindowCommand::Dimensions:
      return "dimensions";
    case pm::WindowCommand::FitView:
      return "fit";
    case pm::WindowCommand::ResetView:
      return "reset-view";
    case pm::WindowCommand::ProjectorMode:
      return "projector";
    case pm::WindowCommand::Diagrams:
      return "diagrams";
    case pm::WindowCommand::SaveDiagrams:
      return "save-diagrams";
    case pm::WindowCommand::ExerciseNumber:
      return "exercise";
    case pm::WindowCommand::None:
      break;
  }
  return "";
}

const Edition& editionOf(int rautenwerk) {
  return rautenwerk ? rautenwerkEdition() : planimoveEdition();
}

}  // namespace
}  // namespace pm

extern "C" {

// The menu bar of an edition (its tree and "E&xtras"), one entry a line:
// name, parent, caption, the flags "s" (submenu) and "c" (checkable), the
// window command ("" for an item of the command handler) and the shortcut
// shown beside it, separated by U+001F.
EMSCRIPTEN_KEEPALIVE const char* pm_menu_tree(int rautenwerk) {
  pm::menuText.clear();
  for (const pm::MenuEntry& e : pm::menuBarTree(pm::editionOf(rautenwerk))) {
    pm::menuText += e.name + '\x1f' + e.parent + '\x1f' + e.caption + '\x1f' +
                    (e.hasSubmenu ? "s" : "") + (e.checkable ? "c" : "") + '\x1f' +
                    pm::commandName(e.windowCommand) + '\x1f' + e.shortcut + '\n';
  }
  return pm::menuText.c_str();
}

// Start-up: start values, emblem, first picture.
EMSCRIPTEN_KEEPALIVE void pm_start(int rautenwerk) {
  if (pm::host) return;
  pm::host = std::make_unique<pm::PageHost>(pm::editionOf(rautenwerk));
  pm::host->form().Form_Activate();
  pm::host->deliverQueued();
}

// One event from the page's queue (same encoding as pm_page_next_event),
// then whatever was queued meanwhile.
EMSCRIPTEN_KEEPALIVE void pm_event(int event) {
  if (!pm::host || pm::host->form().ending) return;
  pm::host->deliver(event);
  pm::host->deliverQueued();
}

// Check marks of the checkable entries, "1" or "0" each, in menu order.
EMSCRIPTEN_KEEPALIVE const char* pm_checks() {
  pm::checkText = pm::host ? pm::host->checks() : std::string();
  return pm::checkText.c_str();
}

// The values panel's lines for the state on screen (see PageHost::valueLines).
EMSCRIPTEN_KEEPALIVE const char* pm_measured_values() {
  pm::valueText = pm::host ? pm::host->valueLines() : std::string();
  return pm::valueText.c_str();
}

// --- the view (draw/view.h); each shows the picture anew ----------------------------

// Zoom by `factor` about a point of the picture (units of the user scale).
EMSCRIPTEN_KEEPALIVE void pm_zoom_view(double x, double y, double factor) {
  if (!pm::host || pm::host->form().ending) return;
  pm::host->form().view = pm::zoomedAbout(pm::host->form().view, {x, y}, factor);
  pm::host->show();
}

// Shift by so many units of the user scale.
EMSCRIPTEN_KEEPALIVE void pm_shift_view(double dx, double dy) {
  if (!pm::host || pm::host->form().ending) return;
  pm::host->form().view = pm::shifted(pm::host->form().view, dx, dy);
  pm::host->show();
}

// "Einpassen": the construction framed clear of the texts and of the page
// picture shown (its size in picture pixels; 0 when none shows). 0 when the
// picture shows no construction.
EMSCRIPTEN_KEEPALIVE int pm_fit_view(double pageWidth, double pageHeight) {
  if (!pm::host || pm::host->form().ending) return 0;
  std::optional<pm::Area> page;
  if (pageWidth > 0 && pageHeight > 0 && !pm::host->helpPicture())
    page = pm::Area{pm::kScaleLeft, pm::kScaleTop, pm::kScaleLeft + pageWidth, pm::kScaleTop + pageHeight};
  const auto view = pm::framingView(pm::host->recordedList(), pm::host->options(), page);
  if (!view) return 0;
  pm::host->form().view = *view;
  pm::host->show();
  return 1;
}

EMSCRIPTEN_KEEPALIVE void pm_reset_view() {
  if (!pm::host || pm::host->form().ending) return;
  pm::host->form().view = pm::View{};
  pm::host->show();
}

EMSCRIPTEN_KEEPALIVE void pm_set_projector(int on) {
  if (pm::host && !pm::host->form().ending) pm::host->setProjector(on != 0);
}

// The page on a touch screen: the exercises ask for a tap and name their menu
// instead of keys. Set before an exercise is opened.
EMSCRIPTEN_KEEPALIVE void pm_set_touch(int on) {
  if (pm::host) pm::host->form().exercise.touch = on != 0;
}

// --- set-ups (shell/setup.h) -----------------------------------------------------

// The state as a set-up file's text.
EMSCRIPTEN_KEEPALIVE const char* pm_setup_text() {
  pm::setupText = pm::host ? pm::writeSetup(pm::host->form()) : std::string();
  return pm::setupText.c_str();
}

// The state as a link's fragment: the compact set-up in base64url.
EMSCRIPTEN_KEEPALIVE const char* pm_setup_link() {
  pm::setupText = pm::host ? pm::setupToLink(pm::host->form()) : std::string();
  return pm::setupText.c_str();
}

namespace pm {
namespace {
// Shows a checked set-up, or keeps everything and returns why it cannot.
const char* openChecked(const std::optional<Setup>& setup, std::string& message) {
  if (setup) {
    applySetup(host->form(), *setup);
    message.clear();
  }
  setupText = message;
  return setupText.c_str();
}
}  // namespace
}  // namespace pm

// A set-up file's text: "" when it is shown, otherwise the German message
// that says what is wrong (nothing changes then).
EMSCRIPTEN_KEEPALIVE const char* pm_open_setup(const char* text) {
  if (!pm::host || pm::host->form().ending) return "";
  std::string message;
  return pm::openChecked(pm::parseSetup(text, pm::host->form().edition, message), message);
}

// A link's fragment (see pm_setup_link), as pm_open_setup.
EMSCRIPTEN_KEEPALIVE const char* pm_open_setup_link(const char* fragment) {
  if (!pm::host || pm::host->form().ending) return "";
  std::string message;
  return pm::openChecked(pm::setupFromLink(fragment, pm::host->form().edition, message), message);
}

// --- the dialog "Maße" (shell/dimension_fields.h) ------------------------------------

// One field a line: key, label, unit and text, separated by U+001F.
EMSCRIPTEN_KEEPALIVE const char* pm_dimension_fields() {
  pm::setupText.clear();
  if (pm::host)
    for (const pm::DimensionField& f : pm::dimensionFields(pm::host->form()))
      pm::setupText += f.key + '\x1f' + f.label + '\x1f' + f.unit + '\x1f' + f.text + '\n';
  return pm::setupText.c_str();
}

// The typed fields, one a line: key U+001F text. "" when applied, otherwise
// the message for the dialog (nothing changes then).
EMSCRIPTEN_KEEPALIVE const char* pm_apply_dimensions(const char* typed) {
  if (!pm::host || pm::host->form().ending) return "";
  std::vector<pm::DimensionField> fields;
  const std::string text(typed);
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string line = text.substr(start, end - start);
    const std::size_t sep = line.find('\x1f');
    if (sep != std::string::npos) fields.push_back({line.substr(0, sep), "", "", line.substr(sep + 1)});
    start = end + 1;
  }
  std::string message;
  return pm::openChecked(pm::checkDimensions(pm::host->form(), fields, message), message);

}

// Draws the diagrams of the state on screen anew (shown, or resized).
EMSCRIPTEN_KEEPALIVE void pm_draw_diagrams() {
  if (pm::host && !pm::host->form().ending) pm::host->showDiagrams();
}

// The crank angle (degrees) under a point of the diagrams, NaN outside the plots.
EMSCRIPTEN_KEEPALIVE double pm_pick_diagram(double x, double y) {
  return pm::host ? pm::host->pickedAngle(x, y) : NAN;
}

// The table of the diagrams as a CSV file; "" where nothing can be tabulated.
EMSCRIPTEN_KEEPALIVE const char* pm_diagram_csv() {
  pm::csvText.clear();
  if (pm::host) {
    const pm::ShownTable shown = pm::shownMotionTable(pm::host->form());
    if (shown.table) pm::csvText = pm::motionCsv(*shown.table);
  }
  return pm::csvText.c_str();
}

// Records one revolution (see PageHost::recordRevolution): the frames go to
// the page's recordFrame, the state is put back; the number of frames.
EMSCRIPTEN_KEEPALIVE int pm_record_revolution() {
  if (!pm::host || pm::host->form().ending) return 0;
  return pm::host->recordRevolution();
}

// The exercise for the page's address: "kind seed 1" while one is open (and
// " richtig" or " falsch" once answered), "kind seed 0" for the last one
// after it was left, "" before any.
EMSCRIPTEN_KEEPALIVE const char* pm_exercise() {
  pm::exerciseText.clear();
  if (!pm::host) return pm::exerciseText.c_str();
  const pm::ExerciseState& e = pm::host->form().exercise;
  const pm::ExerciseKind kind = e.open() ? e.kind : e.lastKind;
  if (const pm::ExerciseKindInfo* info = pm::exerciseKind(kind))
    pm::exerciseText = std::string(info->name) + ' ' + std::to_string(e.open() ? e.seed : e.lastSeed) +
                       (e.open() ? " 1" : " 0");
  if (const std::string verdict = pm::exerciseVerdict(e); !verdict.empty()) pm::exerciseText += ' ' + verdict;
  return pm::exerciseText.c_str();
}

// The texts of the open exercise (see exerciseTextRows), one row a line:
// the sentence's number, its colour (#rrggbb) and the row, parted by tabs;
// "" without an open exercise.
EMSCRIPTEN_KEEPALIVE const char* pm_exercise_texts() {
  pm::exerciseText.clear();
  if (!pm::host) return pm::exerciseText.c_str();
  for (const pm::ExerciseTextRow& row : pm::exerciseTextRows(pm::host->form()))
    pm::exerciseText += std::to_string(row.sentence) + '\t' + pm::hexColour(row.colour) + '\t' +
                        pm::toUtf8(row.text) + '\n';
  return pm::exerciseText.c_str();
}

// The number of a kind of exercise by its name ("wendepol"); 0 for none.
EMSCRIPTEN_KEEPALIVE int pm_exercise_kind(const char* name) {
  return static_cast<int>(pm::exerciseKindNamed(name ? name : ""));
}

// The explanatory page on screen as text (see PageHost::explanation).
EMSCRIPTEN_KEEPALIVE const char* pm_explanation() {
  pm::explanationText = pm::host ? pm::host->explanation() : std::string();
  return pm::explanationText.c_str();
}

// The joints of the mechanism on screen that the page lets the user drag, one
// a line: letter, x and y in units of the user scale (where the picture shows
// them through the view), separated by blanks.
EMSCRIPTEN_KEEPALIVE const char* pm_joints() {
  pm::jointText.clear();
  if (pm::host) {
    const pm::View view = pm::checkedView(pm::host->form().view);
    for (const pm::ShownJoint& j : pm::shownJoints(pm::host->form())) {
      const pm::Point p = view.toPicture({j.x, j.y});
      pm::jointText += std::string(1, j.letter) + ' ' + std::to_string(p.x) + ' ' + std::to_string(p.y) + '\n';
    }
  }
  return pm::jointText.c_str();
}
}  // extern "C"
