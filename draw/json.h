// JSON form of a display list: an array with one object per primitive, each
// with its `kind`, coordinates in drawing units and colours as "#rrggbb".
//
//   {"kind": "line", "x1": 10, "y1": 50, "x2": 20, "y2": 60, "color": "#ff0000", "width": 1}
//   {"kind": "text", "x": 5, "y": 45, "text": "A", "font": "Areal", "size": 14, "color": "#000000"}
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "draw/display_list.h"
#include "script/utf8.h"

namespace pm {

nlohmann::json toJson(const DisplayList& list);
nlohmann::json toJson(const Primitive& p);

// Reads the JSON form back. Objects that are not valid primitives are skipped
// and described in `problems` (if given); the rest of the list is kept.
DisplayList displayListFromJson(const nlohmann::json& json, std::string* problems = nullptr);

// "#rrggbb" (also "rrggbb"); false for anything else.
bool parseHexColour(const std::string& text, Rgb& out);

}  // namespace pm
