// Names of the primitive kinds, as used in the JSON form of a display list.
#include "draw/display_list.h"

namespace pm {

const char* kindName(Primitive::Kind kind) {
  switch (kind) {
    case Primitive::Kind::Point: return "point";
    case Primitive::Kind::Line: return "line";
    case Primitive::Kind::Box: return "box";
    case Primitive::Kind::FilledBox: return "filledBox";
    case Primitive::Kind::Circle: return "circle";
    case Primitive::Kind::Arc: return "arc";
    case Primitive::Kind::Text: return "text";
  }
  return "unknown";
}

}  // namespace pm
