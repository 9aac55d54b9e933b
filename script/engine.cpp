// The interpreter loop: splits a script at its colons, turns each command into
// codes and dispatches it by category and operation.
#include "script/engine.h"

#include <algorithm>
#include <cstdio>

#include "script/operations.h"
#include "script/utf8.h"

namespace pm {

namespace {


// Checks every operand of a computing operation against its bank.
bool operandsValid(const Registers& r, const ops::OperandLayout& layout, std::string& reason) {
  for (int i = 0; i < layout.count; ++i) {
    const ops::Operand& operand = layout.items[i];
    const int index = r.cmdCode[operand.position];
    const int limit = ops::bankLimit(operand.bank);
    if (index >= 0 && index <= limit) continue;
    reason = std::string(ops::bankName(operand.bank)) + " operand at position " +
             std::to_string(operand.position) + " has code " + std::to_string(index) +
             ", outside 0 … " + std::to_string(limit);
    return false;
  }
  return true;
}

}  // namespace

void Engine::beginCommand() {
  reg.clear();
  errors_.clear();
  last_ = {};
}

void Engine::run(std::u32string_view script) {
  // The script behaves as if ":" were appended: every piece between colons is
  // a command, and a script without text runs nothing.
  if (script.empty()) return;
  std::size_t start = 0;
  for (;;) {
    const std::size_t colon = script.find(U':', start);
    const std::u32string_view command = colon == std::u32string_view::npos
                                            ? script.substr(start)
                                            : script.substr(start, colon - start);
    if (!execute(command) || colon == std::u32string_view::npos) break;
    start = colon + 1;
  }
  keepLastCommand();
}

void Engine::saveCommand(CommandMemory& memory) const {
  memory.reg = reg;
  memory.lastLength = last_.size();
  std::copy(last_.begin(), last_.end(), memory.lastText.begin());
}

void Engine::restoreCommand(const CommandMemory& memory) {
  reg = memory.reg;
  std::copy(memory.lastText.begin(), memory.lastText.begin() + memory.lastLength, lastText_.begin());
  last_ = std::u32string_view(lastText_.data(), memory.lastLength);
}

void Engine::keepLastCommand() {
  if (last_.empty() || last_.data() == lastText_.data()) return;
  std::copy(last_.begin(), last_.end(), lastText_.begin());
  last_ = std::u32string_view(lastText_.data(), last_.size());
}

bool Engine::execute(std::u32string_view command) {
  if (command.size() > kMaxCommandLength) {
    fault(command, "command longer than " + std::to_string(kMaxCommandLength) + " characters");
    forgetCommand();
    return false;
  }

  // An empty command re-dispatches the codes still held: the previous command
  // of this key event (nothing at its start).
  if (!command.empty()) {
    const std::size_t length = command.size();
    for (std::size_t i = 0; i < length; ++i) reg.cmdCode[i + 1] = codeOf(command[i]);
    last_ = command;
  }
  const std::u32string_view text = last_;
  const int length = static_cast<int>(text.size());

  std::string reason;
  if (dispatch(text, length, reason)) return true;
  fault(text, std::move(reason));
  forgetCommand();
  return false;
}

void Engine::forgetCommand() {
  // After a fault an empty command of a later script must not run the faulty
  // command again (and abandon that script too): it finds the codes cleared,
  // as at the start of a key event.
  reg.cmdCode.fill(0);
  last_ = {};
}

bool Engine::dispatch(std::u32string_view text, int length, std::string& reason) {
  const int category = reg.cmdCode[1];
  const int op = reg.cmdCode[2];
  if (category < 0 || op < 0) {
    reason = "category or operation character below \"0\"";
    return false;
  }
  switch (category) {
    case 2:
    case 3:
    case 4: {
      if (op < 1 || op > 9) return true;
      if (!operandsValid(reg, ops::operandLayout(category, op), reason)) return false;
      ops::Context context{reg, s, text_, text};
      if (category == 2) {
        ops::pointCommand(op, context);
      } else if (category == 3) {
        ops::scalarCommand(op, context);
      } else {
        ops::construction(op, context);
      }
      return true;
    }
    case 6: {
      if (drawing_ == nullptr) return true;
      const char* why = drawing_->drawCommand(op, reg.cmdCode.data(), length, text);
      if (why == nullptr) return true;
      reason = why;
      return false;
    }
    default:  // 0, 1, 5 and codes above 6: no operation
      return true;
  }
}

void Engine::labelVectors() { ops::labelVectors(reg, text_); }

void Engine::fault(std::u32string_view command, std::string reason) {
  std::fprintf(stderr, "script error in command \"%s\": %s; rest of the script skipped\n",
               toUtf8(command).c_str(), reason.c_str());
  errors_.push_back({std::u32string(command), std::move(reason)});
}

}  // namespace pm
