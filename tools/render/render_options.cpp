#include "render_options.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <utility>

#include "draw/canvas.h"
#include "exercise/exercise_kinds.h"
#include "shell/form1.h"
#include "shell/menu_table.h"

namespace pm::render {

namespace {

struct NamedKey {
  std::string_view name;
  int code;
};

constexpr NamedKey kNamedKeys[] = {
    {"Space", kKeySpace}, {"Backspace", kKeyBackspace}, {"Esc", kKeyEsc},
    {"PgUp", kKeyPgUp},   {"PgDn", kKeyPgDn},           {"End", kKeyEnd},
    {"Home", kKeyHome},   {"Left", kKeyLeft},           {"Up", kKeyUp},
    {"Right", kKeyRight}, {"Down", kKeyDown},           {"Rebuild", kKeyRebuild},
    {"Enter", 13},
};

std::optional<int> keyCodeOf(std::string_view name) {
  if (name.size() == 1 &&
      ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9')))
    return static_cast<unsigned char>(name[0]);
  if (name.size() == 2 && name[0] == 'F' && name[1] >= '1' && name[1] <= '9')
    return kKeyF1 + (name[1] - '1');
  for (const NamedKey& k : kNamedKeys)
    if (k.name == name) return k.code;
  return std::nullopt;
}

// A finite number written completely, as in "@120.5,-3".
std::optional<double> number(std::string_view text) {
  double v = 0;
  const char* end = text.data() + text.size();
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  const auto [ptr, ec] = std::from_chars(text.data(), end, v);
  if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(v)) return std::nullopt;
  return v;
}

// "WxH" with whole numbers from 1 to kMaxPictureSide.
bool parseSize(std::string_view text, int& width, int& height) {
  const std::size_t x = text.find('x');
  if (x == std::string_view::npos) return false;
  auto whole = [](std::string_view t, int& out) {
    const auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), out);
    return !t.empty() && ec == std::errc() && ptr == t.data() + t.size() && out >= 1 &&
           out <= kMaxPictureSide;
  };
  return whole(text.substr(0, x), width) && whole(text.substr(x + 1), height);
}

// "X,Y" in drawing units.
bool parsePoint(std::string_view at, std::optional<double>& x, std::optional<double>& y) {
  const std::size_t comma = at.find(',');
  if (comma == std::string_view::npos) return false;
  x = number(at.substr(0, comma));
  y = number(at.substr(comma + 1));
  return x && y;
}

std::optional<Event> parseCursor(Event e, std::string_view at) {
  if (!parsePoint(at, e.cursorX, e.cursorY)) return std::nullopt;
  return e;
}

}  // namespace

std::optional<Event> parseKey(std::string_view text) {
  Event e;
  e.text = std::string(text);
  std::string_view rest = text;
  std::string_view at;
  if (const std::size_t p = rest.find('@'); p != std::string_view::npos) {
    at = rest.substr(p + 1);
    rest = rest.substr(0, p);
  }
  static constexpr std::pair<std::string_view, int> kModifiers[] = {
      {"Shift+", kShift}, {"Ctrl+", kCtrl}, {"Alt+", kAlt}};
  // The modifiers in their fixed order, each at most once.
  for (const auto& [prefix, bit] : kModifiers) {
    if (rest.starts_with(prefix)) {
      e.shift |= bit;
      rest.remove_prefix(prefix.size());
    }
  }
  const auto code = keyCodeOf(rest);
  if (!code) return std::nullopt;
  e.keyCode = *code;
  if (text.find('@') != std::string_view::npos) return parseCursor(std::move(e), at);
  return e;
}

