// Private to the engine: the computing operations of categories 2, 3 and 4 and
// the operand layout each of them reads.
//
// An operation reads its operands as register indices from fixed positions of
// the command codes. The engine checks every operand against its bank before
// the operation runs, so the operations themselves index without checks.
#pragma once

#include <cstdint>
#include <string_view>

#include "script/registers.h"
#include "script/scratch.h"
#include "script/text_output.h"

namespace pm::ops {

enum class Bank : std::uint8_t {
  kPoint,   // px/py, 0 … 1296
  kVector,  // len/ang, 0 … 256
  kValue,   // val, 0 … 256
  kLabel,   // vector register that also stores its label at code + 80: 0 … 176
};

struct Operand {
  std::uint8_t position;
  Bank bank;
};

struct OperandLayout {
  std::uint8_t count = 0;
  Operand items[6] = {};
};

// Layout of operation `op` (1 … 9) of category 2, 3 or 4.
const OperandLayout& operandLayout(int category, int op);

// Largest valid index of a bank.
constexpr int bankLimit(Bank b) {
  switch (b) {
    case Bank::kPoint:
      return Registers::kPointCount - 1;
    case Bank::kLabel:
      return Registers::kVectorCount - 1 - Registers::kLabelOffset;
    default:
      return Registers::kVectorCount - 1;
  }
}

const char* bankName(Bank b);

// Everything an operation may touch. `text` is the command text (for 31), and
// `out` may be null (then printing operations print nothing).
struct Context {
  Registers& r;
  Scratch& s;
  TextOutput* out;
  std::u32string_view text;
};

void pointCommand(int op, Context& c);   // operations 21 … 29
void scalarCommand(int op, Context& c);  // operations 31 … 39 (without 37)
void construction(int op, Context& c);   // operations 41 … 49

// Operation 37: the letter of every vector register 1 … 64 at its label position.
void labelVectors(const Registers& r, TextOutput* out);

}  // namespace pm::ops
