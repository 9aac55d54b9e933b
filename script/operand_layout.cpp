// Which positions of a command each computing operation reads, and from which
// bank. The engine validates these before an operation runs.
#include "script/operations.h"

namespace pm::ops {

namespace {

constexpr Operand P(int pos) { return {static_cast<std::uint8_t>(pos), Bank::kPoint}; }
constexpr Operand V(int pos) { return {static_cast<std::uint8_t>(pos), Bank::kVector}; }
constexpr Operand N(int pos) { return {static_cast<std::uint8_t>(pos), Bank::kValue}; }
constexpr Operand L(int pos) { return {static_cast<std::uint8_t>(pos), Bank::kLabel}; }

constexpr OperandLayout layout() { return {}; }
[[maybe_unused]] constexpr OperandLayout layout(Operand a) { return {1, {a}}; }
constexpr OperandLayout layout(Operand a, Operand b) { return {2, {a, b}}; }
constexpr OperandLayout layout(Operand a, Operand b, Operand c) { return {3, {a, b, c}}; }
constexpr OperandLayout layout(Operand a, Operand b, Operand c, Operand d) {
  return {4, {a, b, c, d}};
}
constexpr OperandLayout layout(Operand a, Operand b, Operand c, Operand d, Operand e) {
  return {5, {a, b, c, d, e}};
}
constexpr OperandLayout layout(Operand a, Operand b, Operand c, Operand d, Operand e, Operand f) {
  return {6, {a, b, c, d, e, f}};
}

// Index [category - 2][op - 1].
constexpr OperandLayout kLayouts[3][9] = {
    {
        layout(P(3), P(5), P(7), P(8)),                // 21 translate by a difference
        layout(P(3), P(5), L(7)),                      // 22 add a vector, store its label
        layout(P(3), P(7), P(8)),                      // 23 quarter turn
        layout(P(3), P(5), P(7), P(8)),                // 24 foot of the perpendicular
        layout(P(3), N(5), N(7)),                      // 25 point from two values
        layout(P(3), P(5), P(7), P(8), P(10), P(11)),  // 26 distance in a direction
        layout(P(3), P(4), P(6), P(7)),                // 27 translate by a difference
        layout(V(3), P(5), P(6)),                      // 28 vector from two points
        layout(V(3), N(6)),                            // 29 angle from degrees
    },
    {
        layout(),                        // 31 label with index (text operands)
        layout(),                        // 32
        layout(),                        // 33
        layout(),                        // 34
        layout(),                        // 35
        layout(P(3), P(5)),              // 36 copy a point
        layout(),                        // 37 vector letters
        layout(V(3), V(5), V(7)),        // 38 sum of absolute lengths
        layout(P(3), V(5), P(7), P(8)),  // 39 length along a ray
    },
    {
        layout(P(3), P(5), P(6), P(8), P(9)),         // 41 two lines
        layout(P(4), L(6), P(8), P(9), L(11)),        // 42 two circles, one branch
        layout(P(3), P(4), P(6), P(8), P(9), P(11)),  // 43 two circles, both points
        layout(P(3), P(4), P(6), P(7), P(9), P(10)),  // 44 line and circle
        layout(P(3), P(5), P(6), P(7)),               // 45 angle bisector
        layout(P(3), P(4), P(5), P(7), P(8), P(9)),   // 46 similar triangle
        layout(P(3), P(5), P(6), P(7)),               // 47 length onto a ray
        layout(V(3), V(5)),                           // 48 copy an angle
        layout(P(3), P(4), P(7)),                     // 49 midpoint
    },
};

}  // namespace

const OperandLayout& operandLayout(int category, int op) { return kLayouts[category - 2][op - 1]; }

const char* bankName(Bank b) {
  switch (b) {
    case Bank::kPoint:
      return "point register";
    case Bank::kVector:
      return "vector register";
    case Bank::kValue:
      return "value register";
    case Bank::kLabel:
      return "vector register with label position";
  }
  return "register";
}

}  // namespace pm::ops
