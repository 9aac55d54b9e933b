// The interpreter loop: splits a script at its colons, turns each command into
// codes and dispatches it by category and operation.
#include "script/engine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "script/operations.h"
#include "script/utf8.h"

namespace pm {

namespace {


// Why the operand is a fault; kept apart from the check, which runs for
// every command whose operands are not known to be valid.
[[gnu::noinline, gnu::cold]] std::string invalidOperand(const ops::Operand& operand, int index) {
  return std::string(ops::bankName(operand.bank)) + " operand at position " +
         std::to_string(operand.position) + " has code " + std::to_string(index) + ", outside 0 … " +
         std::to_string(ops::bankLimit(operand.bank));
}

// Checks every operand of a computing operation against its bank; codes[i]
// is position i of the command.
bool operandsValid(const int* codes, const ops::OperandLayout& layout, std::string& reason) {
  for (int i = 0; i < layout.count; ++i) {
    const ops::Operand& operand = layout.items[i];
    const int index = codes[operand.position];
    // One unsigned comparison: a negative code wraps far above every limit.
    if (static_cast<unsigned>(index) <= static_cast<unsigned>(ops::bankLimit(operand.bank))) continue;
    reason = invalidOperand(operand, index);
    return false;
  }
  return true;
}

// True when a command of these codes can run without checking its operands
// again: it is no computing operation, or all the operands it reads lie
// within the command and are valid. Operands beyond the command read the
// codes earlier commands left, so those are checked when the command runs.
bool checkedOnce(const int* codes, std::size_t length) {
  if (length == 0) return false;
  const int category = codes[1];
  const int op = length >= 2 ? codes[2] : 0;
  if (category < 2 || category > 4 || op < 1 || op > 9) return length >= 2;
  const ops::OperandLayout& layout = ops::operandLayout(category, op);
  for (int i = 0; i < layout.count; ++i)
    if (layout.items[i].position > length) return false;
  std::string reason;
  return operandsValid(codes, layout, reason);
}

// Equal texts of equal length; memcmp, as char32_t's compare goes character by character.
bool sameText(const std::u32string& a, std::u32string_view b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), b.size() * sizeof(char32_t)) == 0;
}

}  // namespace

void Engine::beginCommand() {
  reg.clear();
  errors_.clear();
  last_ = {};
  lastChecked_ = false;
}

inline const Engine::CompiledScript& Engine::compiled(std::u32string_view script) {
  const CompiledScript* recent = recent_.find(script.data(), script.size());
  if (recent != nullptr && sameText(recent->text, script)) return *recent;
  return compile(script);
}

const Engine::CompiledScript& Engine::compile(std::u32string_view script) {
  const ScriptKey key{script.data(), script.size()};
  if (auto found = compiled_.find(key); found != compiled_.end() && sameText(found->second.text, script)) {
    recent_.put(script.data(), script.size(), &found->second);
    return found->second;
  }
  keepLastCommand();  // the entry last_ views may go now
  if (compiled_.size() >= kMaxCompiledScripts) {
    compiled_.clear();
    recent_.entries = {};
  }

  CompiledScript program;
  program.text = std::u32string(script);
  std::size_t start = 0;
  for (;;) {
    const std::size_t colon = script.find(U':', start);
    const std::size_t end = colon == std::u32string_view::npos ? script.size() : colon;
    CompiledCommand command{start, end - start, program.codes.size(), false};
    if (command.length <= kMaxCommandLength) {
      // Position 0 is unused, as in reg.cmdCode.
      program.codes.push_back(0);
      for (std::size_t i = start; i < end; ++i) program.codes.push_back(codeOf(script[i]));
      const int* codes = program.codes.data() + command.firstCode;
      command.checked = checkedOnce(codes, command.length);
      if (command.checked && codes[1] >= 2 && codes[1] <= 4 && codes[2] >= 1 && codes[2] <= 9) {
        command.computing = static_cast<std::int8_t>(codes[1]);
        command.op = static_cast<std::int8_t>(codes[2]);
      }
    }
    program.commands.push_back(command);
    if (colon == std::u32string_view::npos) break;
    start = colon + 1;
  }
  const CompiledScript& stored = compiled_.insert_or_assign(key, std::move(program)).first->second;
  recent_.put(script.data(), script.size(), &stored);
  return stored;
}

