// JSON serialisation of display lists.
#include "draw/json.h"

#include <cmath>

namespace pm {
namespace {

using nlohmann::json;

// Number field of an object; false when missing or not a finite number.
bool number(const json& o, const char* key, double& out) {
  auto it = o.find(key);
  if (it == o.end() || !it->is_number()) return false;
  out = it->get<double>();
  return std::isfinite(out);
}

bool colour(const json& o, const char* key, Rgb& out) {
  auto it = o.find(key);
  return it != o.end() && it->is_string() && parseHexColour(it->get<std::string>(), out);
}

bool kindFromName(const std::string& name, Primitive::Kind& kind) {
  for (auto k : {Primitive::Kind::Point, Primitive::Kind::Line, Primitive::Kind::Box,
                 Primitive::Kind::FilledBox, Primitive::Kind::Circle, Primitive::Kind::Arc,
                 Primitive::Kind::Text}) {
    if (name == kindName(k)) {
      kind = k;
      return true;
    }
  }
  return false;
}

// Reads one primitive; returns the reason it is not valid, or "" on success.
std::string readPrimitive(const json& o, Primitive& p) {
  if (!o.is_object()) return "not an object";
  auto kindIt = o.find("kind");
  if (kindIt == o.end() || !kindIt->is_string() ||
      !kindFromName(kindIt->get<std::string>(), p.kind))
    return "missing or unknown kind";
  if (!colour(o, "color", p.colour)) return "missing or malformed color";
  if (o.contains("width") && !number(o, "width", p.width)) return "malformed width";
  using K = Primitive::Kind;
  switch (p.kind) {
    case K::Point:
      if (!number(o, "x", p.x1) || !number(o, "y", p.y1)) return "point needs x, y";
      break;
    case K::Line:
    case K::Box:
    case K::FilledBox:
      if (!number(o, "x1", p.x1) || !number(o, "y1", p.y1) || !number(o, "x2", p.x2) ||
          !number(o, "y2", p.y2))
        return "needs x1, y1, x2, y2";
      if (p.kind == K::FilledBox) {
        p.fillStyle = 0;
        p.fillColour = p.colour;
      }
      break;
    case K::Circle:
    case K::Arc: {
      if (!number(o, "cx", p.x1) || !number(o, "cy", p.y1) || !number(o, "r", p.r))
        return "needs cx, cy, r";
      double style = 1;
      if (o.contains("fillStyle") && !number(o, "fillStyle", style)) return "malformed fillStyle";
      if (style < 0 || style > 7 || style != std::floor(style)) return "fillStyle outside 0 … 7";
      p.fillStyle = static_cast<int>(style);
      if (o.contains("fillColor") && !colour(o, "fillColor", p.fillColour))
        return "malformed fillColor";
      if (p.kind == K::Arc) {
        if (!number(o, "start", p.start) || !number(o, "end", p.end)) return "arc needs start, end";
        p.edgeStart = o.value("edgeStart", false);
        p.edgeEnd = o.value("edgeEnd", false);
      }
      break;
    }
    case K::Text: {
      if (!number(o, "x", p.x1) || !number(o, "y", p.y1) || !number(o, "size", p.size))
        return "text needs x, y, size";
      auto t = o.find("text");
      auto f = o.find("font");
      if (t == o.end() || !t->is_string() || f == o.end() || !f->is_string())
        return "text needs text and font";
      p.text = fromUtf8(t->get<std::string>());
      p.font = f->get<std::string>();
      break;
    }
  }
  return "";
}

}  // namespace


bool parseHexColour(const std::string& text, Rgb& out) {
  std::string_view s = text;
  if (!s.empty() && s.front() == '#') s.remove_prefix(1);
  if (s.size() != 6) return false;
  int v[6];
  for (int i = 0; i < 6; ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9')
      v[i] = c - '0';
    else if (c >= 'a' && c <= 'f')
      v[i] = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      v[i] = c - 'A' + 10;
    else
      return false;
  }
  out =
      Rgb{static_cast<std::uint8_t>(v[0] * 16 + v[1]), static_cast<std::uint8_t>(v[2] * 16 + v[3]),
          static_cast<std::uint8_t>(v[4] * 16 + v[5])};
  return true;
}

json toJson(const Primitive& p) {
  json o;
  o["kind"] = kindName(p.kind);
  using K = Primitive::Kind;
  switch (p.kind) {
    case K::Point:
      o["x"] = p.x1;
      o["y"] = p.y1;
      break;
    case K::Line:
    case K::Box:
    case K::FilledBox:
      o["x1"] = p.x1;
      o["y1"] = p.y1;
      o["x2"] = p.x2;
      o["y2"] = p.y2;
      o["width"] = p.width;
      break;
    case K::Circle:
    case K::Arc:
      o["cx"] = p.x1;
      o["cy"] = p.y1;
      o["r"] = p.r;
      if (p.kind == K::Arc) {
        o["start"] = p.start;
        o["end"] = p.end;
        o["edgeStart"] = p.edgeStart;
        o["edgeEnd"] = p.edgeEnd;
      }
      o["width"] = p.width;
      o["fillStyle"] = p.fillStyle;
      o["fillColor"] = hexColour(p.fillColour);
      break;
    case K::Text:
      o["x"] = p.x1;
      o["y"] = p.y1;
      o["text"] = toUtf8(p.text);
      o["font"] = p.font;
      o["size"] = p.size;
      break;
  }
  o["color"] = hexColour(p.colour);
  return o;
}

json toJson(const DisplayList& list) {
  json a = json::array();
  for (const Primitive& p : list) a.push_back(toJson(p));
  return a;
}

DisplayList displayListFromJson(const json& j, std::string* problems) {
  DisplayList list;
  if (!j.is_array()) {
    if (problems) *problems += "display list: not an array\n";
    return list;
  }
  for (std::size_t i = 0; i < j.size(); ++i) {
    Primitive p;
    const std::string why = readPrimitive(j[i], p);
    if (why.empty()) {
      list.push_back(std::move(p));
    } else if (problems) {
      *problems += "primitive " + std::to_string(i) + ": " + why + "\n";
    }
  }
  return list;
}

}  // namespace pm