std::optional<std::vector<Event>> parseEvents(std::string_view events, const Edition& edition,
                                              std::string& error) {
  std::vector<Event> out;
  std::size_t pos = 0;
  int index = 0;
  while (pos < events.size()) {
    if (events[pos] == ' ') {
      ++pos;
      continue;
    }
    const std::size_t end = std::min(events.find(' ', pos), events.size());
    const std::string_view token = events.substr(pos, end - pos);
    ++index;
    const std::string where = "event " + std::to_string(index) + " (character " +
                              std::to_string(pos + 1) + ") \"" + std::string(token) + "\": ";
    if (token.starts_with("menu:")) {
      const std::string name(token.substr(5));
      if (findMenuEntry(menuTree(edition), name) == nullptr && findMenuEntry(exerciseMenu(), name) == nullptr) {
        error = where + "no menu item of that name in " + edition.name;
        return std::nullopt;
      }
      Event e;
      e.kind = Event::Kind::Menu;
      e.menu = name;
      e.text = std::string(token);
      out.push_back(std::move(e));
    } else if (auto key = parseKey(token)) {
      out.push_back(std::move(*key));
    } else {
      error = where + "not a key ([Shift+][Ctrl+][Alt+]NAME[@X,Y]) or menu:NAME";
      return std::nullopt;
    }
    pos = end;
  }
  return out;
}

std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error) {
  Options o;
  std::string keys;
  bool haveKeys = false, haveSeed = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const std::string where = "argument " + std::to_string(i + 1) + " \"" + a + "\": ";
    if (a == "--fit" || a == "--projector" || a == "--clean" || a == "--crop") {
      (a == "--fit" ? o.fit : a == "--projector" ? o.projector : a == "--clean" ? o.clean : o.crop) = true;
      continue;
    }
    if (a == "--solution") {
      o.solution = true;
      continue;
    }
    const bool takesValue = a == "--edition" || a == "--pictures" || a == "--keys" ||
                            a == "--png" || a == "--svg" || a == "--json" || a == "--max-frames" ||
                            a == "--size" || a == "--gif" || a == "--setup" || a == "--write-setup" ||
                            a == "--diagram-csv" || a == "--diagram-svg" || a == "--diagram-png" ||
                            a == "--diagram-size" || a == "--exercise" || a == "--seed" || a == "--answer";
    if (!takesValue) {
      error = where + "unknown option";
      return std::nullopt;
    }
    if (i + 1 >= args.size()) {
      error = where + "needs a value";
      return std::nullopt;
    }
    const std::string& v = args[++i];
    if (a == "--edition") {
      if (v == "planimove") {
        o.edition = &planimoveEdition();
      } else if (v == "rautenwerk") {
        o.edition = &rautenwerkEdition();
      } else {
        error = where + "the edition is planimove or rautenwerk, not \"" + v + "\"";
        return std::nullopt;
      }
    } else if (a == "--pictures") {
      std::error_code ec;
      if (v.empty() || !std::filesystem::is_directory(v, ec)) {
        error = where + "\"" + v + "\" is not a folder";
        return std::nullopt;
      }
      o.pictures = v;
    } else if (a == "--keys") {
      keys = v;
      haveKeys = true;
    } else if (a == "--max-frames") {
      long n = 0;
      const auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
      if (v.empty() || ec != std::errc() || ptr != v.data() + v.size() || n < 1) {
        error = where + "the frame limit is a whole number of at least 1, not \"" + v + "\"";
        return std::nullopt;
      }
      o.maxFrames = n;
    } else if (a == "--exercise") {
      if (exerciseKindNamed(v) == ExerciseKind::None) {
        std::string kinds;
        for (const ExerciseKindInfo& k : exerciseKinds()) kinds += (kinds.empty() ? "" : ", ") + std::string(k.name);
        error = where + "the kind of exercise is one of " + kinds + ", not \"" + v + "\"";
        return std::nullopt;
      }
      o.exercise = v;
    } else if (a == "--seed") {
      long n = 0;
      const auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
      if (v.empty() || ec != std::errc() || ptr != v.data() + v.size() || n < 1 || n > kLastExerciseSeed) {
        error = where + "the seed is a whole number from 1 to " + std::to_string(kLastExerciseSeed) +
                ", not \"" + v + "\"";
        return std::nullopt;
      }
      o.seed = n;
      haveSeed = true;
    } else if (a == "--answer") {
      if (!parsePoint(v, o.answerX, o.answerY)) {
        error = where + "the answer is X,Y in drawing units, not \"" + v + "\"";
        return std::nullopt;
      }
    } else if (a == "--size") {
      if (!parseSize(v, o.width, o.height)) {
        error = where + "the size is WIDTHxHEIGHT in pixels, each 1 to " +
                std::to_string(kMaxPictureSide) + ", not \"" + v + "\"";
        return std::nullopt;
      }
    } else if (a == "--diagram-size") {
      if (!parseSize(v, o.diagramWidth, o.diagramHeight)) {
        error = where + "the size is WIDTHxHEIGHT in pixels, each 1 to 20000, not \"" + v + "\"";
        return std::nullopt;
      }
    } else if (v.empty()) {
      error = where + "the file name is empty";
      return std::nullopt;
    } else if (a == "--png") {
      o.png = v;
    } else if (a == "--svg") {
      o.svg = v;
    } else if (a == "--gif") {
      o.gif = v;
    } else if (a == "--setup") {
      o.setup = v;
    } else if (a == "--write-setup") {
      o.writeSetup = v;
    } else if (a == "--diagram-csv") {
      o.diagramCsv = v;
    } else if (a == "--diagram-svg") {
      o.diagramSvg = v;
    } else if (a == "--diagram-png") {
      o.diagramPng = v;
    } else {
      o.json = v;
    }
  }
  if (o.exercise.empty() && (haveSeed || o.answerX || o.solution)) {
    error = "--seed, --answer and --solution need --exercise KIND";
    return std::nullopt;
  }
  // Events are checked against the menu tree of the edition chosen anywhere on the line.
  if (haveKeys) {
    std::string eventError;
    auto events = parseEvents(keys, *o.edition, eventError);
    if (!events) {
      error = "--keys: " + eventError;
      return std::nullopt;
    }
    o.events = std::move(*events);
  }
  return o;
}

