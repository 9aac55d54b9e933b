// Placeholder so that the tree links while this file is being written.
#include "draw/drawing_ops.h"
namespace pm {
DrawingOps::DrawingOps(Engine& engine, Canvas& canvas) : engine_(engine), canvas_(canvas) {}
void DrawingOps::beginCommand() {}
const char* DrawingOps::drawCommand(int, const int*, int, std::u32string_view) { return nullptr; }
}  // namespace pm
