// Writing and reading set-ups. A set-up is read field by field into the start
// state of the program (what is left out keeps its start value); the lengths
// and angles go through the one conversion of kinematics/physical_values, so
// that the values panel shows exactly what the set-up says. The whole document is checked before any of
// it is used: the form changes only when everything is right.
#include "shell/setup.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <numbers>

#include "kinematics/number_format.h"
#include "kinematics/physical_values.h"
#include "kinematics/planar_motion.h"
#include "shell/atomic_file.h"
#include "shell/form1.h"
#include "topics/catalogue.h"
#include "topics/parameter_strings.h"
#include "topics/topic_rows.h"

namespace pm {

namespace {

using Json = nlohmann::ordered_json;
namespace phys = physical;

constexpr double kDeg = std::numbers::pi / 180;
constexpr std::size_t kMaxSetupBytes = 1 << 20;
constexpr std::size_t kMaxRecordedChars = 4000;
// Far beyond any picture, and still far from where the arithmetic suffers.
constexpr double kMaxLength = 1e6;
constexpr double kMaxCoordinate = 1e6;

// The synthesis task: distance n, the positions A … D as (o, p) … (u, v), the
// directions w … z.
constexpr std::array<std::array<char, 2>, 4> kPositions = {{{'o', 'p'}, {'q', 'r'}, {'s', 't'}, {'u', 'v'}}};
constexpr std::array<char, 4> kDirections = {'w', 'x', 'y', 'z'};

// The display flags by their names in a set-up.
struct Flag {
  const char* name;
  double StateRecord::*field;
};
constexpr std::array<Flag, 7> kFlags = {{{"texts", &StateRecord::qtx},
                                         {"jointLetters", &StateRecord::qsc},
                                         {"linkLetters", &StateRecord::qsd},
                                         {"dataListing", &StateRecord::qse},
                                         {"pointLetters", &StateRecord::qßß},
                                         {"grid", &StateRecord::qsr},
                                         {"presetStrings", &StateRecord::qgx}}};

constexpr std::array<const char*, 25> kTopLevel = {
    "format", "version",   "edition", "type",     "group",  "topic",      "page",
    "lengths", "flipped",  "crankAngle", "driveAngle", "omega", "alpha",  "frameAngle",
    "pivot",  "sense",     "driveStep", "zoom",   "symbolSize", "gridSpacing", "brightness",
    "display", "view",     "points",  "synthesis"};

// The letters whose lengths the zoom scales: the mechanism's links and
// coupler points (a … f), the links the six-bars add (g … p).
constexpr std::string_view kLengthLetters = "abcdefghijklmnop";

// --- the state's numbers and the signs of its lengths ------------------------

// A number a … z as the next load gives it (preset + offset).
double number(const StateRecord& st, char letter) {
  const double* offset = numberOffset(st, letter);
  return fieldOf(presetNumberString(st, st.mn0), letter) + (offset ? *offset : 0);
}
void setNumber(StateRecord& st, char letter, double value) {
  if (double* offset = numberOffset(st, letter)) *offset = value - fieldOf(presetNumberString(st, st.mn0), letter);
}

double presetLength(const StateRecord& st, char letter) {
  return fieldOf(presetLengthString(st, st.mn0), letter);
}

// Whether a length is loaded with the other sign than its preset's, that is
// in the other assembly (a length of 0 counts by its sign factor).
bool isFlipped(const StateRecord& st, char letter) {
  const double loaded = lengthFactor(st, letter) * (presetLength(st, letter) + *lengthOffset(st, letter));
  if (loaded == 0) return lengthFactor(st, letter) < 0;
  return std::signbit(loaded) != std::signbit(presetLength(st, letter));
}

// Turns a length into the other assembly: through its sign factor where it
// has one, as Shift+F1 … F5 do, else through the offset.
void turnSign(StateRecord& st, char letter) {
  double* const offset = lengthOffset(st, letter);
  const double preset = presetLength(st, letter);
  switch (letter) {
    case 'c': st.qcc = -st.qcc; return;
    case 'f': st.qff = -st.qff; return;
    case 'h': st.qhh = -st.qhh; return;
    case 'n': st.qnn = -st.qnn; return;
    case 'p': st.qpp = -st.qpp; return;
    default: *offset = -(preset + *offset) - preset; return;
  }
}

// The drive step in degrees per step, signed as it turns (val i and qzw).
double driveStep(const StateRecord& st) { return st.si + st.qzw * fieldOf(presetNumberString(st, st.mn0), 'i'); }
void setDriveStep(StateRecord& st, double degrees) {
  const double preset = fieldOf(presetNumberString(st, st.mn0), 'i');
  // The sign lives in qzw, as the reversal at a dead position leaves it.
  st.qzw = preset != 0 && std::signbit(degrees) != std::signbit(preset) ? -1 : 1;
  st.si = degrees - st.qzw * preset;
}

// `value` or the nearest neighbouring double that `set` turns back into the
// same state: ω and α written so restore the drive to the last bit.
double restoring(const StateRecord& st, double value, bool (*set)(StateRecord&, double)) {
  auto restores = [&](double v) {
    StateRecord probe = st;
    set(probe, v);
    return probe.qv == st.qv && probe.qx == st.qx && probe.qxx == st.qxx;
  };
  if (!std::isfinite(value) || restores(value)) return value;
  double up = value, down = value;
  for (int i = 0; i < 8; ++i) {
    up = std::nextafter(up, HUGE_VAL);
    down = std::nextafter(down, -HUGE_VAL);
    if (restores(up)) return up;
    if (restores(down)) return down;
  }
  return value;
}

std::string lowerCase(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// A number as a German reads it in a message.
std::string shown(double v) { return germanNumber(v); }

// --- writing -----------------------------------------------------------------

Json pair(double x, double y) { return Json::array({x, y}); }

Json fullSetup(const StateRecord& st, const View& view, const Edition& edition) {
  Json doc;
  doc["format"] = kSetupFormat;
  doc["version"] = kSetupVersion;
  doc["edition"] = lowerCase(edition.name);
  doc["type"] = st.mn0;
  doc["group"] = st.mn1;
  doc["topic"] = st.mn2;
  doc["page"] = st.mn5;
  Json lengths = Json::object();
  Json flipped = Json::array();
  for (char c : kLengthLetters) {
    lengths[std::string(1, c)] = phys::lengthOf(st, c);
    if (isFlipped(st, c)) flipped.push_back(std::string(1, c));
  }
  doc["lengths"] = std::move(lengths);
  doc["flipped"] = std::move(flipped);
  doc["crankAngle"] = phys::crankAngleOf(st);
  doc["driveAngle"] = st.wxx;
  doc["omega"] = restoring(st, phys::omegaOf(st), phys::setOmega);
  doc["alpha"] = restoring(st, phys::alphaOf(st), phys::setAlpha);
  doc["frameAngle"] = number(st, 'd');
  doc["pivot"] = pair(number(st, 'a'), number(st, 'b'));
  doc["sense"] = st.qgw;
  doc["driveStep"] = driveStep(st);
  doc["zoom"] = st.qzz;
  doc["symbolSize"] = st.qbr;
  doc["gridSpacing"] = 20 + st.qrtt;
  doc["brightness"] = {{"low", st.rr1}, {"middle", st.gg1}, {"high", st.bb1}};
  Json display = Json::object();
  for (const Flag& f : kFlags) display[f.name] = st.*f.field == 1;
  doc["display"] = std::move(display);
  doc["view"] = {{"scale", view.scale}, {"x", view.x}, {"y", view.y}};
  doc["points"] = {{"P", pair(number(st, 'e'), number(st, 'f'))},
                   {"Q", pair(number(st, 'g'), number(st, 'h'))}};
  Json synthesis;
  synthesis["distance"] = number(st, 'n');
  Json positions = Json::array();
  for (const auto& [x, y] : kPositions) positions.push_back(pair(number(st, x), number(st, y)));
  synthesis["positions"] = std::move(positions);
  Json directions = Json::array();
  for (char c : kDirections) directions.push_back(number(st, c));
  synthesis["directions"] = std::move(directions);
  Json pairs = Json::array();
  pairs.push_back(st.bz1 == 1 ? Json::array({st.bxx, st.byx, st.bxa, st.bya}) : Json());
  pairs.push_back(st.bz2 == 1 ? Json::array({st.bxy, st.byy, st.bxb, st.byb}) : Json());
  synthesis["pairs"] = std::move(pairs);
  synthesis["recorded"] = {{"lengths", st.gg}, {"numbers", st.hg}};
  doc["synthesis"] = std::move(synthesis);
  return doc;
}

// Leaves out of `doc` what equals `reference`, member by member inside
// objects; what names the document (format, version, edition, type) stays.
void dropDefaults(Json& doc, const Json& reference, bool top) {
  for (auto it = doc.begin(); it != doc.end();) {
    const auto ref = reference.find(it.key());
    const bool naming = top && (it.key() == "format" || it.key() == "version" || it.key() == "edition" ||
                                it.key() == "type");
    if (ref == reference.end() || naming) {
      ++it;
    } else if (*ref == it.value()) {
      it = doc.erase(it);
    } else {
      if (it.value().is_object() && ref->is_object()) dropDefaults(it.value(), *ref, false);
      ++it;
    }
  }
}

// --- reading -----------------------------------------------------------------

// A fault of a set-up, with its German message.
struct Refused {
  std::string message;
};

[[noreturn]] void refuse(std::string message) { throw Refused{std::move(message)}; }

std::string fieldName(const std::string& path) { return "„" + path + "“"; }

double numberAt(const Json& v, const std::string& path) {
  if (!v.is_number()) refuse("Das Feld " + fieldName(path) + " muss eine Zahl sein.");
  const double d = v.get<double>();
  if (!std::isfinite(d)) refuse("Das Feld " + fieldName(path) + " ist keine endliche Zahl.");
  return d;
}

double numberWithin(const Json& v, const std::string& path, double low, double high) {
  const double d = numberAt(v, path);
  if (d < low || d > high)
    refuse("Das Feld " + fieldName(path) + " liegt mit " + shown(d) + " außerhalb von " + shown(low) +
           " bis " + shown(high) + ".");
  return d;
}

int wholeWithin(const Json& v, const std::string& path, int low, int high) {
  const double d = numberWithin(v, path, low, high);
  if (d != std::floor(d)) refuse("Das Feld " + fieldName(path) + " muss eine ganze Zahl sein.");
  return static_cast<int>(d);
}

bool flagAt(const Json& v, const std::string& path) {
  if (!v.is_boolean()) refuse("Das Feld " + fieldName(path) + " muss true oder false sein.");
  return v.get<bool>();
}

const Json& objectAt(const Json& v, const std::string& path) {
  if (!v.is_object()) refuse("Das Feld " + fieldName(path) + " muss ein Objekt sein ({ … }).");
  return v;
}

Point pointAt(const Json& v, const std::string& path) {
  if (!v.is_array() || v.size() != 2)
    refuse("Das Feld " + fieldName(path) + " muss zwei Zahlen enthalten ([x, y]).");
  return {numberWithin(v[0], path + "[0]", -kMaxCoordinate, kMaxCoordinate),
          numberWithin(v[1], path + "[1]", -kMaxCoordinate, kMaxCoordinate)};
}

// Only the named members, so that a misspelt name is found.
void onlyMembers(const Json& object, const std::string& path, std::initializer_list<const char*> names) {
  for (auto it = object.begin(); it != object.end(); ++it) {
    bool known = false;
    for (const char* n : names) known = known || it.key() == n;
    if (!known) refuse("Unbekanntes Feld " + fieldName(path.empty() ? it.key() : path + "." + it.key()) + ".");
  }
}

char lengthLetter(const std::string& key, const std::string& path) {
  if (key.size() != 1 || kLengthLetters.find(key[0]) == std::string_view::npos)
    refuse("Im Feld " + fieldName(path) + " steht „" + key + "“: Längen haben die Buchstaben a bis p.");
  return key[0];
}

const Json* member(const Json& doc, const char* name) {
  const auto it = doc.find(name);
  return it == doc.end() ? nullptr : &*it;
}

void readLengths(const Json& doc, StateRecord& st) {
  std::array<std::optional<double>, 16> given{};
  std::array<bool, 16> flip{};
  if (const Json* lengths = member(doc, "lengths")) {
    objectAt(*lengths, "lengths");
    for (auto it = lengths->begin(); it != lengths->end(); ++it) {
      const char c = lengthLetter(it.key(), "lengths");
      const std::string path = "lengths." + it.key();
      const double mm = numberAt(it.value(), path);
      if (mm < 0)
        refuse("Die Länge " + it.key() + " ist negativ (" + shown(mm) +
               " mm). Längen sind Beträge; die andere Montage steht in „flipped“.");
      if (mm > kMaxLength)
        refuse("Die Länge " + it.key() + " ist mit " + shown(mm) + " mm zu groß (höchstens " +
               shown(kMaxLength) + " mm).");
      given[static_cast<std::size_t>(c - 'a')] = mm;
    }
  }
  if (const Json* flipped = member(doc, "flipped")) {
    if (!flipped->is_array()) refuse("Das Feld „flipped“ muss eine Liste von Buchstaben sein ([\"c\"]).");
    for (const Json& letter : *flipped) {
      if (!letter.is_string()) refuse("Das Feld „flipped“ muss eine Liste von Buchstaben sein ([\"c\"]).");
      flip[static_cast<std::size_t>(lengthLetter(letter.get<std::string>(), "flipped") - 'a')] = true;
    }
  }
  for (char c : kLengthLetters) {
    const std::size_t i = static_cast<std::size_t>(c - 'a');
    if (given[i]) phys::setLength(st, c, *given[i]);
    if (flip[i] != isFlipped(st, c)) turnSign(st, c);
  }
}

void readSynthesis(const Json& s, StateRecord& st) {
  objectAt(s, "synthesis");
  onlyMembers(s, "synthesis", {"distance", "positions", "directions", "pairs", "recorded"});
  if (const Json* d = member(s, "distance"))
    setNumber(st, 'n', numberWithin(*d, "synthesis.distance", 0, kMaxCoordinate));
  if (const Json* positions = member(s, "positions")) {
    if (!positions->is_array() || positions->size() != 4)
      refuse("Das Feld „synthesis.positions“ muss die vier Lagen enthalten ([[x, y], … ]).");
    for (std::size_t k = 0; k < 4; ++k) {
      const Point p = pointAt((*positions)[k], "synthesis.positions[" + std::to_string(k) + "]");
      setNumber(st, kPositions[k][0], p.x);
      setNumber(st, kPositions[k][1], p.y);
    }
  }
  if (const Json* directions = member(s, "directions")) {
    if (!directions->is_array() || directions->size() != 4)
      refuse("Das Feld „synthesis.directions“ muss vier Winkel enthalten.");
    for (std::size_t k = 0; k < 4; ++k)
      setNumber(st, kDirections[k],
                     numberWithin((*directions)[k], "synthesis.directions[" + std::to_string(k) + "]",
                                  -kMaxCoordinate, kMaxCoordinate));
  }
  if (const Json* pairs = member(s, "pairs")) {
    if (!pairs->is_array() || pairs->size() != 2)
      refuse("Das Feld „synthesis.pairs“ muss zwei Einträge haben (je null oder [x1, y1, x2, y2]).");
    using Field = double StateRecord::*;
    const std::array<std::array<Field, 5>, 2> fields = {
        {{&StateRecord::bz1, &StateRecord::bxx, &StateRecord::byx, &StateRecord::bxa, &StateRecord::bya},
         {&StateRecord::bz2, &StateRecord::bxy, &StateRecord::byy, &StateRecord::bxb, &StateRecord::byb}}};
    for (std::size_t k = 0; k < 2; ++k) {
      const Json& p = (*pairs)[k];
      const std::string path = "synthesis.pairs[" + std::to_string(k) + "]";
      if (p.is_null()) continue;
      if (!p.is_array() || p.size() != 4)
        refuse("Das Feld " + fieldName(path) + " muss null oder vier Zahlen sein ([x1, y1, x2, y2]).");
      st.*fields[k][0] = 1;
      for (std::size_t i = 0; i < 4; ++i)
        st.*fields[k][i + 1] = numberWithin(p[i], path, -kMaxCoordinate, kMaxCoordinate);
    }
  }
}

void readView(const Json& v, View& view) {
  objectAt(v, "view");
  onlyMembers(v, "view", {"scale", "x", "y"});
  View out;
  if (const Json* s = member(v, "scale"))
    out.scale = numberWithin(*s, "view.scale", kMinViewScale, kMaxViewScale);
  if (const Json* x = member(v, "x")) out.x = numberWithin(*x, "view.x", -1e7, 1e7);
  if (const Json* y = member(v, "y")) out.y = numberWithin(*y, "view.y", -1e7, 1e7);
  view = out;
}

// The crank angle: φ as given; the drive angle written beside it gives the
// same φ to the last digit, and is taken where it agrees with φ.
void readAngles(const Json& doc, StateRecord& st) {
  const Json* phi = member(doc, "crankAngle");
  const Json* drive = member(doc, "driveAngle");
  std::optional<double> driveAngle;
  if (drive) driveAngle = numberWithin(*drive, "driveAngle", -1e9, 1e9);
  if (!phi) {
    if (driveAngle) st.wxx = *driveAngle;
    return;
  }
  const double degrees = numberWithin(*phi, "crankAngle", -1e9, 1e9);
  if (driveAngle) {
    StateRecord probe = st;
    probe.wxx = *driveAngle;
    const double d = std::remainder(phys::crankAngleOf(probe) - degrees, 360.0);
    if (std::fabs(d) < 1e-6) {
      st.wxx = *driveAngle;
      return;
    }
  }
  phys::setCrankAngle(st, degrees);
}

// The loop X-A-B-Y closes at the set-up's crank angle; otherwise the picture
// could not show the mechanism. (The dyads a six-bar topic adds may fail to
// close where the program shows them too: the panel says so.)
void checkClosure(const StateRecord& st) {
  if (!(st.mn1 >= 1 && st.mn1 <= 8)) return;  // examples and synthesis show their own
  // Whether the loop closes depends on the magnitudes alone, not on the
  // assembly, the zoom or where X stands.
  kinematics::LoopGeometry g;
  g.frameAngle = number(st, 'd') * kDeg;
  g.crank = phys::lengthOf(st, 'a');
  g.coupler = phys::lengthOf(st, 'b');
  g.rocker = phys::lengthOf(st, 'c');
  g.frame = phys::lengthOf(st, 'd');
  kinematics::Drive drive;
  const double phi = phys::crankAngleOf(st);
  drive.angle = phi * kDeg;
  const kinematics::LoopMotion m = kinematics::solveLoop(g, drive);
  auto mm = [&](char c) { return shown(phys::lengthOf(st, c)) + " mm"; };
  if (!m.closed)
    refuse("Das Getriebe schließt sich bei φ = " + shown(phi) + "° nicht (Kurbel a = " + mm('a') +
           ", Koppel b = " + mm('b') + ", Schwinge c = " + mm('c') + ", Gestell d = " + mm('d') + ").");
}

Setup readSetup(const Json& doc, const Edition& edition) {
  if (!doc.is_object()) refuse("Die Datei ist keine Planimove-Einstellung (kein JSON-Objekt).");
  const Json* format = member(doc, "format");
  if (!format || !format->is_string() || format->get<std::string>() != kSetupFormat)
    refuse("Die Datei ist keine Planimove-Einstellung: Das Feld „format“ fehlt oder lautet nicht „" +
           std::string(kSetupFormat) + "“.");
  const Json* version = member(doc, "version");
  if (!version || !version->is_number()) refuse("Der Einstellung fehlt die Versionsnummer („version“).");
  if (version->get<double>() != kSetupVersion)
    refuse("Die Einstellung hat die Version " + shown(version->get<double>()) +
           "; dieses Programm liest Version " + std::to_string(kSetupVersion) + ".");
  for (auto it = doc.begin(); it != doc.end(); ++it) {
    bool known = false;
    for (const char* n : kTopLevel) known = known || it.key() == n;
    if (!known) refuse("Unbekanntes Feld „" + it.key() + "“.");
  }
  if (const Json* e = member(doc, "edition")) {
    if (!e->is_string()) refuse("Das Feld „edition“ muss ein Text sein.");
    if (lowerCase(e->get<std::string>()) != lowerCase(edition.name))
      refuse("Die Einstellung gehört zu „" + e->get<std::string>() + "“, nicht zu " + edition.name + ".");
  }

  Setup out;
  StateRecord& st = out.st;
  st = startValues();
  if (const Json* t = member(doc, "type")) {
    if (!t->is_number() || t->get<double>() != std::floor(t->get<double>()) || t->get<double>() < 1 ||
        t->get<double>() > 11)
      refuse("Unbekannter Getriebetyp " + (t->is_number() ? shown(t->get<double>()) : t->dump()) +
             " (die Typen sind 1 bis 11).");
    st.mn0 = t->get<double>();
  }
  if (const Json* s = member(doc, "synthesis")) {
    if (const Json* recorded = member(objectAt(*s, "synthesis"), "recorded")) {
      objectAt(*recorded, "synthesis.recorded");
      onlyMembers(*recorded, "synthesis.recorded", {"lengths", "numbers"});
      for (const auto& [name, field] : {std::pair{"lengths", &StateRecord::gg}, std::pair{"numbers", &StateRecord::hg}}) {
        const Json* v = member(*recorded, name);
        if (!v) continue;
        const std::string path = std::string("synthesis.recorded.") + name;
        if (!v->is_string()) refuse("Das Feld " + fieldName(path) + " muss ein Text sein.");
        if (v->get<std::string>().size() > kMaxRecordedChars)
          refuse("Das Feld " + fieldName(path) + " ist zu lang.");
        st.*field = v->get<std::string>();
      }
    }
  }
  if (const Json* g = member(doc, "group")) st.mn1 = wholeWithin(*g, "group", 1, 10);
  if (const Json* t = member(doc, "topic")) {
    st.mn2 = wholeWithin(*t, "topic", 0, 20);
    if (st.mn2 != 0 && topicName(static_cast<int>(st.mn1), static_cast<int>(st.mn2)).empty())
      refuse("Die Gruppe " + shown(st.mn1) + " hat kein Thema " + shown(st.mn2) + ".");
  }
  if (const Json* p = member(doc, "page")) st.mn5 = wholeWithin(*p, "page", 0, 99);
  if (const Json* z = member(doc, "zoom")) st.qzz = numberWithin(*z, "zoom", 1e-3, 1e3);
  readLengths(doc, st);
  if (const Json* s = member(doc, "sense")) st.qgw = wholeWithin(*s, "sense", -1, 1);
  if (const Json* w = member(doc, "omega")) phys::setOmega(st, numberWithin(*w, "omega", -1e6, 1e6));
  if (const Json* a = member(doc, "alpha"); a && !phys::setAlpha(st, numberWithin(*a, "alpha", -1e6, 1e6)))
    refuse("Eine Kurbel der Länge 0 hat keine Winkelbeschleunigung α.");
  if (const Json* d = member(doc, "frameAngle")) setNumber(st, 'd', numberWithin(*d, "frameAngle", -1e6, 1e6));
  if (const Json* p = member(doc, "pivot")) {
    const Point x = pointAt(*p, "pivot");
    setNumber(st, 'a', x.x);
    setNumber(st, 'b', x.y);
  }
  if (const Json* p = member(doc, "points")) {
    objectAt(*p, "points");
    onlyMembers(*p, "points", {"P", "Q"});
    if (const Json* q = member(*p, "P")) {
      const Point v = pointAt(*q, "points.P");
      setNumber(st, 'e', v.x);
      setNumber(st, 'f', v.y);
    }
    if (const Json* q = member(*p, "Q")) {
      const Point v = pointAt(*q, "points.Q");
      setNumber(st, 'g', v.x);
      setNumber(st, 'h', v.y);
    }
  }
  if (const Json* s = member(doc, "driveStep")) setDriveStep(st, numberWithin(*s, "driveStep", -360, 360));
  if (const Json* s = member(doc, "symbolSize")) st.qbr = numberWithin(*s, "symbolSize", 0.01, 100);
  if (const Json* g = member(doc, "gridSpacing")) st.qrtt = wholeWithin(*g, "gridSpacing", -1000, 1000) - 20;
  if (const Json* b = member(doc, "brightness")) {
    objectAt(*b, "brightness");
    onlyMembers(*b, "brightness", {"low", "middle", "high"});
    for (const auto& [name, field] : {std::pair{"low", &StateRecord::rr1}, std::pair{"middle", &StateRecord::gg1},
                                      std::pair{"high", &StateRecord::bb1}})
      if (const Json* v = member(*b, name))
        st.*field = numberWithin(*v, std::string("brightness.") + name, -1e4, 1e4);
  }
  if (const Json* d = member(doc, "display")) {
    objectAt(*d, "display");
    for (auto it = d->begin(); it != d->end(); ++it) {
      const Flag* flag = nullptr;
      for (const Flag& f : kFlags)
        if (it.key() == f.name) flag = &f;
      if (!flag) refuse("Unbekanntes Feld „display." + it.key() + "“.");
      st.*flag->field = flagAt(it.value(), "display." + it.key()) ? 1 : 0;
    }
  }
  if (const Json* v = member(doc, "view")) readView(*v, out.view);
  if (const Json* s = member(doc, "synthesis")) readSynthesis(*s, st);
  readAngles(doc, st);
  checkClosure(st);
  return out;
}

// --- links -------------------------------------------------------------------

constexpr char kBase64Url[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

std::string base64Url(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t n = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 2]);
    out += kBase64Url[(n >> 18) & 63];
    out += kBase64Url[(n >> 12) & 63];
    if (i + 1 < bytes.size()) out += kBase64Url[(n >> 6) & 63];
    if (i + 2 < bytes.size()) out += kBase64Url[n & 63];
  }
  return out;
}

std::optional<std::string> fromBase64Url(std::string_view text) {
  std::string out;
  std::uint32_t buffer = 0;
  int bits = 0;
  for (char c : text) {
    const char* p = c == 0 ? nullptr : std::char_traits<char>::find(kBase64Url, 64, c);
    if (!p) return std::nullopt;
    buffer = (buffer << 6) | static_cast<std::uint32_t>(p - kBase64Url);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((buffer >> bits) & 0xff);
    }
  }
  if (text.size() % 4 == 1) return std::nullopt;  // no whole byte in the last group
  return out;
}

}  // namespace

