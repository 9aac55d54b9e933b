// Placeholder so that the tree links while this file is being written.
#include "draw/colour.h"
namespace pm {
std::string hexColour(Rgb) { return "#000000"; }
}  // namespace pm
