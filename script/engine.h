// The construction-script engine: register file, scratch state and the
// interpreter that runs scripts of ":"-separated commands against them.
//
//   Engine e;                     // one per program; registers cleared per command
//   e.beginCommand();
//   e.reg.valOf(U'a') = 300; …
//   e.run(U":25X(a,b):29d=(d):22Y=X+d:22A=X+a:42SB=b+AY+c");
//
// Category 6 (drawing) goes to the DrawingHook, the printing operations 31 and 37
// to the TextOutput; both may be absent, then those commands draw nothing.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/registers.h"
#include "script/scratch.h"
#include "script/text_output.h"

namespace pm {

// Receives every category-6 command once. codes[1..length] are the command's
// codes (codes[0] unused); the hook reads its own operand positions and makes
// its own passes over them. Returns nullptr, or the reason the command is a
// fault (an operand outside its bank), which abandons the script.
class DrawingHook {
 public:
  virtual ~DrawingHook() = default;
  virtual const char* drawCommand(int operation, const int* codes, int length,
                                  std::u32string_view text) = 0;
};

// A script fault: the command abandoned and why. The rest of that script is
// skipped; the command (key event) goes on.
struct ScriptError {
  std::u32string command;
  std::string reason;
};

class Engine {
 public:
  Registers reg;
  Scratch s;

  // Start of a command (key event): all banks and cmdCode to 0, errors cleared.
  // X, Y and kks keep their values.
  void beginCommand();

  // Runs a script: every piece between two colons is a command, including the
  // empty pieces of a leading ":" or of "::", which repeat the previous command
  // of this key event. Faulty commands are recorded in errors(), written to
  // stderr, and end the script; the registers outside the fault stay intact.
  void run(std::u32string_view script);

  // Longest command the register file can hold.
  static constexpr std::size_t kMaxCommandLength = Registers::kVectorCount - 1;

  // Code of one character for the command codes. Values beyond Unicode (which
  // cannot come from real text) map to a code no bank accepts.
  static constexpr int codeOf(char32_t c) { return c > 0x10FFFF ? 0x10FFFF + 1 - 48 : code(c); }

  // Operation 37: prints the letter of every vector register 1 … 64 whose label
  // position is set; also called directly by the link-letter display option.
  void labelVectors();

  // Everything a key event owns in the engine: the register file and the
  // command that an empty command repeats. A nested key event (a key pressed
  // during a run) saves it on entry and restores it on exit, so the outer
  // event goes on as if it had run alone.
  struct CommandMemory {
    Registers reg;
    std::array<char32_t, kMaxCommandLength> lastText{};
    std::size_t lastLength = 0;

    CommandMemory() = default;
    // Copies the registers straight in; the compiler would otherwise clear
    // the whole memory before copying over it.
    CommandMemory(const Registers& registers, std::u32string_view last)
        : reg(registers), lastLength(last.size()) {
      std::copy(last.begin(), last.end(), lastText.begin());
    }
  };
  // The registers and the last command, for a nested command to restore.
  CommandMemory savedCommand() const;
  void restoreCommand(const CommandMemory& memory);

  void setDrawingHook(DrawingHook* hook) { drawing_ = hook; }
  void setTextOutput(TextOutput* text) { text_ = text; }

  const std::vector<ScriptError>& errors() const { return errors_; }
  void clearErrors() { errors_.clear(); }

 private:
  // Scripts are mostly literals run again and again (a curve loop runs its
  // scripts 361 times a picture). Each is split into commands and turned into
  // codes once, with the operands of its computing operations checked, and
  // kept under the address and length of its text (checked against a copy).
  struct CompiledCommand {
    std::size_t start = 0, length = 0;  // of the command in the script
    std::size_t firstCode = 0;          // its codes in CompiledScript::codes
    bool checked = false;               // operands known to be valid
    // A checked computing operation runs straight away: its category (2, 3
    // or 4; 0 for every other command) and operation.
    std::int8_t computing = 0, op = 0;
  };
  struct CompiledScript {
    std::u32string text;
    std::vector<CompiledCommand> commands;
    std::vector<int> codes;
  };
  struct ScriptKey {
    const char32_t* data;
    std::size_t size;
    bool operator==(const ScriptKey&) const = default;
  };
  struct ScriptKeyHash {
    std::size_t operator()(const ScriptKey& k) const {
      return std::hash<const void*>()(k.data) ^ (k.size * 0x9e3779b97f4a7c15ULL);
    }
  };
  static constexpr std::size_t kMaxCompiledScripts = 1024;
  const CompiledScript& compiled(std::u32string_view script);
  std::unordered_map<ScriptKey, CompiledScript, ScriptKeyHash> compiled_;

