// Placeholder so that the tree links while this file is being written.
#include "script/engine.h"
namespace pm {
void Engine::beginCommand() {}
void Engine::run(std::u32string_view) {}
void Engine::labelVectors() {}
}  // namespace pm
