#include "soak/soak.h"

#include <ctime>
#include <cmath>
#include <memory>
#include <ostream>
#include <random>
#include <sstream>
#include <vector>

#include "draw/recording_canvas.h"
#include "shell/form1.h"
#include "shell/menu_table.h"

namespace pm::soak {
namespace {

// The host of one program instance: a cursor the soak moves, and the frame
// counter that stops runs and demonstrations which only a key could stop.
class SoakHost : public Host {
 public:
  double x = 500, y = 400;
  int framesThisEvent = 0;
  int maxFrames = 400;
  long stopped = 0;
  Form1* form = nullptr;

  double cursorX() override { return x; }
  double cursorY() override { return y; }
  void processEvents() override {
    if (form == nullptr || form->ending) return;
    if (++framesThisEvent == maxFrames) {
      ++stopped;
      // Planimove's demonstration stops with F2; anything else ends with Esc.
      form->Form_KeyDown(form->st.qxy == 1 ? kKeyF1 + 1 : kKeyEsc, 0);
    }
  }
  void frameReady() override {}
  void setBackgroundPicture(const std::string&) override {}
  void quit() override {}
};

struct Program {
  RecordingCanvas canvas;
  SoakHost host;
  std::unique_ptr<Form1> form;
  explicit Program(const Edition& edition) {
    form = std::make_unique<Form1>(canvas, host, edition);
    host.form = form.get();
  }
};

// CPU time of this thread: the work a command does, whatever else the machine
// runs at the same time (ctest runs suites side by side).
double threadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

std::string keyName(int keyCode, int shift) {
  std::ostringstream s;
  if (shift & kShift) s << "Shift+";
  if (shift & kCtrl) s << "Ctrl+";
  if (shift & kAlt) s << "Alt+";
  if (keyCode >= 112 && keyCode <= 120) s << 'F' << keyCode - 111;
  else if ((keyCode >= 48 && keyCode <= 57) || (keyCode >= 65 && keyCode <= 90)) s << char(keyCode);
  else s << "key" << keyCode;
  return s.str();
}

std::string checkInvariants(const Form1& f, const DisplayList& picture) {
  // Every script of the program is well formed: a fault means a register was
  // addressed outside its bank by the program itself.
  if (!f.cmd.errors.empty()) {
    std::string command;
    for (char32_t c : f.cmd.errors.front().command) command += c < 128 ? char(c) : '?';
    return "script fault in \"" + command + "\": " + f.cmd.errors.front().reason;
  }
  if (!(f.st.mn0 >= 1)) return "mn0 below 1";
  if (!(f.st.mn1 >= 1)) return "mn1 below 1";
  if (!(f.st.mn5 >= 0)) return "mn5 below 0";
  std::string bad;
  f.st.forEachNumeric([&](std::string_view name, const double& v) {
    if (bad.empty() && !std::isfinite(v)) bad = "state field " + std::string(name) + " not finite";
  });
  if (!bad.empty()) return bad;
  if (!std::isfinite(f.engine.s.X) || !std::isfinite(f.engine.s.Y)) return "X or Y not finite";
  for (std::size_t i = 0; i < picture.size(); ++i) {
    const Primitive& p = picture[i];
    for (double v : {p.x1, p.y1, p.x2, p.y2, p.r, p.start, p.end, p.width, p.size})
      if (!std::isfinite(v)) return "primitive " + std::to_string(i) + " (" + kindName(p.kind) + ") has a non-finite number";
  }
  return {};
}

}  // namespace

Report run(const Options& options, std::ostream& log) {
  Report report;
  std::mt19937_64 rng(options.seed);
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto chance = [&](double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; };

  const Edition* editions[] = {&planimoveEdition(), &rautenwerkEdition()};
  int editionIndex = 0;
  auto program = std::make_unique<Program>(*editions[0]);
  auto start = [&](int index) {
    editionIndex = index;
    program = std::make_unique<Program>(*editions[index]);
    program->host.maxFrames = options.maxFrames;
    program->form->Form_Activate();
  };
  start(0);
  std::vector<std::string> menuNames[2];
  for (int e = 0; e < 2; ++e)
    for (const MenuEntry& m : menuTree(*editions[e])) menuNames[e].push_back(m.name);

  static const int navigation[] = {kKeySpace, kKeyBackspace, kKeyLeft, kKeyRight, kKeyUp, kKeyDown,
                                   kKeyPgUp,  kKeyPgDn,      kKeyHome, kKeyRebuild};
  for (long n = 0; n < options.events; ++n) {
    Form1& f = *program->form;
    SoakHost& host = program->host;
    // The cursor: mostly inside the picture, sometimes far outside it.
    if (chance(0.3)) {
      if (chance(0.8)) {
        host.x = uniform(0, 1022);
        host.y = uniform(40, 731);
      } else {
        host.x = uniform(-200000, 200000);
        host.y = uniform(-200000, 200000);
      }
    }
    std::string what;
    int keyCode = -1, shift = 0;
    const int kind = uniform(0, 99);
    if (kind < 40) {
      keyCode = navigation[uniform(0, 9)];
      shift = uniform(0, 7);
      if (shift > 1 && chance(0.6)) shift = uniform(0, 1);  // plain stepping is the common case
    } else if (kind < 52) {
      keyCode = kKeyF1 + uniform(0, 8);
      shift = chance(0.8) ? uniform(0, 1) : uniform(0, 7);
    } else if (kind < 67) {
      keyCode = 'A' + uniform(0, 25);
      shift = chance(0.9) ? 0 : uniform(0, 7);
    } else if (kind < 71) {
      keyCode = '0' + uniform(0, 9);
    } else if (kind < 87) {
      const auto& names = menuNames[editionIndex];
      if (!names.empty()) what = "menu:" + names[uniform(0, static_cast<int>(names.size()) - 1)];
    } else if (kind < 88) {
      keyCode = chance(0.5) ? kKeyEsc : kKeyEnd;
    } else if (kind < 90) {
      // Pose a synthesis and hand it to the analysis: group 10, the pair keys, subtopic 8.
      what = "synthesis";
    } else {
      keyCode = uniform(0, 255);
      shift = uniform(0, 7);
    }
    if (what.empty() && keyCode >= 0) what = keyName(keyCode, shift);
    if (what.empty()) what = "Rebuild";

    host.framesThisEvent = 0;
    const double t0 = threadCpuMs();
    if (what == "synthesis") {
      f.Form_KeyDown('4', 0);
      for (char k : {'T', 'U', 'V', 'W'}) {
        host.x = uniform(100, 900);
        host.y = uniform(100, 650);
        if (!f.ending) f.Form_KeyDown(k, 0);
      }
      if (!f.ending && f.st.qtx == 1) f.Form_KeyDown(kKeyF1 + 2, 0);
      for (int i = 0; i < 2 && !f.ending; ++i) f.Form_KeyDown(kKeyDown, 0);
      report.commands += 6;
    } else if (what.rfind("menu:", 0) == 0) {
      f.menuCommand(what.substr(5));
      ++report.commands;
    } else {
      f.Form_KeyDown(keyCode < 0 ? kKeyRebuild : keyCode, shift);
      ++report.commands;
    }
    const double ms = threadCpuMs() - t0;
    ++report.events;

    if (!f.ending) {
      const std::string broken = checkInvariants(f, program->canvas.list());
      if (!broken.empty()) {
        report.failure = "event " + std::to_string(n) + " (" + what + "): " + broken;
        return report;
      }
    }
    const bool ran = host.framesThisEvent > 0;
    if (!ran && what != "synthesis" && ms > report.slowestMs) {
      report.slowestMs = ms;
      report.slowestEvent = what;
    }
    if (options.checkTime && !ran && what != "synthesis" && ms > options.timeLimitMs) {
      report.failure = "event " + std::to_string(n) + " (" + what + ") took " + std::to_string(ms) + " ms";
      return report;
    }
    if (f.ending) {
      ++report.restarts;
      report.framesStopped += host.stopped;
      start(uniform(0, 1));
    }
    if ((n + 1) % 100000 == 0) log << "soak: " << n + 1 << " events\n" << std::flush;
  }
  report.framesStopped += program->host.stopped;
  return report;
}

}  // namespace pm::soak