std::string_view usage() {
  return "usage: planimove-render [--edition planimove|rautenwerk] [--pictures DIR]\n"
         "                        [--keys \"EVENTS\"] [--png FILE] [--svg FILE] [--json FILE|-]\n"
         "                        [--gif FILE] [--max-frames N] [--size WIDTHxHEIGHT]\n"
         "                        [--setup FILE] [--write-setup FILE]\n"
         "                        [--fit] [--projector] [--clean] [--crop]\n"
         "                        [--diagram-csv FILE] [--diagram-svg FILE] [--diagram-png FILE]\n"
         "                        [--diagram-size WIDTHxHEIGHT]\n"
         "                        [--exercise KIND [--seed N] [--answer X,Y] [--solution]]\n"
         "EVENTS: keys [Shift+][Ctrl+][Alt+]NAME[@X,Y] (NAME A-Z, 0-9, Space, Backspace, Esc,\n"
         "        PgUp, PgDn, End, Home, Left, Up, Right, Down, F1-F9, Enter, Rebuild) and\n"
         "        menu:NAME, separated by blanks\n"
         "--exercise KIND: opens exercise N (--seed, 1 by default) of a kind (momentanpol,\n"
         "        gegenpol, geschwindigkeit, wendepol, kruemmungsmittelpunkt,\n"
         "        beschleunigungspol) before the events; --answer X,Y answers it at that\n"
         "        point (drawing units) after them, --solution then shows its solution\n"
         "--gif FILE: every frame of the events' full-revolution runs as a looping GIF,\n"
         "        3/100 s a frame, at the size of --size\n"
         "--setup FILE: start from a set-up (.planimove); --write-setup FILE: the state\n"
         "        after the events as a set-up\n"
         "--fit: frame the construction after the events; --projector: the projector mode;\n"
         "        --clean: without page picture, emblem and status lines; --crop: only the\n"
         "        construction, cropped, fitted into --size\n"
         "--diagram-csv, --diagram-svg, --diagram-png FILE: the diagrams over the crank angle\n"
         "        of the last state as a table or a picture (--diagram-size, default 800x1000)\n";
}

}  // namespace pm::render
