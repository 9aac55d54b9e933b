// The fields of the dialog "Maße" and the set-up they give.
#include "shell/dimension_fields.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "kinematics/physical_values.h"
#include "shell/form1.h"

namespace pm {

namespace {

// A value as the dialog shows it: up to six decimals, no trailing zeros,
// a decimal comma.
std::string shownValue(double v) {
  if (!std::isfinite(v)) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.6f", v);
  std::string s = buf;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  for (char& c : s)
    if (c == '.') c = ',';
  return s;
}

}  // namespace

std::vector<DimensionField> dimensionFields(const Form1& form) {
  // The values are the set-up's, so that the dialog and a set-up file agree.
  const nlohmann::ordered_json doc = nlohmann::ordered_json::parse(writeSetup(form));
  std::vector<physical::Dimension> lengths = physical::loopDimensions();
  if (form.st.mn1 == 8)
    for (physical::Dimension& d : physical::sixBarDimensions(static_cast<int>(form.st.mn2)))
      lengths.push_back(std::move(d));
  std::vector<DimensionField> out;
  for (const physical::Dimension& d : lengths) {
    const std::string key(1, d.letter);
    out.push_back({key, d.name, "mm", shownValue(doc["lengths"][key].get<double>())});
  }
  out.push_back({"frameAngle", "Gestellwinkel", "°", shownValue(doc["frameAngle"].get<double>())});
  out.push_back({"crankAngle", "Kurbelwinkel φ", "°", shownValue(doc["crankAngle"].get<double>())});
  out.push_back({"omega", "ω Kurbel", "1/s", shownValue(doc["omega"].get<double>())});
  out.push_back({"alpha", "α Kurbel", "1/s²", shownValue(doc["alpha"].get<double>())});
  return out;
}

std::optional<double> typedNumber(std::string_view text) {
  std::string s;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 3, "\u2212") == 0) {  // the minus sign the panel writes
      s += '-';
      i += 2;
    } else if (text[i] == ',') {
      s += '.';
    } else if (text[i] != ' ') {
      s += text[i];
    }
  }
  if (s.empty() || s.size() > 40) return std::nullopt;
  // Digits, one point, a sign in front: nothing else (no exponents, no "inf").
  std::size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
  bool digits = false, point = false;
  for (std::size_t k = i; k < s.size(); ++k) {
    if (s[k] >= '0' && s[k] <= '9') {
      digits = true;
    } else if (s[k] == '.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  return std::strtod(s.c_str(), nullptr);
}

std::optional<Setup> checkDimensions(const Form1& form, const std::vector<DimensionField>& typed,
                                     std::string& message) {
  nlohmann::ordered_json doc = nlohmann::ordered_json::parse(writeSetup(form));
  const std::vector<DimensionField> shown = dimensionFields(form);
  for (const DimensionField& field : typed) {
    const DimensionField* before = nullptr;
    for (const DimensionField& s : shown)
      if (s.key == field.key) before = &s;
    if (!before) continue;  // not a field of this mechanism
    if (before->text == field.text) continue;  // unchanged: the exact value stays
    const std::optional<double> v = typedNumber(field.text);
    if (!v) {
      message = "„" + before->label + "“: „" + field.text + "“ ist keine Zahl.";
      return std::nullopt;
    }
    if (field.key.size() == 1) {
      if (*v < 0) {
        message = "„" + before->label + "“: Eine Länge ist nicht negativ; die andere Montage wählt "
                  "das Menü „Montage“.";
        return std::nullopt;
      }
      doc["lengths"][field.key] = *v;
    } else {
      doc[field.key] = *v;
      // The drive angle belongs to the crank angle it was written with.
      if (field.key == "crankAngle") doc.erase("driveAngle");
    }
  }
  return parseSetup(doc.dump(), form.edition, message);
}

}  // namespace pm