std::string writeSetup(const Form1& form, bool compact) {
  Json doc = fullSetup(form.st, form.view, form.edition);
  if (!compact) return doc.dump(2) + "\n";
  // What a reader fills in for a field left out: the start state with this
  // set-up's type and recorded four-bar, whose presets the lengths are.
  StateRecord start = startValues();
  start.mn0 = form.st.mn0;
  start.gg = form.st.gg;
  start.hg = form.st.hg;
  Json reference = fullSetup(start, View{}, form.edition);
  // The recorded four-bar itself starts empty.
  reference["synthesis"]["recorded"] = {{"lengths", ""}, {"numbers", ""}};
  dropDefaults(doc, reference, true);
  return doc.dump();
}

std::optional<Setup> parseSetup(std::string_view text, const Edition& edition, std::string& message) {
  if (text.size() > kMaxSetupBytes) {
    message = "Die Datei ist zu groß für eine Einstellung (mehr als 1 MB).";
    return std::nullopt;
  }
  Json doc;
  try {
    doc = Json::parse(text.begin(), text.end());
  } catch (const nlohmann::json::parse_error& e) {
    message = "Die Datei ist keine Planimove-Einstellung: kein gültiges JSON (Fehler bei Byte " +
              std::to_string(e.byte) + ").";
    return std::nullopt;
  }
  try {
    return readSetup(doc, edition);
  } catch (const Refused& r) {
    message = r.message;
  } catch (const nlohmann::json::exception& e) {
    message = std::string("Die Einstellung ist fehlerhaft: ") + e.what();
  }
  return std::nullopt;
}