void Engine::run(std::u32string_view script) {
  // The script behaves as if ":" were appended: every piece between colons is
  // a command, and a script without text runs nothing.
  if (script.empty()) return;
  const CompiledScript& program = compiled(script);
  for (const CompiledCommand& command : program.commands) {
    if (command.computing != 0) {  // the common case, kept in the loop
      runComputing(program, command);
      continue;
    }
    if (!execute(program, command)) break;
  }
  // last_ may view the compiled text, which stays until the cache changes;
  // compile() keeps a copy before it does.
}

inline std::u32string_view Engine::load(const CompiledScript& script, const CompiledCommand& command) {
  // Codes beyond the command keep what earlier commands left, as when the
  // command is read character by character.
  std::copy_n(script.codes.data() + command.firstCode + 1, command.length, reg.cmdCode.data() + 1);
  lastChecked_ = command.checked;
  last_ = std::u32string_view(script.text.data() + command.start, command.length);
  return last_;
}

inline void Engine::runComputing(const CompiledScript& script, const CompiledCommand& command) {
  ops::Context context{reg, s, text_, load(script, command)};
  if (command.computing == 2) {
    ops::pointCommand(command.op, context);
  } else if (command.computing == 3) {
    ops::scalarCommand(command.op, context);
  } else {
    ops::construction(command.op, context);
  }
}

// Only execute() dispatches: inlined there, it saves a call per command.
[[gnu::always_inline]] inline bool Engine::dispatch(std::u32string_view text, int length, bool checked, std::string& reason) {
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
      if (!checked && !operandsValid(reg.cmdCode.data(), ops::operandLayout(category, op), reason))
        return false;
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

bool Engine::execute(const CompiledScript& script, const CompiledCommand& command) {
  std::u32string_view text(script.text.data() + command.start, command.length);
  if (command.length > kMaxCommandLength) {
    fault(text, "command longer than " + std::to_string(kMaxCommandLength) + " characters");
    forgetCommand();
    return false;
  }
  // An empty command re-dispatches the codes still held: the previous command
  // of this key event (nothing at its start), its operands checked again
  // unless they were checked when it was compiled.
  const bool empty = command.length == 0;
  text = empty ? last_ : load(script, command);
  const bool checked = empty ? lastChecked_ : command.checked;
  if (dispatch(text, static_cast<int>(text.size()), checked, faultReason_))
    return true;
  fault(text, std::move(faultReason_));
  forgetCommand();
  return false;
}

Engine::CommandMemory Engine::savedCommand() const { return CommandMemory(reg, last_); }

void Engine::restoreCommand(const CommandMemory& memory) {
  reg = memory.reg;
  lastChecked_ = false;
  std::copy(memory.lastText.begin(), memory.lastText.begin() + memory.lastLength, lastText_.begin());
  last_ = std::u32string_view(lastText_.data(), memory.lastLength);
}

void Engine::keepLastCommand() {
  if (last_.empty() || last_.data() == lastText_.data()) return;
  std::copy(last_.begin(), last_.end(), lastText_.begin());
  last_ = std::u32string_view(lastText_.data(), last_.size());
}

void Engine::forgetCommand() {
  // After a fault an empty command of a later script must not run the faulty
  // command again (and abandon that script too): it finds the codes cleared,
  // as at the start of a key event.
  reg.cmdCode.fill(0);
  last_ = {};
  lastChecked_ = false;
}


void Engine::labelVectors() { ops::labelVectors(reg, text_); }

void Engine::fault(std::u32string_view command, std::string reason) {
  std::fprintf(stderr, "script error in command \"%s\": %s; rest of the script skipped\n",
               toUtf8(command).c_str(), reason.c_str());
  errors_.push_back({std::u32string(command), std::move(reason)});
}

}  // namespace pm