  // A small table in front of compiled_: a loop runs the same few scripts in
  // turn, and finding one here by its address is much cheaper than the map's
  // lookup. Each address has two places, so that two scripts of one loop
  // that meet there do not push each other out. Entries point into
  // compiled_ (its nodes stay put until it is cleared, which empties this
  // table too); the text is still compared before an entry serves. A copied
  // engine starts with it empty.
  struct RecentScripts {
    struct Entry {
      const char32_t* data = nullptr;
      std::size_t size = 0;
      const CompiledScript* program = nullptr;
    };
    static constexpr std::size_t kSize = 256;
    std::array<Entry, kSize> entries{};
    RecentScripts() = default;
    RecentScripts(const RecentScripts&) {}
    RecentScripts& operator=(const RecentScripts&) {
      entries = {};
      return *this;
    }
    static std::size_t place(const char32_t* data, std::size_t size) {
      const auto address = reinterpret_cast<std::uintptr_t>(data) ^ size;
      return (address * 0x9e3779b97f4a7c15ULL) >> 56;  // 0 … 255
    }
    // The entry of this script, or nullptr.
    const CompiledScript* find(const char32_t* data, std::size_t size) const {
      const std::size_t i = place(data, size);
      const Entry& first = entries[i];
      if (first.data == data && first.size == size) return first.program;
      const Entry& second = entries[i ^ 1];
      return second.data == data && second.size == size ? second.program : nullptr;
    }
    // Enters a script in the first of its places; what stood there moves to the second.
    void put(const char32_t* data, std::size_t size, const CompiledScript* program) {
      const std::size_t i = place(data, size);
      if (entries[i].data != data || entries[i].size != size) entries[i ^ 1] = entries[i];
      entries[i] = {data, size, program};
    }
  };
  static_assert(RecentScripts::kSize == 256, "place() yields the top 8 bits");
  RecentScripts recent_;
  // Finds the script in compiled_ or compiles it, and enters it in recent_.
  const CompiledScript& compile(std::u32string_view script);

  // false: fault recorded, abandon script
  bool execute(const CompiledScript& script, const CompiledCommand& command);
  // Puts a compiled command's codes into cmdCode and makes it the last command.
  std::u32string_view load(const CompiledScript& script, const CompiledCommand& command);
  // A checked computing operation: codes in, operation called; it cannot fault.
  void runComputing(const CompiledScript& script, const CompiledCommand& command);
  bool dispatch(std::u32string_view text, int length, bool checked, std::string& reason);
  std::string faultReason_;  // filled by dispatch only when a command is a fault
  void fault(std::u32string_view command, std::string reason);
  void forgetCommand();

  DrawingHook* drawing_ = nullptr;
  TextOutput* text_ = nullptr;
  std::vector<ScriptError> errors_;

  void keepLastCommand();

  // The last non-empty command of this key event, which an empty command
  // repeats (its codes stay in reg.cmdCode). While a script runs it views the
  // script itself; when the run ends it is copied into lastText_, because the
  // next script's leading empty command may repeat it after the text is gone.
  std::u32string_view last_;
  std::array<char32_t, kMaxCommandLength> lastText_{};
  // Whether reg.cmdCode holds, as load() left it, a command whose operands
  // were found valid when it was compiled: an empty command repeating it
  // needs no second check. Only the engine writes cmdCode; whatever resets
  // or restores it clears this.
  bool lastChecked_ = false;
};

}  // namespace pm