void applySetup(Form1& form, const Setup& setup) {
  StateRecord st = setup.st;
  // From page 15 of the step-by-step construction of the cognates every
  // rebuild turns the crank one step: it starts one step back, so that the
  // picture shows the crank where the set-up has it.
  if (st.mn1 == 5 && st.mn2 == 7 && topic_rows::topicNumber(st.mn5) >= 15)
    st.wxx -= st.qgw * driveStep(st) * kDeg;
  form.st = st;
  form.view = setup.view;
  // The set-up's picture replaces an open exercise, which would otherwise
  // go on covering it.
  form.exercise.close();
  form.Form_KeyDown(kKeyRebuild, 0);
}

bool readSetupFile(const std::string& path, std::string& text, std::string& message) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  if (!in) {
    message = "Die Datei lässt sich nicht öffnen (" + fileErrorReason(errno != 0 ? errno : ENOENT) + ").";
    return false;
  }
  // One byte more than a set-up may have is enough to refuse it (and a
  // device that never ends is not read on).
  text.resize(kMaxSetupBytes + 1);
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (in.bad()) {
    message = "Die Datei lässt sich nicht lesen.";
    return false;
  }
  return true;
}

std::string setupToLink(const Form1& form) { return base64Url(writeSetup(form, true)); }

std::optional<Setup> setupFromLink(std::string_view fragment, const Edition& edition,
                                   std::string& message) {
  const std::optional<std::string> text = fromBase64Url(fragment);
  if (!text) {
    message = "Der Link enthält keine Einstellung (keine gültige Base64url-Kodierung).";
    return std::nullopt;
  }
  std::optional<Setup> setup = parseSetup(*text, edition, message);
  // The reader speaks of a file; here the user gave a link.
  for (const auto& [file, link] : {std::pair<std::string_view, std::string_view>{
                                       "Die Datei ist keine ", "Der Link enthält keine "},
                                   {"Die Datei ist ", "Der Link ist "}}) {
    if (message.starts_with(file)) {
      message.replace(0, file.size(), link);
      break;
    }
  }
  return setup;
}

}  // namespace pm
