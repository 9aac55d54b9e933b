#include "state_json.h"

#include <array>
#include <cmath>
#include <string>

#include "draw/json.h"
#include "exercise/exercise.h"
#include "kinematics/measured_values.h"
#include "script/codes.h"

namespace pm::render {

namespace {

// Not-a-number and infinities have no JSON number; they are written as null.
nlohmann::json number(double v) { return std::isfinite(v) ? nlohmann::json(v) : nlohmann::json(); }

template <std::size_t N>
nlohmann::json bank(const std::array<double, N>& values) {
  nlohmann::json out = nlohmann::json::object();
  for (std::size_t k = 0; k < N; ++k)
    if (values[k] != 0) out[registerName(static_cast<int>(k))] = number(values[k]);
  return out;
}

// The open exercise: kind, seed, task and tolerance (mm); the verdict and
// distance (mm) of an answer; the solution (drawing units) once it is shown.
nlohmann::json exerciseJson(const Form1& form) {
  const ExerciseState& e = form.exercise;
  nlohmann::json out;
  out["kind"] = std::string(exerciseKind(e.kind)->name);
  out["seed"] = e.seed;
  out["task"] = exerciseTask(e);
  out["tolerance"] = e.mechanism.tolerance;
  if (e.answer) {
    out["verdict"] = exerciseVerdict(e);
    out["distance"] = number(e.distance);
  }
  if (e.solutionShown) {
    if (const auto s = exerciseSolution(e, form.st.qzz))
      out["solution"] = nlohmann::json::array({number(s->real()), number(s->imag())});
  }
  return out;
}

// The lines of the values panel, each with the heading it stands under.
nlohmann::json panelValues(const Form1& form) {
  nlohmann::json out = nlohmann::json::array();
  std::string section;
  for (const MeasuredValue& line : measuredValues(form)) {
    if (line.value.empty()) {
      section = line.name;
    } else {
      out.push_back({{"section", section}, {"name", line.name}, {"value", line.value}});
    }
  }
  return out;
}

}  // namespace

std::string registerName(int index) { return toUtf8(std::u32string(1, charOfCode(index))); }

nlohmann::json stateJson(const Form1& form, const DisplayList& picture) {
  nlohmann::json state = nlohmann::json::object();
  form.st.forEachNumeric(
      [&](std::string_view name, const double& v) { state[std::string(name)] = number(v); });
  state["cb"] = hexColour(form.st.cb);
  state["cf"] = hexColour(form.st.cf);
  state["ff"] = form.st.ff;
  state["gg"] = form.st.gg;
  state["hg"] = form.st.hg;
  state["gx"] = form.st.gx;
  state["hs"] = form.st.hs;

  const Registers& r = form.engine.reg;
  nlohmann::json points = nlohmann::json::object();
  for (int k = 0; k < Registers::kPointCount; ++k)
    if (r.px[k] != 0 || r.py[k] != 0)
      points[registerName(k)] = nlohmann::json::array({number(r.px[k]), number(r.py[k])});

  nlohmann::json errors = nlohmann::json::array();
  for (const ScriptError& e : form.cmd.errors)
    errors.push_back({{"command", toUtf8(e.command)}, {"reason", e.reason}});

  nlohmann::json doc;
  doc["edition"] = form.edition.name;
  doc["state"] = std::move(state);
  doc["loopCase"] = form.cmd.loopCase;
  doc["turnClass"] = form.cmd.turnClass;
  doc["kks"] = form.engine.s.kks;
  // An exercise's registers hold its solution (the drive step alone places
  // P): they are written only once the solution is shown.
  if (!form.exercise.hidesSolution()) {
    doc["points"] = std::move(points);
    doc["len"] = bank(r.len);
    doc["ang"] = bank(r.ang);
    doc["val"] = bank(r.val);
  }
  doc["view"] = {{"scale", number(form.view.scale)}, {"x", number(form.view.x)}, {"y", number(form.view.y)}};
  if (form.exercise.open()) doc["exercise"] = exerciseJson(form);
  doc["picture"] = toJson(picture);
  doc["errors"] = std::move(errors);
  doc["values"] = panelValues(form);
  return doc;
}

}  // namespace pm::render
